#ifndef DEADCARDDRAW_H
#define DEADCARDDRAW_H

#include <QHash>
#include <QList>
#include <QString>

class QRandomGenerator;

namespace DeadCardDraw {

// Draws up to `count` cards of 1..100 that are not among `selected` (all
// the remaining ones when fewer remain), in random order, each once.
QList<int> draw(const QList<int> &selected, int count, QRandomGenerator &random);

// How strongly a card tempts: the number of sounds its opening shares with
// the opening of the selected card it is closest to (0 when none shares
// even the first sound). `openings` are the upper verses by sound, by card.
int temptation(int card, const QList<int> &selected, const QHash<int, QString> &openings);

// Like draw(), but dead cards that share their first sounds with a selected
// card come more often, so that the player has to wait for the deciding
// syllables. `bias` runs from 0 to 100. Each card is drawn with the weight
//     (1 - b) + b * t,   b = bias / 100, t = temptation(card)
// one after another without putting back: at 0 every card is equally likely
// (and the draw is exactly draw()), higher values favour the cards sharing a
// longer start, and at 100 a card sharing nothing is drawn only when no
// tempting card is left.
QList<int> drawTempting(const QList<int> &selected, int count, int bias,
                        const QHash<int, QString> &openings, QRandomGenerator &random);

} // namespace DeadCardDraw

#endif
