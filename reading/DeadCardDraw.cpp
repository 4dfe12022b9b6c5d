#include "DeadCardDraw.h"

#include <QRandomGenerator>
#include <QSet>

#include <algorithm>

namespace {
constexpr int FirstCard = 1;
constexpr int LastCard = 100;
} // namespace

namespace DeadCardDraw {

QList<int> draw(const QList<int> &selected, int count, QRandomGenerator &random)
{
    const QSet<int> taken(selected.cbegin(), selected.cend());
    QList<int> rest;
    for (int card = FirstCard; card <= LastCard; ++card) {
        if (!taken.contains(card))
            rest.append(card);
    }
    // Fisher-Yates over the first `wanted` positions.
    const qsizetype wanted = std::clamp<qsizetype>(count, 0, rest.size());
    for (qsizetype i = 0; i < wanted; ++i) {
        const auto j =
            i + static_cast<qsizetype>(random.bounded(static_cast<quint32>(rest.size() - i)));
        rest.swapItemsAt(i, j);
    }
    return rest.first(wanted);
}

} // namespace DeadCardDraw
