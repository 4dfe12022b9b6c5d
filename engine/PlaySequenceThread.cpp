#include "PlaySequenceThread.h"

#include "AppFolder.h"
#include "AudioOutput.h"
#include "PlayMusicThread.h"
#include "RecordingFile.h"

#include <QDir>
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
    : musicDirName1(tr("Music"))
    , musicDirName2(tr("Music2"))
    , fileFormat1(QStringLiteral("rindou_%03d_%1d.ogg"))
    , fileFormat2(QStringLiteral("asagao_%03d_%1d.ogg"))
    , musicDir(AppFolder::path() + QDir::separator() + musicDirName1)
    , fileFormat(fileFormat1)
    , musicThread(std::make_unique<PlayMusicThread>(windowHandle))
{
    connect(musicThread.get(), &PlayMusicThread::MusicStarted, this,
            &PlaySequenceThread::PlayStarted);
    connect(musicThread.get(), &PlayMusicThread::MusicEnded, this,
            &PlaySequenceThread::PlayEnded);
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
    hasFudaList = true;
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
    int which = 0;
    int fudaNum = 0;
    {
        const QMutexLocker locker(&mutex);
        // Reports of a verse cut short, arriving after the next one was
        // asked for, are not the next one's.
        if (!playerBusy || !pendingPath.isEmpty() || quitRequested)
            return;
        if (fudaIndex < 0 || fudaIndex >= fudaList.size())
            return;
        if (state == STAT_MUSIC1)
            which = 1;
        else if (state == STAT_MUSIC2)
            which = 2;
        else
            return;
        fudaNum = fudaList.at(fudaIndex);
    }
    if (which == 1)
        emit Music1Starteded(fudaNum);
    else
        emit Music2Starteded(fudaNum);
}

void PlaySequenceThread::PlayEnded()
{
    int which = 0;
    {
        const QMutexLocker locker(&mutex);
        if (!playerBusy)
            return;
        playerBusy = false;
        sleeper.wake(); // a verse waiting for the player, or the end to handle
        // After a quit the reading is over: the end of the verse it cut
        // short is not reported.
        if (quitRequested)
            return;
        if (!pendingPath.isEmpty())
            return; // the end of a verse cut short; the next one is handed over at the next pass
        if (state == STAT_MUSIC1)
            which = 1;
        else if (state == STAT_MUSIC2)
            which = 2;
        else
            return;
        AppendCommand(CMD_PLAYEND);
    }
    if (which == 1)
        emit Music1Ended();
    else
        emit Music2Ended();
}

void PlaySequenceThread::TimeoutDone()
{
    const QMutexLocker locker(&mutex);
    if (state == STAT_WAIT1 || state == STAT_WAIT2)
        AppendCommand(CMD_TIMEOUT);
}

QString PlaySequenceThread::MakeFilePath(int fudaNum, int part)
{
    const QString &dirName = voice == 0 ? musicDirName1 : musicDirName2;
    fileFormat = voice == 0 ? fileFormat1 : fileFormat2;
    musicDir = AppFolder::path() + QDir::separator() + dirName;
    const QByteArray pattern = fileFormat.toLatin1();
    const QString oggPath =
        musicDir + QDir::separator() + QString::asprintf(pattern.constData(), fudaNum, part);
    // The patterns name the Ogg file; the same name in another format serves too.
    return resolveRecording(oggPath.chopped(QStringLiteral(".ogg").size()));
}

void PlaySequenceThread::PlayCard(int fudaNum, int part)
{
    const QString path = MakeFilePath(fudaNum, part);
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

void PlaySequenceThread::ResetSequence(Outcome &outcome)
{
    fudaIndex = 0;
    fudaList.clear();
    hasFudaList = false;
    fudaCount = 0;
    CancelPlay();
    outcome.sequenceEnded = true;
}

void PlaySequenceThread::Resume()
{
    int part = 2;
    int next = STAT_MUSIC2;
    if (pausedState == STAT_WAIT2) {
        if (fudaIndex > 0)
            --fudaIndex; // read the last lower verse again
    } else if (pausedState == STAT_MUSIC1 && fudaList.value(fudaIndex) != 0) {
        part = 1;
        next = STAT_MUSIC1;
    }
    PlayCard(fudaList.value(fudaIndex), part);
    state = next;
    pausedState = 0;
}

void PlaySequenceThread::ApplyCommand(int command, Outcome &outcome)
{
    if (command == CMD_STOP && state != STAT_STOP) {
        ResetSequence(outcome);
        state = STAT_STOP;
        return;
    }
    if (command == CMD_PAUSE && state >= STAT_MUSIC1 && state <= STAT_WAIT2) {
        if (state == STAT_MUSIC1 || state == STAT_MUSIC2)
            CancelPlay();
        pausedState = state;
        state = STAT_PAUSE;
        return;
    }

    switch (state) {
    case STAT_STOP:
        if (command != CMD_START || !hasFudaList || fudaList.isEmpty())
            return;
        fudaIndex = 0;
        fudaCount = static_cast<int>(fudaList.size());
        if (fudaList.first() != 0) {
            PlayCard(fudaList.first(), 1);
            state = STAT_MUSIC1;
        } else {
            PlayCard(0, 2);
            state = STAT_MUSIC2;
        }
        return;
    case STAT_MUSIC1:
        if (command == CMD_PLAYEND) {
            outcome.startPause = true;
            outcome.pauseSeconds = wait1Time;
            state = STAT_WAIT1;
        }
        return;
    case STAT_WAIT1:
        if (command == CMD_TIMEOUT) {
            PlayCard(fudaList.value(fudaIndex), 2);
            state = STAT_MUSIC2;
        }
        return;
    case STAT_MUSIC2:
        if (command != CMD_PLAYEND)
            return;
        if (fudaIndex + 1 < fudaCount) {
            ++fudaIndex;
            outcome.startPause = true;
            outcome.pauseSeconds = wait2Time;
            state = STAT_WAIT2;
        } else {
            fudaIndex = 0;
            fudaList.clear();
            hasFudaList = false;
            fudaCount = 0;
            outcome.sequenceEnded = true;
            state = STAT_STOP;
        }
        return;
    case STAT_WAIT2:
        if (command == CMD_TIMEOUT) {
            PlayCard(fudaList.value(fudaIndex), 1);
            state = STAT_MUSIC1;
        }
        return;
    case STAT_PAUSE:
        if (command == CMD_START)
            Resume();
        return;
    default:
        return;
    }
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
    {
        const QMutexLocker locker(&mutex);
        fudaIndex = 0;
        fudaCount = 0;
        pausedState = 0;
    }

    while (!quitRequested) {
        sleeper.beginPass();
        Outcome outcome;
        bool timeout = false;
        bool idle = false;
        bool inPause = false;
        {
            const QMutexLocker locker(&mutex);
            HandOverPending();
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
            }
            idle = commandQueue.isEmpty() && (state == STAT_STOP || state == STAT_PAUSE);
            inPause = state == STAT_WAIT1 || state == STAT_WAIT2;
        }
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
        if (outcome.sequenceEnded)
            emit SequenceEnded(0);
        if (quitRequested)
            break;
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
