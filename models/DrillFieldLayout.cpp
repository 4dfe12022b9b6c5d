#include "DrillFieldLayout.h"

#include <QRandomGenerator>

#include <algorithm>

namespace {

// The half rows of a side, as places at their outer slot.
QList<FieldPlace> halfRows(FieldSide side)
{
    QList<FieldPlace> halves;
    for (int row = 1; row <= DrillFieldLayout::Rows; ++row) {
        for (bool right : {false, true})
            halves.append({side, row, right, 0});
    }
    return halves;
}

} // namespace

DrillFieldLayout DrillFieldLayout::deal(const QList<int> &cards, const QMap<int, int> &ownSlots,
                                        QRandomGenerator &random)
{
    DrillFieldLayout layout;
    const qsizetype total = std::min<qsizetype>(cards.size(), 2 * SideCards);
    const qsizetype own = std::min<qsizetype>((total + 1) / 2, SideCards);
    QList<int> displaced;
    for (qsizetype i = 0; i < own; ++i) {
        const int card = cards.at(i);
        const auto home = ownSlots.constFind(card);
        if (home == ownSlots.cend()) {
            displaced.append(card);
            continue;
        }
        const FieldPlace place = fromSlotNumber(FieldSide::Own, *home);
        if (layout.cardAt(place) == 0)
            layout.places.insert(card, place);
        else if (!layout.placeInHalfRow(card, place))
            displaced.append(card);
    }
    for (int card : std::as_const(displaced))
        layout.placeAtRandom(card, FieldSide::Own, random);
    for (qsizetype i = own; i < total; ++i)
        layout.placeAtRandom(cards.at(i), FieldSide::Opponent, random);
    return layout;
}

DrillFieldLayout DrillFieldLayout::fromPlaces(const QHash<int, FieldPlace> &places)
{
    DrillFieldLayout layout;
    layout.places = places;
    return layout;
}

QList<int> DrillFieldLayout::cards() const
{
    QList<int> all = places.keys();
    std::sort(all.begin(), all.end());
    return all;
}

std::optional<FieldPlace> DrillFieldLayout::place(int card) const
{
    const auto found = places.constFind(card);
    if (found == places.cend())
        return std::nullopt;
    return *found;
}

int DrillFieldLayout::cardAt(const FieldPlace &place) const
{
    for (auto it = places.cbegin(); it != places.cend(); ++it) {
        if (it.value() == place)
            return it.key();
    }
    return 0;
}

QHash<int, FieldRow> DrillFieldLayout::rows() const
{
    QHash<int, FieldRow> rows;
    for (auto it = places.cbegin(); it != places.cend(); ++it)
        rows.insert(it.key(), it.value().fieldRow());
    return rows;
}

void DrillFieldLayout::remove(int card)
{
    places.remove(card);
}

bool DrillFieldLayout::move(int card, const FieldPlace &to)
{
    const auto from = places.find(card);
    if (from == places.end() || from->side != FieldSide::Own || to.side != FieldSide::Own
        || to.row < 1 || to.row > Rows || to.slot < 0 || to.slot >= HalfSlots)
        return false;
    if (const int there = cardAt(to); there != 0)
        places[there] = *from;
    places[card] = to;
    return true;
}

void DrillFieldLayout::shuffleOwnSide(QRandomGenerator &random)
{
    QList<int> own;
    for (auto it = places.cbegin(); it != places.cend(); ++it) {
        if (it->side == FieldSide::Own)
            own.append(it.key());
    }
    std::sort(own.begin(), own.end()); // the same draw for the same seed
    for (int card : std::as_const(own))
        places.remove(card);
    for (int card : std::as_const(own))
        placeAtRandom(card, FieldSide::Own, random);
}

QMap<int, int> DrillFieldLayout::ownSlots() const
{
    QMap<int, int> bySlot;
    for (auto it = places.cbegin(); it != places.cend(); ++it) {
        if (it->side == FieldSide::Own)
            bySlot.insert(it.key(), slotNumber(*it));
    }
    return bySlot;
}

bool DrillFieldLayout::keepOwnSlots(QMap<int, int> &kept) const
{
    const QMap<int, int> now = ownSlots();
    bool changed = false;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (kept.value(it.key(), -1) != it.value()) {
            kept.insert(it.key(), it.value());
            changed = true;
        }
    }
    return changed;
}

int DrillFieldLayout::neighbour(int card, FieldStep step) const
{
    const std::optional<FieldPlace> from = place(card);
    if (!from)
        return 0;
    const QPoint here = cell(*from);
    int best = 0;
    QPoint bestCell;
    if (step == FieldStep::Left || step == FieldStep::Right) {
        const int sign = step == FieldStep::Right ? 1 : -1;
        for (auto it = places.cbegin(); it != places.cend(); ++it) {
            const QPoint there = cell(*it);
            const int ahead = (there.x() - here.x()) * sign;
            if (there.y() == here.y() && ahead > 0
                && (best == 0 || ahead < (bestCell.x() - here.x()) * sign)) {
                best = it.key();
                bestCell = there;
            }
        }
        return best;
    }
    const int sign = step == FieldStep::Down ? 1 : -1;
    for (int y = here.y() + sign; y >= 0 && y < ScreenRows; y += sign) {
        for (auto it = places.cbegin(); it != places.cend(); ++it) {
            const QPoint there = cell(*it);
            if (there.y() != y)
                continue;
            const int distance = std::abs(there.x() - here.x());
            const int bestDistance = std::abs(bestCell.x() - here.x());
            if (best == 0 || distance < bestDistance
                || (distance == bestDistance && there.x() < bestCell.x())) {
                best = it.key();
                bestCell = there;
            }
        }
        if (best != 0)
            return best;
    }
    return 0;
}

int DrillFieldLayout::nearest(int card) const
{
    const std::optional<FieldPlace> from = place(card);
    if (!from)
        return first();
    const QPoint here = cell(*from);
    int best = 0;
    int bestDistance = 0;
    QPoint bestCell;
    for (auto it = places.cbegin(); it != places.cend(); ++it) {
        if (it.key() == card)
            continue;
        const QPoint there = cell(*it);
        // A row apart weighs as two columns: tiles are taller than wide.
        const int dy = 2 * (there.y() - here.y());
        const int dx = there.x() - here.x();
        const int distance = dx * dx + dy * dy;
        if (best == 0 || distance < bestDistance
            || (distance == bestDistance
                && std::pair(there.y(), there.x()) < std::pair(bestCell.y(), bestCell.x()))) {
            best = it.key();
            bestDistance = distance;
            bestCell = there;
        }
    }
    return best;
}

int DrillFieldLayout::first() const
{
    int best = 0;
    QPoint bestCell;
    for (auto it = places.cbegin(); it != places.cend(); ++it) {
        // The player's front row first, then further back, then the opponent's.
        const QPoint there = cell(*it);
        const int order = there.y() >= Rows ? there.y() : ScreenRows + (Rows - 1 - there.y());
        const int bestOrder =
            bestCell.y() >= Rows ? bestCell.y() : ScreenRows + (Rows - 1 - bestCell.y());
        if (best == 0 || order < bestOrder || (order == bestOrder && there.x() < bestCell.x())) {
            best = it.key();
            bestCell = there;
        }
    }
    return best;
}

int DrillFieldLayout::slotNumber(const FieldPlace &place)
{
    return ((place.row - 1) * 2 + (place.right ? 1 : 0)) * HalfSlots + place.slot;
}

FieldPlace DrillFieldLayout::fromSlotNumber(FieldSide side, int number)
{
    number = std::clamp(number, 0, SideSlots - 1);
    const int half = number / HalfSlots;
    return {side, half / 2 + 1, half % 2 == 1, number % HalfSlots};
}

QPoint DrillFieldLayout::cell(const FieldPlace &place)
{
    const int x = place.right ? ScreenColumns - 1 - place.slot : place.slot;
    const int y = place.side == FieldSide::Opponent ? Rows - place.row : Rows - 1 + place.row;
    return {x, y};
}

FieldPlace DrillFieldLayout::atCell(QPoint cell)
{
    const int x = std::clamp(cell.x(), 0, ScreenColumns - 1);
    const int y = std::clamp(cell.y(), 0, ScreenRows - 1);
    const bool right = x >= HalfSlots;
    const int slot = right ? ScreenColumns - 1 - x : x;
    if (y < Rows)
        return {FieldSide::Opponent, Rows - y, right, slot};
    return {FieldSide::Own, y - Rows + 1, right, slot};
}

void DrillFieldLayout::placeAtRandom(int card, FieldSide side, QRandomGenerator &random)
{
    QList<FieldPlace> open;
    for (const FieldPlace &half : halfRows(side)) {
        for (int slot = 0; slot < HalfSlots; ++slot) {
            if (cardAt({half.side, half.row, half.right, slot}) == 0) {
                open.append(half);
                break;
            }
        }
    }
    if (open.isEmpty())
        return; // a side holds SideSlots cards: never reached with SideCards
    placeInHalfRow(card, open.at(random.bounded(static_cast<int>(open.size()))));
}

bool DrillFieldLayout::placeInHalfRow(int card, FieldPlace halfRow)
{
    for (int slot = 0; slot < HalfSlots; ++slot) {
        halfRow.slot = slot;
        if (cardAt(halfRow) == 0) {
            places.insert(card, halfRow);
            return true;
        }
    }
    return false;
}
