#include "AudioShapingStore.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

QMutex storeMutex;
AudioShaping current; // guarded by storeMutex

} // namespace

AudioShaping AudioShapingStore::get()
{
    const QMutexLocker lock(&storeMutex);
    return current;
}

void AudioShapingStore::set(const AudioShaping &shaping)
{
    const QMutexLocker lock(&storeMutex);
    current = shaping;
}
