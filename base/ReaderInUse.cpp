#include "ReaderInUse.h"

#include "GuardedValue.h"

namespace {
GuardedValue<LibraryReader> current;
} // namespace

LibraryReader ReaderInUse::get()
{
    return current.get();
}

void ReaderInUse::set(const LibraryReader &reader)
{
    current.set(reader);
}
