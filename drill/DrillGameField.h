#ifndef DRILLGAMEFIELD_H
#define DRILLGAMEFIELD_H

#include "DrillField.h"
#include "DrillFieldLayout.h"

#include <QHash>
#include <QWidget>

// A taking card on the game field: the card drawn to fill its place, which
// is wider than a card's shape allows in the height a laptop screen leaves
// for six rows.
class DrillGameTile : public DrillTile
{
    Q_OBJECT

public:
    static constexpr int MinimumWidth = 60;
    static constexpr int MinimumHeight = 66;
    // While arranging, the field gives way to the results below it.
    static constexpr int ArrangingHeight = 40;

    DrillGameTile(int card, const QString &kana, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QStringList columns;
};

// The cards as at a game (DrillFieldLayout decides where): the opponent's
// side at the top, the player's at the bottom, a line between. While taking,
// a press, Space or Enter takes and the arrow keys move between the cards as
// they lie; otherwise the player's own cards can be dragged to new places.
// A taken card's tile is removed, so it leaves the accessibility tree too.
class DrillGameField : public QWidget
{
    Q_OBJECT

public:
    explicit DrillGameField(QWidget *parent = nullptr);

    void setField(const DrillFieldLayout &layout, const QHash<int, QString> &texts);
    const DrillFieldLayout &fieldLayout() const { return laid; }
    void removeCard(int card);
    // When taking ends, the cards of the drill come back to their places for
    // the player to arrange.
    void setTakingEnabled(bool enabled);
    // The player's side placed again at random (not while taking).
    void shuffleOwnSide();
    DrillTile *tile(int card) const { return tiles.value(card); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The moment of the press or key, for the caller to read the clock at once.
    void cardPressed(int card);
    // The player's side was arranged anew (dragged or shuffled).
    void ownSlotsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QRect cellRect(QPoint cell) const;
    QPoint cellAt(QPoint pos) const;
    void placeTiles();
    void makeTiles();
    void focusCard(int card);

    DrillFieldLayout laid;
    DrillFieldLayout dealt; // as set, before any card was taken
    QHash<int, QString> kana;
    QHash<int, DrillTile *> tiles;
    bool taking = false;
    int dragged = 0;
    QPoint dragOffset;
};

#endif
