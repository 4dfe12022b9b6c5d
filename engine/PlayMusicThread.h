#ifndef PLAYMUSICTHREAD_H
#define PLAYMUSICTHREAD_H

#include "AudioOutput.h"
#include "PassSleeper.h"

#include <QMutex>
#include <QString>
#include <QThread>
#include <qwindowdefs.h>

#include <atomic>

// Plays one audio file at a time on a thread of its own and reports the
// start and the end of every play. run() polls every 100 ms and does at most
// one thing per pass: start the file handed over, or notice that it ended.
class PlayMusicThread : public QThread
{
    Q_OBJECT

public:
    explicit PlayMusicThread(WId windowHandle);
    ~PlayMusicThread() override;

    // Hands over the next file; dropped while a file plays. An empty path is
    // the same as none.
    void SetMusicFile(const QString &path);
    // Cuts the current play short; does nothing while idle, even when a file
    // has been handed over and not yet started.
    void StopMusic();
    // Like StopMusic(), but also withdraws a file handed over and not yet
    // started. Returns true when it withdrew one: that file reports nothing.
    bool CancelMusic();
    void RequestQuit();
    void SetVolume(float level);
    float GetVolume();

signals:
    // Once per play attempt: the path when the file plays, "" when it failed to start.
    void MusicStarted(QString message);
    // Once per play attempt, when it ended, failed or was stopped.
    void MusicEnded();

protected:
    void run() override;

private:
    bool IsPlaying() const;
    void FreeStream();
    bool StartStream(const QString &path);

    std::atomic_bool quitRequested{false};
    // Set last thing in run(), read after wait(): orders everything run() did
    // before the destructor in a way ThreadSanitizer can see (QThread::wait()
    // synchronises inside the uninstrumented Qt library).
    std::atomic_bool runReturned{false};

    // Shared with the threads that hand over files, guarded by mutex.
    QMutex mutex;
    PassSleeper sleeper; // woken by a new file, a stop, a quit or the end of the music
    bool stopRequested = false;
    QString fileName;
    int state = 0; // 0 = idle, 1 = playing (started, end not yet reported)

    // Touched only by run() and, after it has returned, the destructor.
    AudioOutput::Stream stream = 0;
};

#endif
