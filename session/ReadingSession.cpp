#include "ReadingSession.h"

#include "AppSettings.h"
#include "CardCatalog.h"
#include "CardSounds.h"
#include "ReaderGaps.h"
#include "ReadingPlan.h"

#include <QDateTime>
#include <QRandomGenerator>

#include <algorithm>

#include <utility>

ReadingSession::ReadingSession(ReadingEngine *engine, QObject *parent)
    : QObject(parent)
    , engine(engine)
    , random(QRandomGenerator::global())
    , recorder(CardCatalog::builtIn())
    , openings(CardSounds::openings(CardCatalog::builtIn()))
{
    // Every report counts only during a reading of this session.
    const auto during = [this](auto report) {
        return [this, report](auto... args) {
            if (reading)
                (this->*report)(args...);
        };
    };
    connect(engine, &ReadingEngine::sequenceStarted, this,
            during(&ReadingSession::sequenceStarted));
    connect(engine, &ReadingEngine::upperStarted, this, during(&ReadingSession::onUpperStarted));
    connect(engine, &ReadingEngine::upperEnded, this, during(&ReadingSession::upperVerseEnded));
    connect(engine, &ReadingEngine::lowerStarted, this, during(&ReadingSession::lowerVerseStarted));
    connect(engine, &ReadingEngine::lowerEnded, this, during(&ReadingSession::lowerVerseEnded));
    connect(engine, &ReadingEngine::stateChanged, this, during(&ReadingSession::onStateChanged));
    connect(engine, &ReadingEngine::sequenceEnded, this,
            during(&ReadingSession::onSequenceEnded));
    // After the reports above: an end the session took as its own is not an idle engine.
    connect(engine, &ReadingEngine::sequenceEnded, this, &ReadingSession::onEngineIdle);
    connect(engine, &ReadingEngine::stateChanged, this, [this](int state) {
        if (state == ReadingEngine::Stopped)
            onEngineIdle();
    });
}

void ReadingSession::setSettings(const AppSettings *settings)
{
    this->settings = settings;
}

void ReadingSession::setVoiceAvailable(bool available)
{
    voiceAvailable = available;
}

void ReadingSession::setHistoryFolder(const QString &folder)
{
    historyFolder = folder;
}

void ReadingSession::setVoices(const Voices *voiceFiles)
{
    voices = voiceFiles;
}

void ReadingSession::setRandomGenerator(QRandomGenerator *random)
{
    this->random = random;
}

void ReadingSession::startOrPause()
{
    if (reading) {
        wantPlaying = !wantPlaying;
        if (wantPlaying)
            engine->requestStart();
        else
            engine->requestPause();
        return;
    }
    if (!voiceAvailable || !settings)
        return;
    // Without an output the reading would run silently: try it again.
    if (!engine->openOutput()) {
        emit startRefused(Refusal::NoOutput);
        return;
    }
    // Nothing to read: the engine would ignore the list and never report an end.
    const MainSettings &values = settings->main;
    if (values.fudaList().isEmpty() && !values.chkJoka()) {
        emit startRefused(Refusal::NothingSelected);
        return;
    }
    // Only a reading of selected cards can start over: the preamble alone is read once.
    startsEndless = settings->practice.endless && !values.fudaList().isEmpty();
    begin(ReadingOrder::shuffled(values.fudaList(), settings->practice.deadCards,
                                 settings->practice.deadCardBias, openings, values.chkJoka(),
                                 *random));
}

bool ReadingSession::readInOrder(const QList<int> &order, const QSet<int> &dead)
{
    if (reading || order.isEmpty() || !voiceAvailable || !settings)
        return false;
    // A past reading read again is read once, as it was.
    startsEndless = false;
    begin(ReadingOrder::fixed(order, dead, settings->main.chkJoka()));
    return true;
}

bool ReadingSession::begin(const ReadingSetup &reading)
{
    waiting.reset();
    const MainSettings &values = settings->main;
    const int voice = values.selectVoice();
    bool taken = false;
    // The classic reading keeps its classic hand-over.
    if (settings->practice.readsPlainly() && reading.deadCards.isEmpty()) {
        taken = engine->setCardList(voice, values.wait1Time(), values.wait2Time(), reading.playList);
    } else {
        PlanOptions options;
        options.style = settings->practice.style;
        options.advance = settings->practice.advance;
        options.wait1Seconds = values.wait1Time();
        options.wait2Seconds = values.wait2Time();
        // The competitive style reads the preamble in full only when the
        // voice has its upper verse.
        options.preambleUpperAvailable = engine->hasPreambleUpper(voice);
        options.deadCards = reading.deadCards;
        taken = engine->setPlan(voice, values.wait1Time(), values.wait2Time(),
                                ReadingPlanBuilder::build(reading.playList, options));
    }
    if (!taken) {
        waiting = reading;
        return false;
    }
    setup = reading;
    // A round keeps what its reading was.
    if (!this->reading) {
        endless = startsEndless;
        stopAsked = false;
        roundNumber = 1;
    }
    counted = 0;
    lastCounted = -1;
    recorder.begin(setup.playList, setup.deadCards, QDateTime::currentDateTime());
    startedClockMs = engine->clockMs();
    const bool nextRound = std::exchange(this->reading, true);
    wantPlaying = true;
    if (nextRound)
        emit roundStarted(roundNumber);
    else
        emit readingStarted();
    QList<int> gaps =
        voices ? ReaderGaps::cardsWithout(*voices, voice, setup.playList) : QList<int> {};
    std::sort(gaps.begin(), gaps.end());
    if (!gaps.isEmpty())
        emit cardsWithoutRecordings(gaps);
    engine->requestStart();
    return true;
}

void ReadingSession::onEngineIdle()
{
    // A round waits during its reading; a new reading only outside one.
    if (waiting && voiceAvailable && settings && (!reading || endless))
        begin(*std::exchange(waiting, std::nullopt));
}

void ReadingSession::stop()
{
    if (reading && endless && waiting) {
        // Stopped between two rounds: the next one never started.
        waiting.reset();
        finish();
        return;
    }
    waiting.reset();
    stopAsked = true;
    if (reading)
        engine->requestStop();
}

void ReadingSession::next()
{
    if (reading)
        engine->requestNext();
}

void ReadingSession::repeat()
{
    if (reading)
        engine->requestRepeat();
}

void ReadingSession::endOnQuit()
{
    if (reading)
        finish();
}

void ReadingSession::onUpperStarted(int card)
{
    // The preamble's upper verse (competitive style) is no card.
    if (card == 0)
        return;
    // An upper verse read again after a resume is not counted twice.
    if (card != lastCounted) {
        ++counted;
        lastCounted = card;
        const ReadingRecorder::CardRead read =
            recorder.cardRead(card, engine->clockMs() - startedClockMs);
        emit cardRead(card, read.kimarijiLength, read.changes);
    }
    emit upperVerseStarted(card);
}

void ReadingSession::onStateChanged(int state)
{
    const bool nowPlaying = state != ReadingEngine::Stopped && state != ReadingEngine::Paused;
    if (state == ReadingEngine::Paused || nowPlaying)
        wantPlaying = nowPlaying;
    if (nowPlaying == playing)
        return;
    playing = nowPlaying;
    emit playingChanged(playing);
}

void ReadingSession::onSequenceEnded()
{
    if (goesOn())
        startNextRound();
    else
        finish();
}

bool ReadingSession::goesOn() const
{
    // Only a round read to its last card: a stop ends the whole reading.
    return endless && !stopAsked && settings && counted >= setup.cardCount;
}

void ReadingSession::startNextRound()
{
    if (recorder.finish(historyFolder) == ReadingHistory::SaveResult::Failed)
        emit historyNotSaved(historyFolder);
    ++roundNumber;
    const ReadingSetup next = ReadingOrder::shuffled(
        settings->main.fudaList(), settings->practice.deadCards, settings->practice.deadCardBias,
        openings, false, *random);
    // The engine may not be idle yet: the round then starts at its idle report.
    begin(next);
}

void ReadingSession::finish()
{
    reading = false;
    waiting.reset();
    wantPlaying = false;
    const bool wasPlaying = std::exchange(playing, false);
    const bool saved = recorder.finish(historyFolder) != ReadingHistory::SaveResult::Failed;
    if (wasPlaying)
        emit playingChanged(false);
    emit readingEnded();
    // After the end, so that it stays on whatever shows the end.
    if (!saved)
        emit historyNotSaved(historyFolder);
}
