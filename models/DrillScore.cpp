#include "DrillScore.h"

#include "DrillStatistics.h"

#include <algorithm>

DrillScore DrillScore::of(const QList<DrillRow> &rows)
{
    DrillScore score;
    QList<qint64> reactions;
    for (const DrillRow &row : rows) {
        switch (row.result) {
        case DrillResult::Taken:
            ++score.taken;
            if (row.reactionMs)
                reactions.append(*row.reactionMs);
            break;
        case DrillResult::Fault:
            ++score.faults;
            break;
        case DrillResult::Missed:
            ++score.misses;
            break;
        case DrillResult::Passed:
            break;
        }
    }
    score.medianMs = DrillStatistics::median(reactions);
    if (!reactions.isEmpty())
        score.bestMs = *std::min_element(reactions.cbegin(), reactions.cend());
    return score;
}

DrillScore::Change DrillScore::since(const DrillScore &earlier) const
{
    Change change;
    change.taken = taken - earlier.taken;
    change.faults = faults - earlier.faults;
    change.misses = misses - earlier.misses;
    if (medianMs && earlier.medianMs)
        change.medianMs = *medianMs - *earlier.medianMs;
    return change;
}

std::optional<DrillScore::Change> DrillScore::lastChange(const QList<QList<DrillRow>> &newestFirst)
{
    if (newestFirst.size() < 2)
        return std::nullopt;
    return of(newestFirst.at(0)).since(of(newestFirst.at(1)));
}
