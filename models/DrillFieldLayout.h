#ifndef DRILLFIELDLAYOUT_H
#define DRILLFIELDLAYOUT_H

#include "DrillFieldSettings.h"
#include "DrillRecord.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QPoint>

#include <optional>

class QRandomGenerator;

// A place on the game field.
struct FieldPlace
{
    FieldSide side = FieldSide::Own;
    int row = 1; // 1 the front row at the middle line .. 3 the back row
    bool right = false; // the right half, as the player sees the field
    int slot = 0; // 0 at the outer edge of its half

    FieldRow fieldRow() const { return {side, row}; }
    bool operator==(const FieldPlace &other) const = default;
};

enum class FieldStep { Up, Down, Left, Right };

// The cards of a drill laid out as at a game: the player's side near, the
// opponent's far, three rows each, each row split into a left and a right
// half of HalfSlots slots. On screen the field is a grid of ScreenRows by
// ScreenColumns cells, the opponent's back row at the top and the player's
// back row at the bottom; each half fills from its outer edge.
class DrillFieldLayout
{
public:
    static constexpr int Rows = 3;
    static constexpr int HalfSlots = 8;
    static constexpr int SideSlots = Rows * 2 * HalfSlots;
    static constexpr int SideCards = 25;
    static constexpr int ScreenRows = 2 * Rows;
    static constexpr int ScreenColumns = 2 * HalfSlots;
    static_assert(SideSlots == DrillFieldSettings::SideSlots);

    // Splits the cards (in the order dealt) between the sides, the player's
    // side taking the larger half and neither more than SideCards (cards
    // beyond 2 * SideCards are left out). The player's cards go to their
    // slots in ownSlots when free, to a free slot of the same half row when
    // not, or at random; the opponent's are placed at random.
    static DrillFieldLayout deal(const QList<int> &cards, const QMap<int, int> &ownSlots,
                                 QRandomGenerator &random);

    // Cards at given places (one card a place).
    static DrillFieldLayout fromPlaces(const QHash<int, FieldPlace> &places);

    bool isEmpty() const { return places.isEmpty(); }
    QList<int> cards() const; // by card number
    std::optional<FieldPlace> place(int card) const;
    int cardAt(const FieldPlace &place) const; // 0 when empty
    // Where each card lies, for the record.
    QHash<int, FieldRow> rows() const;
    void remove(int card);

    // A card of the player's side moved to another place on that side,
    // swapping places with a card there. False (nothing moved) otherwise.
    bool move(int card, const FieldPlace &to);
    // The player's side placed again at random.
    void shuffleOwnSide(QRandomGenerator &random);
    // The player's cards at their slots now.
    QMap<int, int> ownSlots() const;
    // The player's arrangement kept up to date: each card on the player's
    // side keeps the slot it has now; cards elsewhere keep the slot they
    // had. True when a slot was new or moved.
    bool keepOwnSlots(QMap<int, int> &kept) const;

    // The card an arrow key leads to from `card`, as the field is laid out:
    // left and right along the screen row across the halves, up and down to
    // the nearest screen row with a card (across the middle line), there the
    // card nearest in column. 0 when there is none that way.
    int neighbour(int card, FieldStep step) const;
    // The card lying nearest to `card`, where the keyboard goes on once it
    // has been taken. 0 when it is the last.
    int nearest(int card) const;
    // The card a keyboard starts from: the player's front row, leftmost.
    int first() const;

    static int slotNumber(const FieldPlace &place); // on its side, 0..SideSlots-1
    static FieldPlace fromSlotNumber(FieldSide side, int number);
    // Column (x) and row (y) of the screen grid.
    static QPoint cell(const FieldPlace &place);
    static FieldPlace atCell(QPoint cell); // cell within the grid

private:
    void placeAtRandom(int card, FieldSide side, QRandomGenerator &random);
    bool placeInHalfRow(int card, FieldPlace halfRow);

    QHash<int, FieldPlace> places;
};

#endif
