#include "AudioShapingStore.h"

#include "GuardedValue.h"

namespace {
GuardedValue<AudioShaping> current;
} // namespace

AudioShaping AudioShapingStore::get()
{
    return current.get();
}

void AudioShapingStore::set(const AudioShaping &shaping)
{
    current.set(shaping);
}
