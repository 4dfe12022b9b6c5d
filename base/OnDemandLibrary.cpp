#include "OnDemandLibrary.h"

#include <QtGlobal>

#include <dlfcn.h>

bool OnDemandLibrary::load()
{
    if (isLoaded())
        return true;
    if (missing.load(std::memory_order_acquire))
        return false;
    void *const opened = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (!opened) {
        // Said once: without it, every later call fails the same way.
        if (!missing.exchange(true, std::memory_order_acq_rel)) {
            const char *const reason = ::dlerror();
            qWarning("the program could not load %s: %s", name, reason ? reason : "not found");
        }
        return false;
    }
    void *expected = nullptr;
    if (!handle.compare_exchange_strong(expected, opened, std::memory_order_acq_rel))
        ::dlclose(opened); // opened by another thread meanwhile: one opening is kept
    return true;
}

void *OnDemandLibrary::address(const char *symbol)
{
    if (!load())
        return nullptr;
    return ::dlsym(handle.load(std::memory_order_acquire), symbol);
}
