#include "PlayMusicThread.h"

#include "VerseLoader.h"

#include <QMutexLocker>

namespace {
constexpr unsigned long PassMs = 100;
// With no file to play, every piece of work wakes the loop (a new file, a
// quit), so an idle pass need not come round ten times a second: it only
// guards against a wake-up that never came.
constexpr unsigned long IdlePassMs = 1000;
} // namespace

PlayMusicThread::PlayMusicThread(WId windowHandle)
{
    AudioOutput::Init(static_cast<quintptr>(windowHandle));
    // The start and the end of a verse are noticed at once.
    AudioOutput::SetMusicFinishedCallback([this] { sleeper.wake(); });
}

PlayMusicThread::~PlayMusicThread()
{
    // Normally run() has returned already; never leave a running thread behind.
    RequestQuit();
    wait();
    runReturned.load(std::memory_order_acquire);
    AudioOutput::SetMusicFinishedCallback(nullptr);
    FreeStream();
    loader.reset(); // a decoding that stalls is left behind, not waited for
    prepared.reset();
    AudioOutput::Free();
}

void PlayMusicThread::SetMusicFile(const QString &path)
{
    SetMusicFileAfterGap(path, -1);
}

void PlayMusicThread::SetMusicFileAfterGap(const QString &path, qint64 gap)
{
    {
        const QMutexLocker locker(&mutex);
        if (state != 0)
            return;
        fileName = path;
        gapFrames = gap;
    }
    sleeper.wake();
}

void PlayMusicThread::PrepareMusicFile(const QString &path)
{
    {
        const QMutexLocker locker(&mutex);
        preparePath = path;
    }
    sleeper.wake();
}

void PlayMusicThread::StopMusic()
{
    {
        const QMutexLocker locker(&mutex);
        if (state != 1)
            return;
        stopRequested = true;
    }
    sleeper.wake();
}

bool PlayMusicThread::CancelMusic()
{
    const QMutexLocker locker(&mutex);
    if (state == 1) {
        stopRequested = true;
        sleeper.wake();
        return false;
    }
    if (fileName.isEmpty())
        return false;
    fileName.clear();
    return true;
}

qint64 PlayMusicThread::LastEndFrame()
{
    const QMutexLocker locker(&mutex);
    return lastEndFrame;
}

void PlayMusicThread::RequestQuit()
{
    quitRequested = true;
    sleeper.wake();
}

void PlayMusicThread::SetVolume(float level)
{
    AudioOutput::SetVolume(level);
}

float PlayMusicThread::GetVolume()
{
    return AudioOutput::GetVolume();
}

void PlayMusicThread::run()
{
    const auto wake = [this] { sleeper.wake(); };
    while (!quitRequested) {
        sleeper.beginPass();
        Action action = Action::Nothing;
        QString message;
        bool idle = false;
        unsigned long sleepMs = PassMs;
        {
            const QMutexLocker locker(&mutex);
            if (!preparePath.isEmpty()) {
                if (!prepared || prepared->path() != preparePath)
                    prepared = std::make_unique<VerseLoader>(preparePath, wake);
                preparePath.clear();
            }
            if (state == 0 && !fileName.isEmpty()) {
                if (!loader || loader->path() != fileName) {
                    if (prepared && prepared->path() == fileName)
                        loader = std::move(prepared);
                    else
                        loader = std::make_unique<VerseLoader>(fileName, wake);
                    loadClock.start();
                }
                // Opening and decoding run on the loader's thread, never
                // under this lock.
                if (loader->finished() || loadClock.elapsed() >= LoadBudgetMs)
                    action = StartLoaded(message);
            } else if (state == 0) {
                loader.reset(); // withdrawn
            } else if (state == 1) {
                action = CheckPlaying(message, sleepMs);
            }
            idle = state == 0 && fileName.isEmpty();
        }
        if (action == Action::Started || action == Action::StartedAndEnded)
            emit MusicStarted(message);
        if (action == Action::Ended || action == Action::StartedAndEnded)
            emit MusicEnded();
        if (quitRequested)
            break;
        sleeper.sleep(idle ? IdlePassMs : sleepMs);
    }
    runReturned.store(true, std::memory_order_release);
}

PlayMusicThread::Action PlayMusicThread::StartLoaded(QString &message)
{
    // Not decoded within the budget: as good as missing (its thread is left behind).
    const std::shared_ptr<const AudioClip> clip = loader->finished() ? loader->clip() : nullptr;
    loader.reset();
    FreeStream();
    playingPath = fileName;
    fileName.clear();
    stopRequested = false;
    state = 1;
    stream = AudioOutput::StreamCreateClip(clip);
    const qint64 wanted = gapFrames >= 0 && lastEndFrame >= 0 ? lastEndFrame + gapFrames : 0;
    failed = stream == 0 || !AudioOutput::ChannelPlayAt(stream, wanted);
    startReported = failed;
    if (!failed) {
        startFrame = AudioOutput::ChannelStartFrame(stream);
        endFrame = startFrame + clip->frames();
        return Action::Nothing; // reported when the output reaches it
    }
    // A verse that does not play reports a failed start now and its end at
    // the next pass, about 100 ms of silence, as a missing file always has.
    message.clear();
    loadClock.start();
    return Action::Started;
}

PlayMusicThread::Action PlayMusicThread::CheckPlaying(QString &message, unsigned long &sleepMs)
{
    bool ended = false;
    if (failed) // a failed start ends after one pass of silence, whatever woke the loop
        ended = stopRequested || loadClock.elapsed() >= qint64(PassMs);
    else
        ended = stopRequested
            || (!AudioOutput::ChannelIsActive(stream) && AudioOutput::MsUntilFrame(endFrame) <= 0);
    bool starts = false;
    if (!startReported
        && (ended
            || (AudioOutput::ChannelHasStarted(stream)
                && AudioOutput::MsUntilFrame(startFrame) <= 0))) {
        startReported = true;
        starts = true;
        message = playingPath;
    }
    if (ended) {
        lastEndFrame = failed || stopRequested ? AudioOutput::PlayedFrames() : endFrame;
        FreeStream();
        state = 0;
        failed = false;
        stopRequested = false;
        return starts ? Action::StartedAndEnded : Action::Ended;
    }
    if (!failed) {
        // Sleep until the frame is due; the callback that renders it wakes
        // the loop, which then waits out the rest of the buffer before it.
        const qint64 until = AudioOutput::MsUntilFrame(startReported ? endFrame : startFrame);
        sleepMs = until > 0 ? static_cast<unsigned long>(qMin<qint64>(until, PassMs)) : PassMs;
    }
    return starts ? Action::Started : Action::Nothing;
}

void PlayMusicThread::FreeStream()
{
    if (stream != 0) {
        AudioOutput::ChannelStop(stream);
        AudioOutput::StreamFree(stream);
        stream = 0;
    }
}
