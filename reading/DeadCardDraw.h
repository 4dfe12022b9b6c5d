#ifndef DEADCARDDRAW_H
#define DEADCARDDRAW_H

#include <QList>

class QRandomGenerator;

namespace DeadCardDraw {

// Draws up to `count` cards of 1..100 that are not among `selected` (all
// the remaining ones when fewer remain), in random order, each once.
QList<int> draw(const QList<int> &selected, int count, QRandomGenerator &random);

} // namespace DeadCardDraw

#endif
