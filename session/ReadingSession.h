#ifndef READINGSESSION_H
#define READINGSESSION_H

#include "ReadingEngine.h"
#include "ReadingOrder.h"
#include "ReadingRecorder.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <optional>

struct AppSettings;
class QRandomGenerator;
class Voices;

// One reading from its start to its end, whoever drives it (the window and
// its keys, the history window, the media keys): the settings it was started
// with, its order and dead cards, the progress ("n / N", the card read last),
// the deciding syllables as cards are read and the history record it leaves.
// Its playing and paused states are what the engine reported, never assumed
// ahead of it. Reports of the engine outside a reading of this session (the
// options dialog's sample) are not a reading and are ignored. A start the
// engine refuses because it is still ending another reading (the sample)
// waits for that end and is handed over again then.
// An endless reading (the practice setting) does not end with its last card:
// each round read to its end leaves its history file and the selected cards
// are shuffled again into the next round, without the preamble, until the
// reading is stopped.
class ReadingSession : public QObject
{
    Q_OBJECT

public:
    // Why a start did nothing.
    enum class Refusal { NoOutput, NothingSelected };

    // The engine is not owned.
    explicit ReadingSession(ReadingEngine *engine, QObject *parent = nullptr);

    // The settings a start reads (cards, preamble, pauses, voice, practice);
    // not owned, read only at the start of a reading.
    void setSettings(const AppSettings *settings);
    // Whether the first voice is there to read; without it nothing starts.
    void setVoiceAvailable(bool available);
    void setHistoryFolder(const QString &folder);
    // Where the verse files are, to name the cards without recordings at a
    // start; not owned. Without it no card is named.
    void setVoices(const Voices *voices);
    // The generator of the dead-card draw (tests: a seeded one); not owned.
    // The order itself does not come from it: ShuffleFuda shuffles it, seeded
    // from the second of the day.
    void setRandomGenerator(QRandomGenerator *random);

    // A new reading of the selected cards, shuffled; during a reading, pause
    // or resume it.
    void startOrPause();
    // A new reading of exactly this order (a past reading read again); false
    // during a reading, without cards or without the voice.
    bool readInOrder(const QList<int> &order, const QSet<int> &dead);
    // Ends the reading (it asks nobody: that is the caller's part).
    void stop();
    // Ends the pause under way / reads the current verse again.
    void next();
    void repeat();
    // The program quits during a reading: what was read is kept as for a stop.
    void endOnQuit();

    bool canStart() const { return voiceAvailable && !reading; }
    bool isReading() const { return reading; }
    // Sounding or counting a pause, as the engine last reported.
    bool isPlaying() const { return playing; }
    int playCount() const { return counted; }
    int cardCount() const { return setup.cardCount; }
    int lastCard() const { return lastCounted; }
    QList<int> playList() const { return setup.playList; }
    QSet<int> deadCards() const { return setup.deadCards; }
    // Whether this reading goes on round after round, and which round it is
    // in (1 for the first; 0 outside a reading).
    bool isEndless() const { return endless; }
    int round() const { return reading ? roundNumber : 0; }
    const ReadingRecorder &record() const { return recorder; }

signals:
    // A reading was handed to the engine / the engine began it.
    void readingStarted();
    // Before the engine starts: cards of this reading that the voice cannot
    // read (ReaderGaps), sorted; not sent when there are none.
    void cardsWithoutRecordings(const QList<int> &cards);
    void sequenceStarted();
    // The engine's reports during a reading. A card's upper verse read again
    // after a resume is reported again; the preamble's upper verse is not.
    void upperVerseStarted(int card);
    void upperVerseEnded();
    void lowerVerseStarted(int card);
    void lowerVerseEnded();
    // A card was read for the first time in this reading: it is counted and
    // recorded; kimarijiLength kana of its reading decided it then, and it
    // shortened the deciding syllables of `changes`.
    void cardRead(int card, int kimarijiLength, const QList<KimarijiChange> &changes);
    void playingChanged(bool playing);
    void readingEnded();
    // An endless reading went on into its next round (2, 3, ...), its order
    // shuffled anew; the previous round's history is saved by then.
    void roundStarted(int round);
    void startRefused(ReadingSession::Refusal reason);
    void historyNotSaved(const QString &folder);

private:
    // Hands the reading to the engine and starts it; false when the engine
    // refused it (the reading then waits in `waiting`).
    bool begin(const ReadingSetup &reading);
    // The engine reported an end or a stop outside a reading of this session.
    void onEngineIdle();
    // The engine reported the end of the reading it was given.
    void onSequenceEnded();
    // Whether the round just ended goes on into another one.
    bool goesOn() const;
    void startNextRound();
    void finish();
    void onUpperStarted(int card);
    void onStateChanged(int state);

    ReadingEngine *engine;
    const AppSettings *settings = nullptr;
    QRandomGenerator *random = nullptr;
    bool voiceAvailable = false;
    QString historyFolder;
    const Voices *voices = nullptr;

    bool reading = false;
    bool playing = false;
    bool wantPlaying = false; // what the last request asked for
    ReadingSetup setup;
    std::optional<ReadingSetup> waiting; // refused by a busy engine, for its end
    bool startsEndless = false; // the reading being handed over is endless
    bool endless = false; // this reading starts over after its last card
    bool stopAsked = false; // a stop was requested: the round now ending is the last
    int roundNumber = 1;
    int counted = 0;
    int lastCounted = -1;
    ReadingRecorder recorder;
    QHash<int, QString> openings; // of every upper verse, for the dead cards that tempt
    qint64 startedClockMs = 0; // engine->clockMs() at the start
};

#endif
