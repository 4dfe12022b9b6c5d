#include "DeadCardDraw.h"

#include <QRandomGenerator>
#include <QSet>

#include <algorithm>
#include <numeric>

namespace {
constexpr int FirstCard = 1;
constexpr int LastCard = 100;
constexpr int MaxBias = 100;

QList<int> cardsNotIn(const QList<int> &selected)
{
    const QSet<int> taken(selected.cbegin(), selected.cend());
    QList<int> rest;
    for (int card = FirstCard; card <= LastCard; ++card) {
        if (!taken.contains(card))
            rest.append(card);
    }
    return rest;
}

int sharedStart(const QString &a, const QString &b)
{
    const qsizetype length = std::min(a.size(), b.size());
    qsizetype shared = 0;
    while (shared < length && a.at(shared) == b.at(shared))
        ++shared;
    return static_cast<int>(shared);
}

} // namespace

namespace DeadCardDraw {

QList<int> draw(const QList<int> &selected, int count, QRandomGenerator &random)
{
    QList<int> rest = cardsNotIn(selected);
    // Fisher-Yates over the first `wanted` positions.
    const qsizetype wanted = std::clamp<qsizetype>(count, 0, rest.size());
    for (qsizetype i = 0; i < wanted; ++i) {
        const auto j =
            i + static_cast<qsizetype>(random.bounded(static_cast<quint32>(rest.size() - i)));
        rest.swapItemsAt(i, j);
    }
    return rest.first(wanted);
}

int temptation(int card, const QList<int> &selected, const QHash<int, QString> &openings)
{
    const QString opening = openings.value(card);
    int longest = 0;
    for (int other : selected) {
        if (other != card)
            longest = std::max(longest, sharedStart(opening, openings.value(other)));
    }
    return longest;
}

QList<int> drawTempting(const QList<int> &selected, int count, int bias,
                        const QHash<int, QString> &openings, QRandomGenerator &random)
{
    const int b = std::clamp(bias, 0, MaxBias);
    if (b == 0)
        return draw(selected, count, random);

    QList<int> rest = cardsNotIn(selected);
    // Weights in hundredths, so that they stay whole numbers.
    QList<qint64> weights;
    weights.reserve(rest.size());
    for (int card : rest)
        weights.append((MaxBias - b) + qint64(b) * temptation(card, selected, openings));

    const qsizetype wanted = std::clamp<qsizetype>(count, 0, rest.size());
    QList<int> drawn;
    drawn.reserve(wanted);
    while (drawn.size() < wanted) {
        const qint64 total = std::accumulate(weights.cbegin(), weights.cend(), qint64(0));
        qsizetype pick = 0;
        if (total == 0) {
            // Nothing tempting is left: the rest are equally likely.
            pick = static_cast<qsizetype>(random.bounded(static_cast<quint32>(rest.size())));
        } else {
            qint64 ticket = static_cast<qint64>(random.bounded(static_cast<quint64>(total)));
            while (ticket >= weights.at(pick))
                ticket -= weights.at(pick++);
        }
        drawn.append(rest.takeAt(pick));
        weights.removeAt(pick);
    }
    return drawn;
}

} // namespace DeadCardDraw
