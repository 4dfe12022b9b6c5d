#ifndef WAKESIGNAL_H
#define WAKESIGNAL_H

#include <QSemaphore>

#include <atomic>

// How much work the engine's threads have in hand: a thread between two
// waits, a wake not yet taken, a verse being decoded. Zero means every
// engine thread sleeps until the clock or a request moves it, which is when
// a test driving the output clock itself (FakeAudioDevice) may let time go
// on without getting ahead of the engine.
class EngineActivity
{
public:
    static void begin() { count.fetch_add(1, std::memory_order_acq_rel); }
    static void end() { count.fetch_sub(1, std::memory_order_acq_rel); }
    static bool quiet() { return count.load(std::memory_order_acquire) == 0; }

private:
    static inline std::atomic_int count {0};
};

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
    // The owner's first pass (before its first wait) counts as work.
    WakeSignal() { EngineActivity::begin(); }
    ~WakeSignal()
    {
        if (inPass.load())
            EngineActivity::end();
        if (pending.load())
            EngineActivity::end();
    }
    WakeSignal(const WakeSignal &) = delete;
    WakeSignal &operator=(const WakeSignal &) = delete;

    // Ends the current or the next wait.
    void wake()
    {
        EngineActivity::begin(); // counted before it can be taken
        if (pending.exchange(true, std::memory_order_acq_rel)) {
            EngineActivity::end(); // one is pending already
            return;
        }
        semaphore.release();
    }

    // Waits until woken or ms milliseconds have passed (negative: no limit).
    void wait(int ms)
    {
        if (inPass.exchange(false))
            EngineActivity::end();
        const bool woken = semaphore.tryAcquire(1, ms < 0 ? -1 : ms);
        inPass = true;
        EngineActivity::begin();
        if (woken && pending.exchange(false, std::memory_order_acq_rel))
            EngineActivity::end();
    }

    // The owner's last pass is over: it waits no more.
    void finish()
    {
        if (inPass.exchange(false))
            EngineActivity::end();
    }

private:
    std::atomic_bool pending {false};
    std::atomic_bool inPass {true};
    QSemaphore semaphore;
};

#endif
