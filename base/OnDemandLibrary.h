#ifndef ONDEMANDLIBRARY_H
#define ONDEMANDLIBRARY_H

#include <atomic>

// A shared library the program does not link but opens the first time one
// of its functions is called: every library linked is loaded and relocated
// before main() runs, on the window's path, even when it is needed only
// later or not at all. The functions the program calls are defined under the
// library's own names (QTUTAKAZE_FORWARD below), each passing the call on to
// the library's, so the code calling them reads as plain library code.
// Without the library each function gives a failure value of its own, and
// the first attempt says in the log which library could not be loaded.
//
// Any thread may call: no lock is held while the library opens. Two first
// callers may both open it; the system counts the two openings of one file.
class OnDemandLibrary
{
public:
    // fileName: with its interface number ("libsndfile.so.1"), the name
    // the library's runtime package installs.
    explicit constexpr OnDemandLibrary(const char *fileName)
        : name(fileName)
    {
    }
    OnDemandLibrary(const OnDemandLibrary &) = delete;
    OnDemandLibrary &operator=(const OnDemandLibrary &) = delete;

    // Opens the library unless it is open or known to be missing; true when
    // it is open. Also what warms it up ahead of its first use.
    bool load();
    // True once it has been opened; never opens it.
    bool isLoaded() const { return handle.load(std::memory_order_acquire) != nullptr; }

    // The library's function of that name (loading the library first), or
    // null without the library or the function.
    template<typename Function>
    Function *resolve(const char *symbol)
    {
        return reinterpret_cast<Function *>(address(symbol));
    }

private:
    void *address(const char *symbol);

    const char *const name;
    std::atomic<void *> handle {nullptr};
    std::atomic_bool missing {false}; // tried once and not found: not tried again
};

// Defines `name` with the library's signature (from its header), passing
// the call on to the library's function of that name, which is looked up
// once; `failed` is what it gives without the library (void() for a function
// that returns nothing). No lock is held during the look-up either: two
// first callers may both look it up and find the same function.
#define QTUTAKAZE_FORWARD(library, result, name, parameters, arguments, failed)                    \
    result name parameters                                                                         \
    {                                                                                              \
        using Function = decltype(::name);                                                         \
        static std::atomic<Function *> found {nullptr};                                            \
        Function *function = found.load(std::memory_order_acquire);                                \
        if (!function) {                                                                           \
            function = (library).resolve<Function>(#name);                                         \
            found.store(function, std::memory_order_release);                                      \
        }                                                                                          \
        return function ? function arguments : failed;                                             \
    }

#endif
