#ifndef READINGORDER_H
#define READINGORDER_H

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

class QRandomGenerator;

// The cards of one reading in the order they will be read.
struct ReadingSetup
{
    QList<int> playList; // reading order; a leading 0 is the preamble
    QSet<int> deadCards; // cards among them that are not on the tatami
    int cardCount = 0; // the N of the "n / N" progress: every card but the preamble
};

namespace ReadingOrder {

// A new reading: the selected cards and `deadCount` cards drawn from the
// rest, shuffled together; the preamble first when it is on. Without a
// selected card no dead card is drawn.
ReadingSetup shuffled(const QList<int> &selected, int deadCount, bool preamble,
                      QRandomGenerator &random);

// The same with dead cards that tempt: `deadCardBias` (0..100) favours dead
// cards sharing their first sounds with selected ones (see
// DeadCardDraw::drawTempting); `openings` are the upper verses by sound, by
// card. At 0, or without a selected card, exactly the reading above.
ReadingSetup shuffled(const QList<int> &selected, int deadCount, int deadCardBias,
                      const QHash<int, QString> &openings, bool preamble, QRandomGenerator &random);

// A reading of exactly this order, as when a past reading is read again.
ReadingSetup fixed(const QList<int> &order, const QSet<int> &deadCards, bool preamble);

} // namespace ReadingOrder

#endif
