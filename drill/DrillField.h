#ifndef DRILLFIELD_H
#define DRILLFIELD_H

#include <QAbstractButton>
#include <QHash>
#include <QList>
#include <QWidget>

class QGridLayout;

// One taking card: its text written vertically, right to left, a column of
// up to ColumnKana kana each. Pressing it (mouse, touch, Space) takes it.
class DrillTile : public QAbstractButton
{
    Q_OBJECT

public:
    static constexpr int ColumnKana = 5;
    // A taking card is 52 by 73 mm.
    static constexpr double CardWidth = 52.0;
    static constexpr double CardHeight = 73.0;
    static constexpr int MinimumWidth = 60; // px

    DrillTile(int card, const QString &kana, QWidget *parent = nullptr);
    int card() const { return number; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int number;
    QStringList columns;
};

// The cards on the field, in rows like a player's side. A tile taken away
// is removed and leaves its place empty, as on the tatami.
class DrillField : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Rows = 3;

    explicit DrillField(QWidget *parent = nullptr);

    // Lays out these cards with their taking-card texts (by card number).
    void setCards(const QList<int> &cards, const QHash<int, QString> &texts);
    void removeCard(int card);
    void setTakingEnabled(bool enabled);
    DrillTile *tile(int card) const { return tiles.value(card); }

signals:
    // The moment of the press, for the caller to read the clock at once.
    void cardPressed(int card);

private:
    QGridLayout *grid = nullptr;
    QHash<int, DrillTile *> tiles;
};

#endif
