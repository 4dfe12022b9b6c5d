#include "PlaySequenceThread.h"

#include "AudioOutput.h"
#include "PlayMusicThread.h"
#include "Voices.h"

#include <QElapsedTimer>
#include <QMutexLocker>

#include <utility>

namespace {
constexpr unsigned long PassMs = 100;
// The next verse is handed to the player this long before its pause runs
// out, so that it is decoded in time; the player starts it on the exact frame.
constexpr qint64 HandOverFrames = AudioClip::Rate / 2;
// The silence between two verses is the pause plus 0.2 s, as the reading has
// always made it (it used to be two passes of the loop).
constexpr qint64 PauseExtraFrames = AudioClip::Rate / 5;
// Idle or paused, nothing is counted and every piece of work wakes the loop
// (a request, a player report), so an idle pass need not come round ten
// times a second: it only guards against a wake-up that never came.
constexpr unsigned long IdlePassMs = 1000;
} // namespace

PlaySequenceThread::PlaySequenceThread(WId windowHandle)
    : musicThread(std::make_unique<PlayMusicThread>(windowHandle))
{
    connect(musicThread.get(), &PlayMusicThread::MusicStarted, this,
            &PlaySequenceThread::PlayStarted);
    connect(musicThread.get(), &PlayMusicThread::MusicEnded, this, &PlaySequenceThread::PlayEnded);
    musicThread->start();
}

PlaySequenceThread::~PlaySequenceThread()
{
    // The owner has normally stopped run() already; make sure of it before
    // the player goes away under it.
    RequestQuit();
    wait();
    runReturned.load(std::memory_order_acquire);
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
        sleeper.wake();
    }
}

void PlaySequenceThread::RequestPause()
{
    const QMutexLocker locker(&mutex);
    if (state != STAT_STOP && state != STAT_PAUSE) {
        commandQueue.enqueue(CMD_PAUSE);
        sleeper.wake();
    }
}

void PlaySequenceThread::RequestStop()
{
    const QMutexLocker locker(&mutex);
    if (state != STAT_STOP) {
        commandQueue.enqueue(CMD_STOP);
        sleeper.wake();
    }
}

void PlaySequenceThread::RequestNext()
{
    const QMutexLocker locker(&mutex);
    if (state == STAT_WAIT1 || state == STAT_WAIT2) {
        commandQueue.enqueue(CMD_NEXT);
        sleeper.wake();
    }
}

void PlaySequenceThread::RequestRepeat()
{
    const QMutexLocker locker(&mutex);
    if (state != STAT_STOP && state != STAT_PAUSE) {
        commandQueue.enqueue(CMD_REPEAT);
        sleeper.wake();
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
    sleeper.wake();
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
    if (!playerBusy || !pendingPath.isEmpty() || quitRequested)
        return;
    if (state != STAT_MUSIC1 && state != STAT_MUSIC2)
        return;
    const int step = sequence.currentStep();
    if (step < 0 || step >= sequence.plan().size())
        return;
    const ReadingStep &verse = sequence.plan().at(step);
    startReports.enqueue({step, verse.card, verse.half});
    sleeper.wake();
}

void PlaySequenceThread::PlayEnded()
{
    const QMutexLocker locker(&mutex);
    if (!playerBusy)
        return;
    playerBusy = false;
    sleeper.wake(); // a verse waiting for the player, or the end to handle
    // After a quit the reading is over: the end of the verse it cut short
    // is not reported.
    if (quitRequested)
        return;
    if (!pendingPath.isEmpty())
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
    const QString path = Voices::filePath(voice, fudaNum, part);
    if (playerBusy) {
        pendingPath = path;
        return;
    }
    // After a pause, at the pause's exact end; otherwise at once.
    musicThread->SetMusicFileAfterGap(path, std::exchange(nextGapFrames, -1));
    playerBusy = true;
}

void PlaySequenceThread::HandOverPending()
{
    if (pendingPath.isEmpty() || playerBusy)
        return;
    musicThread->SetMusicFile(pendingPath);
    pendingPath.clear();
    playerBusy = true;
}

void PlaySequenceThread::CancelPlay()
{
    pendingPath.clear();
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
    // pauseGap frames after the end of the last one (pauseEnd).
    qint64 pauseGap = 0;
    qint64 pauseEnd = 0;
    // Wall-clock guard: an output that stopped playing (its server gone)
    // does not hold the reading in a pause for ever.
    QElapsedTimer pauseClock;
    bool counting = false;
    int reportedState = STAT_STOP;

    while (!quitRequested) {
        sleeper.beginPass();
        Outcome outcome;
        QList<StartReport> starts;
        bool timeout = false;
        bool idle = false;
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
                    && (AudioOutput::PlayedFrames() >= pauseEnd - HandOverFrames
                        || pauseClock.elapsed() >= pauseGap * 1000 / AudioClip::Rate + 1000)) {
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
            idle = commandQueue.isEmpty() && (state == STAT_STOP || state == STAT_PAUSE);
            inPause = state == STAT_WAIT1 || state == STAT_WAIT2;
            stateNow = state;
        }
        if (outcome.stopCounting)
            counting = false;
        if (outcome.startPause) {
            // A pause of 0 seconds or less leaves the 0.2 s.
            const qint64 seconds = qBound(0, outcome.pauseSeconds, 24 * 3600);
            pauseGap = seconds * AudioClip::Rate + PauseExtraFrames;
            pauseEnd = musicThread->LastEndFrame() + pauseGap;
            pauseClock.start();
            counting = true;
        }
        unsigned long sleepMs = idle ? IdlePassMs : PassMs;
        if (timeout)
            sleepMs = 1; // take the command at once
        else if (counting && inPause)
            sleepMs = static_cast<unsigned long>(
                qBound<qint64>(1, AudioOutput::MsUntilFrame(pauseEnd - HandOverFrames), PassMs));
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
        sleeper.sleep(sleepMs);
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
