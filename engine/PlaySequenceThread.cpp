#include "PlaySequenceThread.h"

#include "AudioOutput.h"
#include "PlayMusicThread.h"
#include "Voices.h"

#include <QElapsedTimer>
#include <QMutexLocker>

#include <utility>

namespace {
// The next verse is handed to the player this long before its pause runs
// out, so that it is decoded in time; the player starts it on the exact frame.
constexpr qint64 HandOverFrames = AudioClip::Rate / 2;
// The silence between two verses is the pause plus 0.2 s, as the reading has
// always made it (it used to be two passes of the loop).
constexpr qint64 PauseExtraFrames = AudioClip::Rate / 5;
// An output that stopped playing (its server gone) does not hold the
// reading in a pause for ever: on a real device the pause also ends this
// long after it should have by the wall clock.
constexpr qint64 PauseGuardMs = 1000;
} // namespace

PlaySequenceThread::PlaySequenceThread(WId windowHandle, AudioOutput &output, const Voices &voices,
                                       const AudioShapingStore &shaping)
    : audioOutput(output)
    , voiceFiles(voices)
    , musicThread(std::make_unique<PlayMusicThread>(windowHandle, output, shaping))
{
    clockAlarm = audioOutput.AddClockAlarm(&wakeSignal);
    // Directly on the player's thread: the reports only queue a command and
    // wake run(), whatever the GUI thread is busy with.
    connect(musicThread.get(), &PlayMusicThread::MusicStarted, this,
            &PlaySequenceThread::PlayStarted, Qt::DirectConnection);
    connect(musicThread.get(), &PlayMusicThread::MusicEnded, this, &PlaySequenceThread::PlayEnded,
            Qt::DirectConnection);
    musicThread->start();
}

PlaySequenceThread::~PlaySequenceThread()
{
    // The owner has normally stopped run() already; make sure of it before
    // the player goes away under it.
    RequestQuit();
    wait();
    runReturned.load(std::memory_order_acquire);
    audioOutput.RemoveClockAlarm(clockAlarm);
    musicThread->RequestQuit();
    musicThread->wait();
    musicThread.reset();
}

void PlaySequenceThread::SetParameters(int voice, int wait1Time, int wait2Time)
{
    const QMutexLocker locker(&mutex);
    if (state != STAT_STOP)
        return;
    this->voice = voice;
    this->wait1Time = wait1Time;
    this->wait2Time = wait2Time;
}

void PlaySequenceThread::SetFudaList(QList<int> *list)
{
    const QMutexLocker locker(&mutex);
    if (state != STAT_STOP || !list || list->isEmpty())
        return;
    fudaList = *list;
    nextReading = NextReading::FromList;
}

bool PlaySequenceThread::SetPlan(const ReadingPlan &plan)
{
    const QMutexLocker locker(&mutex);
    if (state != STAT_STOP || plan.isEmpty())
        return false;
    nextPlan = plan;
    nextReading = NextReading::Plan;
    return true;
}

ReadingPlan PlaySequenceThread::GetPlan() const
{
    const QMutexLocker locker(&mutex);
    return sequence.plan();
}

void PlaySequenceThread::RequestStart()
{
    const QMutexLocker locker(&mutex);
    if (state == STAT_STOP || state == STAT_PAUSE) {
        commandQueue.enqueue(CMD_START);
        wakeSignal.wake();
    }
}

void PlaySequenceThread::RequestPause()
{
    const QMutexLocker locker(&mutex);
    if (state != STAT_STOP && state != STAT_PAUSE) {
        commandQueue.enqueue(CMD_PAUSE);
        wakeSignal.wake();
    }
}

void PlaySequenceThread::RequestStop()
{
    const QMutexLocker locker(&mutex);
    if (state != STAT_STOP) {
        commandQueue.enqueue(CMD_STOP);
        wakeSignal.wake();
    }
}

void PlaySequenceThread::RequestNext()
{
    const QMutexLocker locker(&mutex);
    if (state == STAT_WAIT1 || state == STAT_WAIT2) {
        commandQueue.enqueue(CMD_NEXT);
        wakeSignal.wake();
    }
}

void PlaySequenceThread::RequestRepeat()
{
    const QMutexLocker locker(&mutex);
    if (state != STAT_STOP && state != STAT_PAUSE) {
        commandQueue.enqueue(CMD_REPEAT);
        wakeSignal.wake();
    }
}

int PlaySequenceThread::GetState() const
{
    const QMutexLocker locker(&mutex);
    return state;
}

void PlaySequenceThread::SetVolume(float level)
{
    musicThread->SetVolume(level);
}

float PlaySequenceThread::GetVolume()
{
    return musicThread->GetVolume();
}

void PlaySequenceThread::RequestQuit()
{
    quitRequested = true;
    wakeSignal.wake();
}

void PlaySequenceThread::AppendCommand(int command)
{
    commandQueue.enqueue(command);
}

void PlaySequenceThread::PlayStarted(QString filename)
{
    Q_UNUSED(filename);
    const QMutexLocker locker(&mutex);
    // Reports of a verse cut short, arriving after the next one was asked
    // for, are not the next one's.
    if (!playerBusy || pending.valid || quitRequested)
        return;
    if (state != STAT_MUSIC1 && state != STAT_MUSIC2)
        return;
    const int step = sequence.currentStep();
    if (step < 0 || step >= sequence.plan().size())
        return;
    const ReadingStep &verse = sequence.plan().at(step);
    startReports.enqueue({step, verse.card, verse.half});
    wakeSignal.wake();
}

void PlaySequenceThread::PlayEnded()
{
    const QMutexLocker locker(&mutex);
    if (!playerBusy)
        return;
    playerBusy = false;
    wakeSignal.wake(); // a verse waiting for the player, or the end to handle
    // After a quit the reading is over: the end of the verse it cut short
    // is not reported.
    if (quitRequested)
        return;
    if (pending.valid)
        return; // the end of a verse cut short; the next one is handed over at the next pass
    if (state == STAT_MUSIC1 || state == STAT_MUSIC2)
        AppendCommand(CMD_PLAYEND);
}

void PlaySequenceThread::TimeoutDone()
{
    const QMutexLocker locker(&mutex);
    if (state == STAT_WAIT1 || state == STAT_WAIT2)
        AppendCommand(CMD_TIMEOUT);
}

void PlaySequenceThread::PlayCard(int fudaNum, int part)
{
    // After a pause, at the pause's exact end; otherwise at once.
    const HandOver verse {true, voice, fudaNum, part, std::exchange(nextGapFrames, -1)};
    if (playerBusy) {
        pending = verse;
        pending.gapFrames = -1;
        return;
    }
    handOver = verse;
    playerBusy = true;
}

void PlaySequenceThread::HandOverPending()
{
    if (!pending.valid || playerBusy)
        return;
    handOver = std::exchange(pending, HandOver {});
    playerBusy = true;
}

void PlaySequenceThread::HandOverToPlayer(const HandOver &verse)
{
    // Looking the file up may touch a slow disk: never under the lock.
    if (verse.valid)
        musicThread->SetMusicFileAfterGap(voiceFiles.filePath(verse.voice, verse.card, verse.half),
                                          verse.gapFrames);
}

void PlaySequenceThread::CancelPlay()
{
    pending = HandOver {};
    if (handOver.valid) {
        handOver = HandOver {}; // not handed over yet: nothing to withdraw
        playerBusy = false;
        return;
    }
    if (musicThread->CancelMusic())
        playerBusy = false; // withdrawn before it started: it reports nothing
}

void PlaySequenceThread::UpdateState()
{
    const bool upper = sequence.currentHalf() == 1;
    switch (sequence.phase()) {
    case ReadingSequence::Phase::Idle:
        state = STAT_STOP;
        break;
    case ReadingSequence::Phase::Verse:
        state = upper ? STAT_MUSIC1 : STAT_MUSIC2;
        break;
    case ReadingSequence::Phase::Pause:
        state = upper ? STAT_WAIT1 : STAT_WAIT2;
        break;
    case ReadingSequence::Phase::Paused:
        state = STAT_PAUSE;
        break;
    }
}

void PlaySequenceThread::Execute(const ReadingSequence::Actions &actions, Outcome &outcome)
{
    for (const ReadingSequence::Action &action : actions) {
        switch (action.kind) {
        case ReadingSequence::Action::PlayVerse: {
            const ReadingStep &verse = sequence.plan().at(action.step);
            PlayCard(verse.card, verse.half);
            outcome.stopCounting = true;
            break;
        }
        case ReadingSequence::Action::CancelVerse:
            CancelPlay();
            break;
        case ReadingSequence::Action::CountPause:
            // A pause that waits for Next is not counted.
            outcome.startPause = !action.untilNext;
            outcome.stopCounting = action.untilNext;
            outcome.pauseSeconds = action.seconds;
            break;
        case ReadingSequence::Action::Ended:
            CancelPlay();
            startReports.clear();
            outcome.sequenceEnded = true;
            outcome.stopCounting = true;
            break;
        }
    }
}

void PlaySequenceThread::ApplyCommand(int command, Outcome &outcome)
{
    switch (command) {
    case CMD_START:
        if (sequence.phase() == ReadingSequence::Phase::Idle) {
            if (nextReading == NextReading::None)
                return;
            // Pauses below zero are none: they must not read as the plan's
            // markers for "no pause" or "until Next".
            const ReadingPlan plan = nextReading == NextReading::Plan
                ? nextPlan
                : ReadingPlanBuilder::standard(fudaList, qMax(0, wait1Time), qMax(0, wait2Time));
            nextReading = NextReading::None;
            fudaList.clear();
            nextPlan.clear();
            if (!sequence.setPlan(plan))
                return;
            outcome.readingStarted = true;
        }
        Execute(sequence.start(), outcome);
        return;
    case CMD_PLAYEND:
        if (sequence.phase() == ReadingSequence::Phase::Verse)
            outcome.verseEnded = sequence.currentHalf();
        Execute(sequence.verseEnded(), outcome);
        return;
    case CMD_TIMEOUT:
        Execute(sequence.pauseElapsed(), outcome);
        return;
    case CMD_STOP:
        Execute(sequence.stop(), outcome);
        return;
    case CMD_PAUSE:
        Execute(sequence.pause(), outcome);
        return;
    case CMD_NEXT:
        Execute(sequence.next(), outcome);
        return;
    case CMD_REPEAT:
        Execute(sequence.repeat(), outcome);
        return;
    default:
        return;
    }
}

void PlaySequenceThread::EmitOutcome(const QList<StartReport> &starts, const Outcome &outcome)
{
    if (outcome.readingStarted)
        emit SequencStartded();
    for (const StartReport &start : starts) {
        emit StepStarted(start.step);
        if (start.half == 1)
            emit Music1Starteded(start.card);
        else
            emit Music2Starteded(start.card);
    }
    if (outcome.verseEnded == 1)
        emit Music1Ended();
    else if (outcome.verseEnded == 2)
        emit Music2Ended();
    if (outcome.sequenceEnded)
        emit SequenceEnded(0);
}

void PlaySequenceThread::run()
{
    // The pause is counted on the output clock: the next verse is due
    // pauseGap frames after the end of the last one (pauseEnd), and is
    // handed over HandOverFrames before, when the clock's alarm wakes us.
    qint64 pauseGap = 0;
    qint64 pauseEnd = 0;
    QElapsedTimer pauseClock; // the wall-clock guard
    bool counting = false;
    int reportedState = STAT_STOP;

    while (!quitRequested) {
        Outcome outcome;
        QList<StartReport> starts;
        HandOver verse;
        bool timeout = false;
        bool moreCommands = false;
        bool inPause = false;
        int stateNow = STAT_STOP;
        {
            const QMutexLocker locker(&mutex);
            HandOverPending();
            // The starts the player reported before this pass's command.
            while (!startReports.isEmpty())
                starts.append(startReports.dequeue());
            if (commandQueue.isEmpty()) {
                if (counting && (state == STAT_WAIT1 || state == STAT_WAIT2)
                    && (audioOutput.PlayedFrames() >= pauseEnd - HandOverFrames
                        || (audioOutput.HasWallClock()
                            && pauseClock.elapsed()
                                >= pauseGap * 1000 / AudioClip::Rate + PauseGuardMs))) {
                    timeout = true;
                    counting = false;
                    nextGapFrames = pauseGap;
                }
            } else {
                const int command = commandQueue.dequeue();
                if (command != CMD_TIMEOUT)
                    nextGapFrames = -1; // the pause it was for is over
                ApplyCommand(command, outcome);
                UpdateState();
            }
            verse = std::exchange(handOver, HandOver {});
            moreCommands = !commandQueue.isEmpty();
            inPause = state == STAT_WAIT1 || state == STAT_WAIT2;
            stateNow = state;
        }
        HandOverToPlayer(verse);
        if (outcome.stopCounting) {
            counting = false;
            audioOutput.SetClockAlarm(clockAlarm, -1);
        }
        if (outcome.startPause) {
            // A pause of 0 seconds or less leaves the 0.2 s.
            const qint64 seconds = qBound(0, outcome.pauseSeconds, 24 * 3600);
            pauseGap = seconds * AudioClip::Rate + PauseExtraFrames;
            pauseEnd = musicThread->LastEndFrame() + pauseGap;
            pauseClock.start();
            counting = true;
            audioOutput.SetClockAlarm(clockAlarm, pauseEnd - HandOverFrames);
        }
        int waitMs = -1; // until woken
        if (timeout || moreCommands) {
            waitMs = 0;
        } else if (counting && inPause) {
            if (audioOutput.PlayedFrames() >= pauseEnd - HandOverFrames)
                waitMs = 0; // rendered before the alarm was set
            else if (audioOutput.HasWallClock())
                waitMs = int(qMax<qint64>(
                    1, pauseGap * 1000 / AudioClip::Rate + PauseGuardMs - pauseClock.elapsed()));
        }
        if (timeout)
            TimeoutDone();
        if (quitRequested) {
            // Nothing more is reported, but a reading that ended in this
            // pass still says so (the loop below no longer sees it).
            if (outcome.sequenceEnded)
                emit SequenceEnded(0);
            break;
        }
        EmitOutcome(starts, outcome);
        if (stateNow != reportedState) {
            reportedState = stateNow;
            emit StateChanged(stateNow);
        }
        wakeSignal.wait(waitMs);
    }

    bool readingWasOn = false;
    {
        const QMutexLocker locker(&mutex);
        if (state == STAT_MUSIC1 || state == STAT_MUSIC2)
            CancelPlay();
        readingWasOn = state != STAT_STOP;
    }
    if (readingWasOn)
        emit SequenceEnded(0);
    runReturned.store(true, std::memory_order_release);
}
