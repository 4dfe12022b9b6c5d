#ifndef WAKESIGNAL_H
#define WAKESIGNAL_H

#include <QSemaphore>

#include <atomic>

// How a worker thread sleeps until something happens: another thread (also
// the audio callback) calls wake(), or the time limit passes. wake() takes no
// lock: an atomic flag says a wake is pending and a semaphore (a futex on
// Linux) ends the sleep, so it is safe from the audio thread. A wake that
// comes while the worker is busy ends its next wait at once; the worker looks
// at its state after each wait, so an early or spurious return is harmless.
// One thread, the owner, waits on it.
class WakeSignal
{
public:
    WakeSignal() = default;
    WakeSignal(const WakeSignal &) = delete;
    WakeSignal &operator=(const WakeSignal &) = delete;

    // Ends the current or the next wait.
    void wake()
    {
        if (!pending.exchange(true, std::memory_order_acq_rel))
            semaphore.release(); // else one is pending already
    }

    // Waits until woken or ms milliseconds have passed (negative: no limit).
    void wait(int ms)
    {
        if (semaphore.tryAcquire(1, ms < 0 ? -1 : ms))
            pending.store(false, std::memory_order_release);
    }

private:
    std::atomic_bool pending {false};
    QSemaphore semaphore;
};

#endif
