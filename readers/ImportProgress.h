#ifndef IMPORTPROGRESS_H
#define IMPORTPROGRESS_H

#include <atomic>

// How far an import or a check running on a worker thread has come, and the
// user's wish to stop it. Written by the worker, read and cancelled by the
// window's thread; every field is atomic, so neither waits for the other.
class ImportProgress
{
public:
    void setTotal(int files) { total.store(files); }
    void fileDone() { ++done; }
    int filesDone() const { return done.load(); }
    int filesToDo() const { return total.load(); }

    void cancel() { cancelled.store(true); }
    bool isCancelled() const { return cancelled.load(); }

private:
    std::atomic<int> done {0};
    std::atomic<int> total {0};
    std::atomic<bool> cancelled {false};
};

#endif
