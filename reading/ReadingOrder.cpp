#include "ReadingOrder.h"

#include "DeadCardDraw.h"
#include "FudaShuffle.h"

#include <vector>

namespace ReadingOrder {

ReadingSetup shuffled(const QList<int> &selected, int deadCount, bool preamble,
                      QRandomGenerator &random)
{
    // Dead cards only hide selected ones: without a selected card there is
    // nothing to hide, and a reading of dead cards alone would be no practice.
    const QList<int> drawn = deadCount > 0 && !selected.isEmpty()
        ? DeadCardDraw::draw(selected, deadCount, random)
        : QList<int> {};
    std::vector<int> order(selected.cbegin(), selected.cend());
    order.insert(order.end(), drawn.cbegin(), drawn.cend());
    ShuffleFuda(order.data(), static_cast<int>(order.size()));
    return fixed(QList<int>(order.cbegin(), order.cend()), QSet<int>(drawn.cbegin(), drawn.cend()),
                 preamble);
}

ReadingSetup shuffled(const QList<int> &selected, int deadCount, int deadCardBias,
                      const QHash<int, QString> &openings, bool preamble, QRandomGenerator &random)
{
    if (deadCardBias <= 0 || deadCount <= 0 || selected.isEmpty())
        return shuffled(selected, deadCount, preamble, random);
    const QList<int> drawn =
        DeadCardDraw::drawTempting(selected, deadCount, deadCardBias, openings, random);
    std::vector<int> order(selected.cbegin(), selected.cend());
    order.insert(order.end(), drawn.cbegin(), drawn.cend());
    ShuffleFuda(order.data(), static_cast<int>(order.size()));
    return fixed(QList<int>(order.cbegin(), order.cend()), QSet<int>(drawn.cbegin(), drawn.cend()),
                 preamble);
}

ReadingSetup fixed(const QList<int> &order, const QSet<int> &deadCards, bool preamble)
{
    ReadingSetup setup;
    setup.playList = order;
    setup.cardCount = static_cast<int>(order.size());
    for (int card : order) {
        if (deadCards.contains(card))
            setup.deadCards.insert(card);
    }
    if (preamble)
        setup.playList.prepend(0);
    return setup;
}

} // namespace ReadingOrder
