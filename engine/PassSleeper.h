#ifndef PASSSLEEPER_H
#define PASSSLEEPER_H

#include <condition_variable>
#include <mutex>

// The sleep at the end of a worker thread's pass. It lasts the pass length
// unless another thread has work for the loop: then the loop makes its next
// pass at once, so a request or the end of a verse is not left waiting for
// the rest of a 100 ms sleep. A pass that only counts a pause is never cut
// short, because nothing wakes it.
//
// Standard mutex and condition variable rather than Qt's: QWaitCondition
// releases a QMutex inside the (uninstrumented) Qt library, which
// ThreadSanitizer then reports as a double lock.
class PassSleeper
{
public:
    // Called at the top of a pass, before the loop looks for work: a wake
    // from before it is for work this pass sees anyway.
    void beginPass();

    // Sleeps up to ms milliseconds; returns early if wake() was called
    // since beginPass() or is called during this sleep.
    void sleep(unsigned long ms);

    // Ends the current or the next sleep. Safe from any thread, also from
    // the audio library's callbacks: it only takes its own lock.
    void wake();

private:
    std::mutex mutex;
    std::condition_variable condition;
    bool woken = false;
};

#endif
