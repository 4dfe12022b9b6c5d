#ifndef PLAYMUSICTHREAD_H
#define PLAYMUSICTHREAD_H

#include "AudioOutput.h"
#include "WakeSignal.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QString>
#include <QThread>
#include <qwindowdefs.h>

#include <atomic>
#include <memory>
#include <vector>

class AudioShapingStore;
class VerseLoader;

// Plays one recording at a time on a thread of its own and reports the
// start and the end of every play. A file handed over is decoded whole on a
// loader thread first, then placed on the output clock; the start and the
// end are reported when the output reaches the verse's first frame and the
// frame after its last one (timed between the device's callbacks). The
// thread sleeps until something happens: a file or a stop handed over, a
// decoded file, or the frame it waits for rendered by the device.
// A file that is not ready within a second of being due (its frame on the
// output clock, or the hand-over for one to start at once) plays as
// missing: a verse of 100 ms of silence in its place on the clock.
class PlayMusicThread : public QThread
{
    Q_OBJECT

public:
    // How long a file may take to decode once it is due; a file handed over
    // ahead of its frame has that much more.
    static constexpr int LoadBudgetMs = 1000;
    // The place a missing or unplayable verse takes on the clock.
    static constexpr qint64 MissingVerseFrames = AudioClip::Rate / 10;

    // Verses are shaped as the shaping in force says when each is handed
    // over; it must outlive the player.
    PlayMusicThread(WId windowHandle, AudioOutput &output, const AudioShapingStore &shaping);
    ~PlayMusicThread() override;

    // Hands over the next file, to start as soon as it is decoded; dropped
    // while a file plays. An empty path is the same as none.
    void SetMusicFile(const QString &path);
    // Like SetMusicFile(), but the file starts exactly gapFrames (of the
    // output clock, 44100 a second) after the last sample of the verse that
    // played last, or at once if that moment has passed.
    void SetMusicFileAfterGap(const QString &path, qint64 gapFrames);
    // Like SetMusicFileAfterGap(), but the verse stops untilFileFrames into
    // the recording as it is on disk (at 44100 a second, before trimming and
    // the reading speed, which it is played at), faded out over FadeOutFrames
    // from there: the sound is over FadeOutFrames after that moment, and the
    // end is reported then.
    void SetMusicFileAfterGapUntil(const QString &path, qint64 gapFrames, qint64 untilFileFrames,
                                   double speed);
    static constexpr qint64 FadeOutFrames = AudioClip::Rate * 30 / 1000;
    // Cuts the current play short; does nothing while idle, even when a file
    // has been handed over and not yet started.
    void StopMusic();
    // Like StopMusic(), but also withdraws a file handed over and not yet
    // started. Returns true when it withdrew one: that file reports nothing.
    bool CancelMusic();
    // The output frame at which the last play attempt ended: the exact end
    // of a verse played out or of the place a missing one took; the moment
    // its end was reported for one that was stopped. -1 before any.
    // SetMusicFileAfterGap() counts from it.
    qint64 LastEndFrame();
    // Where the last play attempt began: the output frame of its first
    // sample (or the place of a missing verse; -1 before any) and the frames
    // the shaping trimmed from the recording's start.
    struct VerseStart
    {
        qint64 frame = -1;
        qint64 trimmedLeadFrames = 0;
    };
    VerseStart LastStart();
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
    enum class Action { Nothing, Started, Ended, StartedAndEnded };

    Action StartLoaded(QString &message, int &waitMs);
    Action CheckPlaying(QString &message, int &waitMs);
    // The device has rendered the frame and its moment has come.
    bool FrameSounded(qint64 frame) const;
    // Until the file handed over is due; the caller holds mutex.
    qint64 MsUntilDue() const;
    void FreeStream();
    // The verse stopped at `frame`, faded out from there.
    static std::shared_ptr<const AudioClip> StoppedAt(const AudioClip &whole, qint64 frame);
    // Keeps a loader no longer needed until its thread has finished.
    void Retire(std::unique_ptr<VerseLoader> &loader);
    void JoinFinishedLoaders();

    std::atomic_bool quitRequested {false};
    // Set last thing in run(), read after wait(): orders everything run() did
    // before the destructor in a way ThreadSanitizer can see (QThread::wait()
    // synchronises inside the uninstrumented Qt library).
    std::atomic_bool runReturned {false};

    AudioOutput &output;
    const AudioShapingStore &shapingInForce;

    // Woken by a new file, a stop, a quit, a decoded file and the clock's alarm.
    WakeSignal wakeSignal;
    int clockAlarm = -1; // the output clock's alarm slot for wakeSignal

    // Shared with the threads that hand over files, guarded by mutex.
    QMutex mutex;
    bool stopRequested = false;
    QString fileName;
    qint64 gapFrames = -1; // -1: at once
    qint64 untilFileFrames = -1; // -1: the whole verse
    double untilSpeed = 1.0;
    int state = 0; // 0 = idle, 1 = playing (started, end not yet reported)
    qint64 lastEndFrame = -1;
    VerseStart lastStart;

    // Touched only by run() and, after it has returned, the destructor.
    std::unique_ptr<VerseLoader> loader; // the file handed over
    std::vector<std::unique_ptr<VerseLoader>> retired; // finishing, to be joined
    QElapsedTimer loadClock; // since the file was handed over, or a failed one began
    qint64 loadDeadlineMs = 0; // on loadClock: a second after the file is due
    AudioOutput::Stream stream = 0;
    QString playingPath;
    qint64 startFrame = 0; // of the verse playing (or the place of a failed one)
    qint64 endFrame = 0;
    bool startReported = false;
    bool failed = false;
    bool onClock = false; // false: a failed verse without an output, timed by loadClock
};

#endif
