#ifndef DRILLSTATISTICS_H
#define DRILLSTATISTICS_H

#include "DrillRecord.h"

#include <QList>

#include <optional>

// One card over the recent drills.
struct CardDrillStats
{
    int card = 0;
    int reads = 0; // rounds in which it was read
    int takes = 0;
    int faults = 0; // wrong takes while it was read (dead included)
    int misses = 0;
    std::optional<qint64> medianReactionMs; // of its takes

    bool operator==(const CardDrillStats &other) const = default;
};

// The takes of the cards that lay in one row of one side of the game field.
struct PlaceDrillStats
{
    FieldRow place;
    int takes = 0;
    std::optional<qint64> medianReactionMs;

    bool operator==(const PlaceDrillStats &other) const = default;
};

// Per card statistics over drills as recorded: the weakest first, that is
// the most faults and misses, then the slowest median take, then the card
// number. A card only ever passed as a dead card has no entry.
class DrillStatistics
{
public:
    static constexpr int WeakCardCount = 20;

    explicit DrillStatistics(const QList<QList<DrillRow>> &drills);

    const QList<CardDrillStats> &cards() const { return perCard; }
    // Up to `count` cards from the front of the order that were faulted,
    // missed, or taken no faster than the median of all takes.
    QList<int> weakCards(int count = WeakCardCount) const;
    // Reaction times split by where the cards lay on the game field: the
    // rows taken from at least once, the opponent's side first, each side
    // from the middle line out. Empty when no take was on the game field.
    const QList<PlaceDrillStats> &places() const { return perPlace; }

    static std::optional<qint64> median(QList<qint64> values);

private:
    QList<CardDrillStats> perCard;
    QList<PlaceDrillStats> perPlace;
    std::optional<qint64> overallMedianMs;
};

#endif
