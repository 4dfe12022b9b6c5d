#include "PlayMusicThread.h"

#include <QMutexLocker>

namespace {
constexpr unsigned long PassMs = 100;
// With no file to play, every piece of work wakes the loop (a new file, a
// quit), so an idle pass need not come round ten times a second: it only
// guards against a wake-up that never came.
constexpr unsigned long IdlePassMs = 1000;
}

PlayMusicThread::PlayMusicThread(WId windowHandle)
{
    AudioOutput::Init(static_cast<quintptr>(windowHandle));
    // The end of a verse is noticed at once rather than at the next pass.
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
    AudioOutput::Free();
}

void PlayMusicThread::SetMusicFile(const QString &path)
{
    {
        const QMutexLocker locker(&mutex);
        if (state != 0)
            return;
        fileName = path;
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
    while (!quitRequested) {
        sleeper.beginPass();
        enum { Nothing, Started, Ended } action = Nothing;
        QString message;
        bool idle = false;
        {
            QMutexLocker locker(&mutex);
            if (state == 0 && !fileName.isEmpty()) {
                const QString path = fileName;
                // The file is opened under the lock, so that SetMusicFile()
                // and CancelMusic() see the start whole (opening only reads
                // the headers; decoding happens while playing).
                FreeStream();
                message = StartStream(path) ? path : QString();
                stopRequested = false;
                state = 1;
                action = Started;
            } else if (state == 1 && (!IsPlaying() || stopRequested)) {
                FreeStream();
                fileName.clear();
                state = 0;
                action = Ended;
            }
            idle = state == 0 && fileName.isEmpty();
        }
        if (action == Started)
            emit MusicStarted(message);
        else if (action == Ended)
            emit MusicEnded();
        if (quitRequested)
            break;
        sleeper.sleep(idle ? IdlePassMs : PassMs);
    }
    AudioOutput::ThreadEnded();
    runReturned.store(true, std::memory_order_release);
}

bool PlayMusicThread::IsPlaying() const
{
    return AudioOutput::ChannelIsActive(stream);
}

void PlayMusicThread::FreeStream()
{
    if (stream != 0) {
        AudioOutput::ChannelStop(stream);
        AudioOutput::StreamFree(stream);
        stream = 0;
    }
}

bool PlayMusicThread::StartStream(const QString &path)
{
    stream = AudioOutput::StreamCreateFile(path);
    if (stream == 0)
        return false;
    // A stream that was created but did not start stays in stream and is
    // released at the next pass.
    return AudioOutput::ChannelPlay(stream);
}
