#ifndef VIRTUALTIME_H
#define VIRTUALTIME_H

#include "AudioOutput.h"
#include "FakeAudioDevice.h"
#include "OtherThreads.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>
#include <memory>

// Runs the engine on an output clock that the test drives: a FakeAudioDevice
// under an audio output of its own, pumped 10 ms at a time, each step only once the
// engine's threads have done all they had to (otherThreadsAsleep). A reading of
// a minute then takes a fraction of a second and is timed to the step.
class VirtualTime
{
public:
    static constexpr int StepFrames = AudioClip::Rate / 100;

    // From now on the output plays on a new fake device.
    void install()
    {
        auto fake = std::make_unique<FakeAudioDevice>();
        device = fake.get();
        output.useDevice(std::move(fake));
    }

    // From now on the output plays on the system's device in real time.
    void useRealDevice()
    {
        device = nullptr;
        output.useDevice(makeSystemAudioDevice());
    }

    // Milliseconds of output played.
    qint64 nowMs() const { return output.PlayedFrames() * 1000 / AudioClip::Rate; }

    // Waits on the wall clock until every engine thread sleeps, and delivers
    // the signals they emitted to this thread's objects. False after 10 s.
    static bool settle()
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 10000) {
            QCoreApplication::processEvents();
            if (otherThreadsAsleep()) {
                QCoreApplication::processEvents();
                return true;
            }
            QThread::usleep(100);
        }
        return false;
    }

    // Lets output time pass until `done` holds; false if it does not within
    // limitMs of output time (or the engine never settles).
    bool advanceUntil(const std::function<bool()> &done, qint64 limitMs)
    {
        const qint64 until = nowMs() + limitMs;
        if (!settle())
            return false;
        while (!done()) {
            if (nowMs() >= until)
                return false;
            device->pump(StepFrames);
            if (!settle())
                return false;
        }
        return true;
    }

    void advance(qint64 ms)
    {
        advanceUntil([] { return false; }, ms);
    }

    // The engine under test plays on it; it outlives the engine's threads.
    AudioOutput output;
    FakeAudioDevice *device = nullptr; // owned by the output
};

#endif
