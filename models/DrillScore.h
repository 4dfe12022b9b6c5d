#ifndef DRILLSCORE_H
#define DRILLSCORE_H

#include "DrillRecord.h"

#include <QList>

#include <optional>

// How one drill went, for the line shown after it: the cards taken, the
// faults and the misses, and the median and best reaction of the takes.
struct DrillScore
{
    int taken = 0;
    int faults = 0;
    int misses = 0; // dead cards left alone are not misses
    std::optional<qint64> medianMs;
    std::optional<qint64> bestMs;

    static DrillScore of(const QList<DrillRow> &rows);
    bool isEmpty() const { return taken == 0 && faults == 0 && misses == 0; }

    // This drill against an earlier one: positive counts and times are more
    // (a slower median is positive); the median's change is known only when
    // both drills have one.
    struct Change
    {
        int taken = 0;
        int faults = 0;
        int misses = 0;
        std::optional<qint64> medianMs;
    };
    Change since(const DrillScore &earlier) const;

    // The drill just finished and the one before it, from the record's
    // newest drills (newest first); nothing when there is no earlier drill.
    static std::optional<Change> lastChange(const QList<QList<DrillRow>> &newestFirst);
};

#endif
