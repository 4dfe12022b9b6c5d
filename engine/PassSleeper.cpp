#include "PassSleeper.h"

#include <chrono>

void PassSleeper::beginPass()
{
    const std::lock_guard<std::mutex> lock(mutex);
    woken = false;
}

void PassSleeper::sleep(unsigned long ms)
{
    std::unique_lock<std::mutex> lock(mutex);
    condition.wait_for(lock, std::chrono::milliseconds(ms), [this] { return woken; });
    woken = false;
}

void PassSleeper::wake()
{
    {
        const std::lock_guard<std::mutex> lock(mutex);
        woken = true;
    }
    condition.notify_all();
}
