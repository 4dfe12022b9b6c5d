#include "SequenceThreadEngine.h"

#include "AudioOutput.h"
#include "PlaySequenceThread.h"
#include "Voices.h"

#include <QFileInfo>

SequenceThreadEngine::SequenceThreadEngine(PlaySequenceThread *thread, const Voices &voices,
                                           QObject *parent)
    : ReadingEngine(parent)
    , thread(thread)
    , voices(voices)
{
    // Before the reports go on, so that whoever hears an end finds the engine idle.
    connect(thread, &PlaySequenceThread::SequencStartded, this, [this] { readingReported = true; });
    connect(thread, &PlaySequenceThread::SequenceEnded, this, [this] { readingReported = false; });
    connect(thread, &PlaySequenceThread::SequencStartded, this, &ReadingEngine::sequenceStarted);
    connect(thread, &PlaySequenceThread::Music1Starteded, this, &ReadingEngine::upperStarted);
    connect(thread, &PlaySequenceThread::Music1Ended, this, &ReadingEngine::upperEnded);
    connect(thread, &PlaySequenceThread::Music2Starteded, this, &ReadingEngine::lowerStarted);
    connect(thread, &PlaySequenceThread::Music2Ended, this, &ReadingEngine::lowerEnded);
    connect(thread, &PlaySequenceThread::SequenceEnded, this, &ReadingEngine::sequenceEnded);
    connect(thread, &PlaySequenceThread::StateChanged, this, &ReadingEngine::stateChanged);
}

bool SequenceThreadEngine::openOutput()
{
    return thread->output().Reopen();
}

bool SequenceThreadEngine::hasPreambleUpper(int voice) const
{
    return QFileInfo::exists(voices.filePath(voice, 0, 1));
}

bool SequenceThreadEngine::idle() const
{
    return !readingReported && thread->GetState() == PlaySequenceThread::STAT_STOP;
}

bool SequenceThreadEngine::setCardList(int voice, int wait1, int wait2, const QList<int> &cards)
{
    // The thread refuses a list silently: it takes one whenever it is stopped.
    if (!idle() || cards.isEmpty())
        return false;
    thread->SetParameters(voice, wait1, wait2);
    QList<int> list = cards;
    thread->SetFudaList(&list); // the thread keeps a copy
    return true;
}

bool SequenceThreadEngine::setPlan(int voice, int wait1, int wait2, const ReadingPlan &plan)
{
    if (!idle())
        return false;
    thread->SetParameters(voice, wait1, wait2);
    return thread->SetPlan(plan);
}

void SequenceThreadEngine::requestStart()
{
    thread->RequestStart();
}

void SequenceThreadEngine::requestPause()
{
    thread->RequestPause();
}

void SequenceThreadEngine::requestStop()
{
    thread->RequestStop();
}

void SequenceThreadEngine::requestNext()
{
    thread->RequestNext();
}

void SequenceThreadEngine::requestRepeat()
{
    thread->RequestRepeat();
}

qint64 SequenceThreadEngine::clockMs() const
{
    // A test's output plays faster than real time: the reading is timed by
    // the frames it has played.
    if (!thread->output().HasWallClock())
        return thread->output().PlayedFrames() * 1000 / AudioClip::Rate;
    return ReadingEngine::clockMs();
}
