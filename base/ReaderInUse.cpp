#include "ReaderInUse.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

QMutex readerMutex;
LibraryReader current; // guarded by readerMutex

} // namespace

LibraryReader ReaderInUse::get()
{
    const QMutexLocker lock(&readerMutex);
    return current;
}

void ReaderInUse::set(const LibraryReader &reader)
{
    const QMutexLocker lock(&readerMutex);
    current = reader;
}
