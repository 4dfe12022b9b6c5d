#ifndef PLAYSEQUENCETHREAD_H
#define PLAYSEQUENCETHREAD_H

#include "ReadingPlan.h"
#include "ReadingSequence.h"
#include "WakeSignal.h"

#include <QList>
#include <QMutex>
#include <QQueue>
#include <QString>
#include <QThread>
#include <qwindowdefs.h>

#include <atomic>
#include <memory>

class AudioOutput;
class AudioShapingStore;
class PlayMusicThread;
class Voices;

// Performs a whole reading: it walks a reading plan with a ReadingSequence,
// which decides what comes next, and does what it says: hands the verses to
// the player, counts the pauses and reports every start and end.
// run() has no event loop: it sleeps until something happens (a request, a
// player report, or the frame of the output clock at which a pause runs
// out) and then takes one command per pass. The player's reports reach the
// slots directly on the player's thread, so a busy GUI thread cannot
// lengthen a pause; the slots only queue them for run(). No file is looked
// up under the lock the GUI thread's requests take. Every signal of a
// reading comes from run(), in
// the order SequencStartded, then per verse StepStarted, Music1Starteded or
// Music2Starteded, Music1Ended or Music2Ended, and at last SequenceEnded.
class PlaySequenceThread : public QThread
{
    Q_OBJECT

public:
    enum { STAT_STOP = 0, STAT_MUSIC1, STAT_WAIT1, STAT_MUSIC2, STAT_WAIT2, STAT_PAUSE };
    enum { CMD_START = 1, CMD_PLAYEND, CMD_TIMEOUT, CMD_STOP, CMD_PAUSE, CMD_NEXT, CMD_REPEAT };

    // The verses are found through voices and shaped as the shaping in
    // force says; both must outlive the thread.
    PlaySequenceThread(WId windowHandle, AudioOutput &output, const Voices &voices,
                       const AudioShapingStore &shaping);
    ~PlaySequenceThread() override;

    // Each request tests the state at the moment of the call and is ignored
    // silently when it does not fit.
    void SetParameters(int voice, int wait1Time, int wait2Time);
    // Takes a copy of the list; refused when empty or during a reading. The
    // reading is the standard plan of the list with the pauses of
    // SetParameters (as they are at the start).
    void SetFudaList(QList<int> *list);
    // Takes any plan instead; false when empty or during a reading.
    bool SetPlan(const ReadingPlan &plan);
    // The plan of the reading under way (empty while idle).
    ReadingPlan GetPlan() const;
    void RequestStart();
    void RequestPause();
    void RequestStop();
    // Ends the pause under way (also a pause that waits for it); nothing
    // during a verse.
    void RequestNext();
    // Reads the current verse again, or in a pause the verse just read.
    void RequestRepeat();
    int GetState() const;
    void SetVolume(float level);
    float GetVolume();
    void RequestQuit();

    // The output it plays on (borrowed).
    AudioOutput &output() const { return audioOutput; }

signals:
    void SequencStartded();
    void Music1Starteded(int fudaNum);
    void Music1Ended();
    void Music2Starteded(int fudaNum);
    void Music2Ended();
    void SequenceEnded(int status);
    // Just before Music1Starteded/Music2Starteded: the index of the verse in the plan.
    void StepStarted(int step);
    // The state GetState() gives changed (emitted by run(), after the pass's
    // other signals).
    void StateChanged(int state);

protected:
    void run() override;

private slots:
    void PlayStarted(QString filename);
    void PlayEnded();
    void TimeoutDone();

private:
    // What a command leaves to be done once the lock is released.
    struct Outcome
    {
        bool readingStarted = false;
        int verseEnded = 0; // the half whose end to report, 0: none
        bool sequenceEnded = false;
        bool startPause = false; // a pause has just begun: count it afresh
        bool stopCounting = false;
        int pauseSeconds = 0;
    };
    // A verse the player has begun, to be reported by run().
    struct StartReport
    {
        int step;
        int card;
        int half;
    };

    void ApplyCommand(int command, Outcome &outcome);
    void Execute(const ReadingSequence::Actions &actions, Outcome &outcome);
    void UpdateState();
    // A verse to hand to the player, once the lock is released.
    struct HandOver
    {
        bool valid = false;
        int voice = 0;
        int card = 0;
        int half = 0;
        qint64 gapFrames = -1;
    };

    void PlayCard(int fudaNum, int part);
    void HandOverPending();
    void HandOverToPlayer(const HandOver &verse);
    void CancelPlay();
    void AppendCommand(int command);
    void EmitOutcome(const QList<StartReport> &starts, const Outcome &outcome);

    std::atomic_bool quitRequested {false};
    // Set last thing in run(), read after wait(): orders everything run() did
    // before the destructor in a way ThreadSanitizer can see (QThread::wait()
    // synchronises inside the uninstrumented Qt library).
    std::atomic_bool runReturned {false};

    // Everything below is shared between the GUI thread and run(), guarded by mutex.
    mutable QMutex mutex;
    int state = STAT_STOP; // follows the sequence; read by GetState() and the requests
    QQueue<int> commandQueue;
    QQueue<StartReport> startReports;
    ReadingSequence sequence;
    int voice = 0;
    int wait1Time = 1;
    int wait2Time = 3;
    // The next reading, until a start takes it: a card list (made into the
    // standard plan at the start) or a plan given as it is.
    enum class NextReading { None, FromList, Plan };
    NextReading nextReading = NextReading::None;
    QList<int> fudaList; // our own copy of the caller's list
    ReadingPlan nextPlan;
    // A file handed to the player whose end has not reached PlayEnded yet;
    // while one is outstanding the next verse waits in pending, so the late
    // reports of a verse cut short are never taken for the next one's.
    bool playerBusy = false;
    HandOver pending;
    HandOver handOver; // decided in this pass, handed over after the lock
    // Frames of silence the next verse handed over keeps after the last one
    // ended (set when a pause runs out); -1: at once.
    qint64 nextGapFrames = -1;

    // Woken by requests, the player's reports and the output clock's alarm.
    WakeSignal wakeSignal;
    int clockAlarm = -1;

    AudioOutput &audioOutput;
    const Voices &voiceFiles;
    std::unique_ptr<PlayMusicThread> musicThread;
};

#endif
