#ifndef QUICKAUDIODEVICE_H
#define QUICKAUDIODEVICE_H

#include "AudioClip.h"
#include "AudioDevice.h"
#include "AudioMixer.h"
#include "AudioOutput.h"
#include "OtherThreads.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

// An output without sound that plays many times faster than real time, for
// window and dialog tests: a reading's seconds of verses and pauses pass in
// milliseconds, on the same frames of the output clock as on a sound card.
//
// It takes frames on the GUI thread's event loop, 10 ms at a time and only
// while every engine thread sleeps (otherThreadsAsleep), so the engine never
// falls behind its clock, however loaded the machine. Output time therefore
// passes only while the test waits (QTRY_*, qWait, a signal spy's or a modal
// dialog's loop), and at most `speed` times as fast as the wall clock there:
// a state that lasts a second of output is still seen by a QTRY_* that polls
// every 50 ms, and a test's own steps between two waits take no output time.
class QuickAudioDevice : public AudioDevice
{
public:
    static constexpr int StepFrames = AudioClip::Rate / 100;
    static constexpr int DefaultSpeed = 20;

    // From now on the test's output plays on a quick device. Call it with
    // the application made.
    static void install(AudioOutput &output, int speed = DefaultSpeed)
    {
        output.useDevice(std::make_unique<QuickAudioDevice>(speed));
    }

    // Milliseconds of that output played so far.
    static qint64 nowMs(const AudioOutput &output)
    {
        return output.PlayedFrames() * 1000 / AudioClip::Rate;
    }

    explicit QuickAudioDevice(int speed)
        : speed(speed)
        , scratch(static_cast<size_t>(StepFrames) * AudioClip::Channels)
    {
        // The application owns the timer: it goes with the event loop it
        // runs on, whichever of the two is destroyed first.
        timer = new QTimer(QCoreApplication::instance());
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(1);
        QObject::connect(timer, &QTimer::timeout, timer, [this] { tick(); });
        sinceTick.start();
        timer->start();
    }
    ~QuickAudioDevice() override { delete timer.data(); }

    bool open(AudioMixer *target) override
    {
        const std::lock_guard<std::mutex> lock(mutex);
        mixer = target;
        return true;
    }
    void close() override
    {
        const std::lock_guard<std::mutex> lock(mutex);
        mixer = nullptr;
    }
    bool isOpen() const override
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return mixer != nullptr;
    }
    bool hasWallClock() const override { return false; }

private:
    void tick()
    {
        // The wall time since the last tick, times the speed, is what may be
        // played now; a thread that was kept from running banks none of it.
        const qint64 wallUs = std::min<qint64>(sinceTick.nsecsElapsed() / 1000, MaxTickUs);
        sinceTick.restart();
        owedFrames = std::min<qint64>(owedFrames + wallUs * speed * AudioClip::Rate / 1000000,
                                      qint64(MaxTickUs) * speed * AudioClip::Rate / 1000000);
        // An engine busy for a whole second (a verse decoded on a machine
        // that is that loaded) no longer holds the clock: a sound card's
        // would not wait either.
        const bool quiet = otherThreadsAsleep();
        if (quiet)
            busySince.invalidate();
        else if (!busySince.isValid())
            busySince.start();
        const bool stalled = busySince.isValid() && busySince.elapsed() >= StallMs;
        if (stalled && !stallReported) {
            qWarning("QuickAudioDevice: the engine was busy for %d ms; output time goes on",
                     StallMs);
            stallReported = true;
        }
        const std::lock_guard<std::mutex> lock(mutex);
        // A verse handed over, a wake from the last step: the engine's to
        // take before the clock moves on.
        while (mixer && owedFrames >= StepFrames && (stalled || quiet)) {
            mixer->render(scratch.data(), StepFrames);
            owedFrames -= StepFrames;
            if (stalled)
                break;
        }
    }

    static constexpr int MaxTickUs = 5000;
    static constexpr int StallMs = 1000;

    const int speed;
    QPointer<QTimer> timer;
    QElapsedTimer sinceTick;
    QElapsedTimer busySince; // invalid while the engine sleeps
    bool stallReported = false;
    qint64 owedFrames = 0;
    std::vector<float> scratch;
    mutable std::mutex mutex; // mixer: open and close come from any thread
    AudioMixer *mixer = nullptr;
};

#endif
