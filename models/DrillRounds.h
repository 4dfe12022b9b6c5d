#ifndef DRILLROUNDS_H
#define DRILLROUNDS_H

#include "DrillRecord.h"
#include "KimarijiModel.h"
#include "TimingTable.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <optional>

class QRandomGenerator;

// The cards of one drill: those laid out on the field and the order in which
// they are read, dead cards (cards not on the field) shuffled in.
struct DrillDeal
{
    QList<int> field; // as laid out
    QList<int> order; // field cards and dead cards, in reading order
    QSet<int> dead;

    // `count` cards drawn from `candidates` (fewer if fewer are given) and
    // `deadCount` of the other cards of the hundred, all shuffled.
    static DrillDeal draw(const QList<int> &candidates, int count, int deadCount,
                          QRandomGenerator &random);
};

// A verse for the reader to read after a pause.
struct DrillVerse
{
    int card = 0;
    int half = 1; // 1 upper, 2 lower
    int pauseMs = 0;

    bool operator==(const DrillVerse &other) const = default;
};

// How a card's round ended, for the window's feedback line.
struct DrillRoundEnd
{
    DrillRow row;
    int touched = 0; // the card the player took; 0 when none
    QString staticKimariji; // the card's deciding syllables with all hundred unread
};

// The rounds of a take drill as at a game, on the audio clock and without a
// timer: the upper verse of each card in the order is read and the player
// takes. The right card leaves the field; a wrong card, or any take while a
// dead card is read, is a fault and also ends the round (the card read leaves
// the field, as if the opponent had taken it); no take within the limit after
// the reference is a miss, or a pass for a dead card. After a round the lower
// verse is read, then the next card's upper verse. The drill ends when the
// field is empty (once the upper verse of its last round has been heard out),
// the order is read out, or on stop.
//
// The deciding syllables are those of the moment, as the poem panel counts
// them: the unread cards start as the field cards, or as all hundred when
// dead cards are mixed in, and a card stops competing once it has been read.
class DrillRounds
{
public:
    static constexpr qint64 DefaultLimitMs = 10000;
    static constexpr int DefaultUpperPauseMs = 1000; // before a lower verse
    static constexpr int DefaultNextPauseMs = 2000; // before the next card

    DrillRounds(KimarijiModel kimariji, TimingTable timing, DrillDeal deal,
                qint64 limitMs = DefaultLimitMs);

    void setPauses(int beforeLowerMs, int beforeNextMs);
    // A listening drill: each upper verse is handed out to stop right after
    // its deciding syllables of the moment (when the timing reaches them).
    void setListening(bool listening) { listeningOnly = listening; }
    // Where a verse handed out stops in a listening drill, in ms from its
    // file's start: right after its deciding syllables. None: read whole.
    std::optional<qint64> stopOf(const DrillVerse &verse) const;
    // Where the field cards lie on the game field: the rows of these cards
    // record it. None on the grid.
    void setFieldRows(const QHash<int, FieldRow> &rows) { fieldRows = rows; }

    // The verse due to be read now, handed out once; nothing while the
    // player is to take or a verse sounds.
    std::optional<DrillVerse> takeDueVerse();

    // The reader's reports, on the audio clock. A verse started again (Repeat)
    // while its round is open moves the reference to the new hearing.
    void verseStarted(int card, int half, qint64 startMs, qint64 trimmedLeadMs, double speed);
    void verseEnded(int card, int half);

    // A take on the field. Nothing when no round is open or the card is not
    // on the field (any more).
    std::optional<DrillRoundEnd> take(int card, qint64 atMs);
    // Ends the open round as missed / passed once its deadline has come.
    std::optional<DrillRoundEnd> expire(qint64 nowMs);
    // Ends the open round as missed / passed now (Next during the take).
    std::optional<DrillRoundEnd> giveUp();
    void stop();

    bool isRoundOpen() const { return roundOpen; }
    bool isFinished() const { return finished; }
    // When the open round is missed; nothing before the reference is known.
    std::optional<qint64> deadlineMs() const;
    int currentCard() const;
    QList<int> fieldCards() const { return field; }
    const DrillDeal &deal() const { return cards; }
    QList<DrillRow> rows() const { return done; }
    qint64 limitMs() const { return limit; }

private:
    DrillRoundEnd closeRound(DrillResult result, int touched, std::optional<qint64> reactionMs);
    void advance();

    KimarijiModel kimariji;
    TimingTable timing;
    DrillDeal cards;
    qint64 limit;
    int upperPauseMs = DefaultUpperPauseMs;
    int nextPauseMs = DefaultNextPauseMs;

    QList<int> field;
    QHash<int, FieldRow> fieldRows;
    QList<DrillRow> done;
    qsizetype index = 0;
    std::optional<DrillVerse> due;
    bool roundOpen = false;
    bool roundClosed = false;
    bool upperEnded = false;
    bool finished = false;
    bool lastRoundClosed = false; // the field is empty; the upper verse still sounds
    bool listeningOnly = false;
    std::optional<qint64> referenceMs;
    DrillReference reference = DrillReference::Kimariji;
    QString kimarijiNow;
};

#endif
