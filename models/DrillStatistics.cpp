#include "DrillStatistics.h"

#include <QMap>

#include <algorithm>

DrillStatistics::DrillStatistics(const QList<QList<DrillRow>> &drills)
{
    QMap<int, CardDrillStats> byCard;
    QMap<int, QList<qint64>> reactions;
    QList<qint64> all;
    // Keyed so that the opponent's side comes first, then the rows in order.
    QMap<std::pair<int, int>, QList<qint64>> byPlace;
    for (const QList<DrillRow> &drill : drills) {
        for (const DrillRow &row : drill) {
            if (row.result == DrillResult::Passed)
                continue;
            CardDrillStats &stats = byCard[row.card];
            stats.card = row.card;
            ++stats.reads;
            switch (row.result) {
            case DrillResult::Taken:
                ++stats.takes;
                if (row.reactionMs) {
                    reactions[row.card].append(*row.reactionMs);
                    all.append(*row.reactionMs);
                    if (row.place)
                        byPlace[{row.place->side == FieldSide::Opponent ? 0 : 1, row.place->row}]
                            .append(*row.reactionMs);
                }
                break;
            case DrillResult::Fault:
                ++stats.faults;
                break;
            case DrillResult::Missed:
                ++stats.misses;
                break;
            case DrillResult::Passed:
                break;
            }
        }
    }
    for (CardDrillStats &stats : byCard) {
        stats.medianReactionMs = median(reactions.value(stats.card));
        perCard.append(stats);
    }
    overallMedianMs = median(all);
    for (auto it = byPlace.cbegin(); it != byPlace.cend(); ++it) {
        const FieldRow place {it.key().first == 0 ? FieldSide::Opponent : FieldSide::Own,
                              it.key().second};
        perPlace.append({place, static_cast<int>(it.value().size()), median(it.value())});
    }

    std::stable_sort(perCard.begin(), perCard.end(),
                     [](const CardDrillStats &a, const CardDrillStats &b) {
                         const int errorsA = a.faults + a.misses;
                         const int errorsB = b.faults + b.misses;
                         if (errorsA != errorsB)
                             return errorsA > errorsB;
                         const qint64 slowA = a.medianReactionMs.value_or(-1000000);
                         const qint64 slowB = b.medianReactionMs.value_or(-1000000);
                         if (slowA != slowB)
                             return slowA > slowB;
                         return a.card < b.card;
                     });
}

QList<int> DrillStatistics::weakCards(int count) const
{
    QList<int> weak;
    for (const CardDrillStats &stats : perCard) {
        if (weak.size() >= count)
            break;
        const bool slow = stats.medianReactionMs && overallMedianMs
            && *stats.medianReactionMs >= *overallMedianMs;
        if (stats.faults + stats.misses > 0 || slow)
            weak.append(stats.card);
    }
    return weak;
}

std::optional<qint64> DrillStatistics::median(QList<qint64> values)
{
    if (values.isEmpty())
        return std::nullopt;
    std::sort(values.begin(), values.end());
    const qsizetype mid = values.size() / 2;
    if (values.size() % 2 == 1)
        return values.at(mid);
    return (values.at(mid - 1) + values.at(mid)) / 2;
}
