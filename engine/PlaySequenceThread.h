#ifndef PLAYSEQUENCETHREAD_H
#define PLAYSEQUENCETHREAD_H

#include "PassSleeper.h"

#include <QList>
#include <QMutex>
#include <QQueue>
#include <QString>
#include <QThread>
#include <qwindowdefs.h>

#include <atomic>
#include <memory>

class PlayMusicThread;

// Performs a whole reading: given a list of card numbers in reading order, a
// voice and two pause lengths, it has each card read as its upper verse, a
// pause, its lower verse and a pause, and reports every start and end.
// run() is a polling loop (one command per 100 ms pass, no event loop); the
// object itself lives on the GUI thread, where its slots run.
class PlaySequenceThread : public QThread
{
    Q_OBJECT

public:
    enum { STAT_STOP = 0, STAT_MUSIC1, STAT_WAIT1, STAT_MUSIC2, STAT_WAIT2, STAT_PAUSE };
    enum { CMD_START = 1, CMD_PLAYEND, CMD_TIMEOUT, CMD_STOP, CMD_PAUSE };

    explicit PlaySequenceThread(WId windowHandle);
    ~PlaySequenceThread() override;

    // Each request tests the state at the moment of the call and is ignored
    // silently when it does not fit.
    void SetParameters(int voice, int wait1Time, int wait2Time);
    // Takes a copy of the list; refused when empty or during a reading.
    void SetFudaList(QList<int> *list);
    void RequestStart();
    void RequestPause();
    void RequestStop();
    int GetState() const;
    void SetVolume(float level);
    float GetVolume();
    void RequestQuit();

signals:
    void SequencStartded();
    void Music1Starteded(int fudaNum);
    void Music1Ended();
    void Music2Starteded(int fudaNum);
    void Music2Ended();
    void SequenceEnded(int status);

protected:
    void run() override;

private slots:
    void PlayStarted(QString filename);
    void PlayEnded();
    void TimeoutDone();

private:
    // What a transition leaves to be done once the lock is released.
    struct Outcome {
        bool sequenceEnded = false;
        bool startPause = false; // a pause has just begun: count it afresh
        int pauseSeconds = 0;
    };

    QString MakeFilePath(int fudaNum, int part);
    void ResetSequence(Outcome &outcome);
    void ApplyCommand(int command, Outcome &outcome);
    void Resume();
    void PlayCard(int fudaNum, int part);
    void HandOverPending();
    void CancelPlay();
    void AppendCommand(int command);

    std::atomic_bool quitRequested{false};
    // Set last thing in run(), read after wait(): orders everything run() did
    // before the destructor in a way ThreadSanitizer can see (QThread::wait()
    // synchronises inside the uninstrumented Qt library).
    std::atomic_bool runReturned{false};

    // Everything below is shared between the GUI thread and run(), guarded by mutex.
    mutable QMutex mutex;
    PassSleeper sleeper; // woken by requests and by the player's reports, never by the pause count
    int state = STAT_STOP;
    int pausedState = 0;
    QQueue<int> commandQueue;
    int voice = 0;
    QString musicDirName1;
    QString musicDirName2;
    QString fileFormat1;
    QString fileFormat2;
    QString musicDir;
    QString fileFormat;
    int fudaIndex = 0;
    int fudaCount = 0;
    QList<int> fudaList;       // our own copy of the caller's list
    bool hasFudaList = false;  // false: no list (between readings)
    int wait1Time = 1;
    int wait2Time = 3;
    // A file handed to the player whose end has not reached PlayEnded yet;
    // while one is outstanding the next file waits in pendingPath, so the
    // late reports of a verse cut short are never taken for the next one's.
    bool playerBusy = false;
    QString pendingPath;
    // Frames of silence the next verse handed over keeps after the last one
    // ended (set when a pause runs out); -1: at once.
    qint64 nextGapFrames = -1;

    std::unique_ptr<PlayMusicThread> musicThread;
};

#endif
