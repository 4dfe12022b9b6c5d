#include "PlayMusicThread.h"

#include "AudioShapingStore.h"
#include "VerseLoader.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {
// Without an output a failed verse still lasts this long.
constexpr int MissingVerseMs = 100;
// On a real device a verse waits for the clock with this guard: an output
// whose callbacks stopped (its server gone) is looked at again once a second.
constexpr int ClockGuardMs = 1000;
} // namespace

PlayMusicThread::PlayMusicThread(WId windowHandle, AudioOutput &audioOutput,
                                 const AudioShapingStore &shaping)
    : output(audioOutput)
    , shapingInForce(shaping)
{
    output.Init(static_cast<quintptr>(windowHandle));
    clockAlarm = output.AddClockAlarm(&wakeSignal);
}

PlayMusicThread::~PlayMusicThread()
{
    // Normally run() has returned already; never leave a running thread behind.
    RequestQuit();
    wait();
    runReturned.load(std::memory_order_acquire);
    output.RemoveClockAlarm(clockAlarm);
    FreeStream();
    loader.reset(); // joins the decoding threads still at work
    retired.clear();
    output.Free();
}

void PlayMusicThread::SetMusicFile(const QString &path)
{
    SetMusicFileAfterGap(path, -1);
}

void PlayMusicThread::SetMusicFileAfterGap(const QString &path, qint64 gap)
{
    SetMusicFileAfterGapUntil(path, gap, -1, 1.0);
}

void PlayMusicThread::SetMusicFileAfterGapUntil(const QString &path, qint64 gap, qint64 until,
                                                double speed)
{
    {
        const QMutexLocker locker(&mutex);
        if (state != 0)
            return;
        fileName = path;
        gapFrames = gap;
        untilFileFrames = until;
        untilSpeed = speed > 0.0 ? speed : 1.0;
    }
    wakeSignal.wake();
}

void PlayMusicThread::StopMusic()
{
    {
        const QMutexLocker locker(&mutex);
        if (state != 1)
            return;
        stopRequested = true;
    }
    wakeSignal.wake();
}

bool PlayMusicThread::CancelMusic()
{
    const QMutexLocker locker(&mutex);
    if (state == 1) {
        stopRequested = true;
        wakeSignal.wake();
        return false;
    }
    if (fileName.isEmpty())
        return false;
    fileName.clear();
    wakeSignal.wake();
    return true;
}

qint64 PlayMusicThread::LastEndFrame()
{
    const QMutexLocker locker(&mutex);
    return lastEndFrame;
}

PlayMusicThread::VerseStart PlayMusicThread::LastStart()
{
    const QMutexLocker locker(&mutex);
    return lastStart;
}

void PlayMusicThread::RequestQuit()
{
    quitRequested = true;
    wakeSignal.wake();
}

void PlayMusicThread::SetVolume(float level)
{
    output.SetVolume(level);
}

float PlayMusicThread::GetVolume()
{
    return output.GetVolume();
}

void PlayMusicThread::run()
{
    const auto wake = [this] { wakeSignal.wake(); };
    while (!quitRequested) {
        Action action = Action::Nothing;
        QString message;
        int waitMs = -1; // until woken
        {
            const QMutexLocker locker(&mutex);
            if (state == 0 && !fileName.isEmpty()) {
                if (!loader || loader->path() != fileName) {
                    Retire(loader);
                    loader = std::make_unique<VerseLoader>(fileName, shapingInForce.get(), wake);
                    loadClock.start();
                    loadDeadlineMs = MsUntilDue() + LoadBudgetMs;
                }
                // Opening and decoding run on the loader's thread, never
                // under this lock.
                if (loader->finished() || loadClock.elapsed() >= loadDeadlineMs)
                    action = StartLoaded(message, waitMs);
                else
                    waitMs = int(loadDeadlineMs - loadClock.elapsed());
            } else if (state == 0) {
                Retire(loader); // withdrawn
            } else if (state == 1) {
                action = CheckPlaying(message, waitMs);
            }
        }
        if (action == Action::Started || action == Action::StartedAndEnded)
            emit MusicStarted(message);
        if (action == Action::Ended || action == Action::StartedAndEnded)
            emit MusicEnded();
        JoinFinishedLoaders();
        if (quitRequested)
            break;
        if (action == Action::Ended || action == Action::StartedAndEnded)
            waitMs = 0; // a file handed over meanwhile starts at once
        wakeSignal.wait(waitMs);
    }
    runReturned.store(true, std::memory_order_release);
}

PlayMusicThread::Action PlayMusicThread::StartLoaded(QString &message, int &waitMs)
{
    // Not decoded within the budget: as good as missing.
    std::shared_ptr<const AudioClip> clip = loader->finished() ? loader->clip() : nullptr;
    if (clip && untilFileFrames >= 0) {
        // Where the moment lies in the verse as shaped: after the trimmed
        // lead, at the reading speed.
        const double kept =
            static_cast<double>(std::max<qint64>(untilFileFrames - clip->trimmedLeadFrames, 0));
        clip = StoppedAt(*clip, std::llround(kept / untilSpeed));
    }
    Retire(loader);
    FreeStream();
    playingPath = fileName;
    fileName.clear();
    stopRequested = false;
    state = 1;
    startReported = false;
    stream = output.StreamCreateClip(clip);
    const qint64 wanted = gapFrames >= 0 && lastEndFrame >= 0 ? lastEndFrame + gapFrames : 0;
    failed = stream == 0 || !output.ChannelPlayAt(stream, wanted);
    onClock = !failed || output.IsOpen();
    if (!failed) {
        startFrame = output.ChannelStartFrame(stream);
        endFrame = startFrame + clip->frames();
    } else if (onClock) {
        // A verse that does not play takes the place of a short one, so the
        // pauses around it are what they would be around any verse.
        startFrame = std::max(wanted, output.PlayedFrames());
        endFrame = startFrame + MissingVerseFrames;
    } else {
        loadClock.start(); // no output, no clock: 100 ms of the wall clock
    }
    lastStart = {onClock ? startFrame : output.PlayedFrames(),
                 failed ? 0 : clip->trimmedLeadFrames};
    return CheckPlaying(message, waitMs);
}

std::shared_ptr<const AudioClip> PlayMusicThread::StoppedAt(const AudioClip &whole, qint64 frame)
{
    // A copy made here, on the player's thread: the audio thread only ever
    // sees a finished clip, so the stop costs it nothing.
    auto cut = std::make_shared<AudioClip>();
    cut->trimmedLeadFrames = whole.trimmedLeadFrames;
    const qint64 stop = std::clamp<qint64>(frame, 0, whole.frames());
    const qint64 end = std::min(stop + FadeOutFrames, whole.frames());
    cut->samples.assign(whole.samples.begin(),
                        whole.samples.begin()
                            + static_cast<std::ptrdiff_t>(end * AudioClip::Channels));
    for (qint64 f = stop; f < end; ++f) {
        // A straight fade: no click, and silence FadeOutFrames after the stop.
        const float gain =
            1.0f - static_cast<float>(f - stop + 1) / static_cast<float>(FadeOutFrames);
        for (int channel = 0; channel < AudioClip::Channels; ++channel)
            cut->samples[static_cast<size_t>(f * AudioClip::Channels + channel)] *= gain;
    }
    return cut;
}

qint64 PlayMusicThread::MsUntilDue() const
{
    // A verse handed over ahead of its frame (the reading does so half a
    // second early) has its budget from that frame on. Without a wall clock
    // (a test's output) the frames are no measure of the time a file takes.
    if (gapFrames < 0 || lastEndFrame < 0 || !output.IsOpen() || !output.HasWallClock())
        return 0;
    return std::max<qint64>(0, output.MsUntilFrame(lastEndFrame + gapFrames));
}

bool PlayMusicThread::FrameSounded(qint64 frame) const
{
    return output.PlayedFrames() >= frame && output.MsUntilFrame(frame) <= 0;
}

PlayMusicThread::Action PlayMusicThread::CheckPlaying(QString &message, int &waitMs)
{
    bool ended = stopRequested;
    if (!ended)
        ended = onClock ? FrameSounded(endFrame) : loadClock.elapsed() >= MissingVerseMs;
    bool starts = false;
    if (!startReported && (ended || !onClock || FrameSounded(startFrame))) {
        startReported = true;
        starts = true;
        message = failed ? QString() : playingPath;
    }
    if (ended) {
        lastEndFrame = stopRequested || !onClock ? output.PlayedFrames() : endFrame;
        output.SetClockAlarm(clockAlarm, -1);
        FreeStream();
        state = 0;
        failed = false;
        stopRequested = false;
        return starts ? Action::StartedAndEnded : Action::Ended;
    }
    if (!onClock) {
        waitMs = int(std::max<qint64>(1, MissingVerseMs - loadClock.elapsed()));
    } else {
        // Sleep until the device renders the frame waited for, then until
        // its moment within the buffer.
        const qint64 next = startReported ? endFrame : startFrame;
        output.SetClockAlarm(clockAlarm, next);
        if (output.PlayedFrames() >= next)
            waitMs = int(std::clamp<qint64>(output.MsUntilFrame(next), 1, ClockGuardMs));
        else
            waitMs = output.HasWallClock() ? ClockGuardMs : -1;
    }
    return starts ? Action::Started : Action::Nothing;
}

void PlayMusicThread::FreeStream()
{
    if (stream != 0) {
        output.ChannelStop(stream);
        output.StreamFree(stream);
        stream = 0;
    }
}

void PlayMusicThread::Retire(std::unique_ptr<VerseLoader> &old)
{
    if (old)
        retired.push_back(std::move(old));
}

void PlayMusicThread::JoinFinishedLoaders()
{
    std::erase_if(retired, [](const std::unique_ptr<VerseLoader> &l) { return l->finished(); });
}
