#include "DrillField.h"

#include <QGridLayout>
#include <QPainter>

DrillTile::DrillTile(int card, const QString &kana, QWidget *parent)
    : QAbstractButton(parent)
    , number(card)
{
    for (qsizetype i = 0; i < kana.size(); i += ColumnKana)
        columns.append(kana.mid(i, ColumnKana));
    setAccessibleName(QStringLiteral("%1 %2").arg(card).arg(kana));
    setToolTip(accessibleName());
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
}

QSize DrillTile::sizeHint() const
{
    const int cell = QFontMetrics(font()).height() * 3 / 2;
    const int height = (ColumnKana + 1) * cell;
    return {static_cast<int>(height * CardWidth / CardHeight), height};
}

QSize DrillTile::minimumSizeHint() const
{
    // Still legible, and fifty cards fit across a laptop's screen.
    const QSize hint = sizeHint() * 3 / 4;
    const int width = std::min(hint.width(), MinimumWidth);
    return {width, static_cast<int>(width * CardHeight / CardWidth)};
}

void DrillTile::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The largest upright card that fits, centred.
    QRectF card = QRectF(rect()).adjusted(2, 2, -2, -2);
    const qreal width = std::min(card.width(), card.height() * CardWidth / CardHeight);
    const qreal height = width * CardHeight / CardWidth;
    card = QRectF(card.center().x() - width / 2, card.center().y() - height / 2, width, height);
    painter.setPen(
        QPen(hasFocus() ? palette().highlight().color() : QColor(90, 120, 70), hasFocus() ? 3 : 2));
    painter.setBrush(QColor(250, 246, 232)); // the card's face
    painter.drawRoundedRect(card, 4, 4);

    const qreal cellW = card.width() / (static_cast<qreal>(columns.size()) + 0.5);
    const qreal cellH = card.height() / (ColumnKana + 0.5);
    QFont kanaFont = font();
    kanaFont.setPixelSize(std::max(8, static_cast<int>(std::min(cellW, cellH) * 0.8)));
    painter.setFont(kanaFont);
    painter.setPen(Qt::black);
    // Right to left, top to bottom.
    for (qsizetype c = 0; c < columns.size(); ++c) {
        const qreal x = card.right() - cellW * 0.25 - cellW * static_cast<qreal>(c + 1);
        const QString &column = columns.at(c);
        for (qsizetype k = 0; k < column.size(); ++k) {
            const QRectF cell(x, card.top() + cellH * 0.25 + cellH * static_cast<qreal>(k), cellW,
                              cellH);
            painter.drawText(cell, Qt::AlignCenter, column.at(k));
        }
    }
}

DrillField::DrillField(QWidget *parent)
    : QWidget(parent)
    , grid(new QGridLayout(this))
{
    grid->setSpacing(4);
}

void DrillField::setCards(const QList<int> &cards, const QHash<int, QString> &texts)
{
    qDeleteAll(tiles);
    tiles.clear();
    while (QLayoutItem *left = grid->takeAt(0)) // the places of cards taken
        delete left;
    const auto perRow = std::max<qsizetype>(1, (cards.size() + Rows - 1) / Rows);
    for (qsizetype i = 0; i < cards.size(); ++i) {
        const int card = cards.at(i);
        auto *tile = new DrillTile(card, texts.value(card), this);
        QSizePolicy keepPlace = tile->sizePolicy();
        keepPlace.setRetainSizeWhenHidden(true);
        tile->setSizePolicy(keepPlace);
        connect(tile, &QAbstractButton::pressed, this, [this, card] { emit cardPressed(card); });
        grid->addWidget(tile, static_cast<int>(i / perRow), static_cast<int>(i % perRow));
        tile->show(); // the field may already be on screen
        tiles.insert(card, tile);
    }
    grid->activate(); // tiles in place at once, ready for the first take
}

void DrillField::removeCard(int card)
{
    DrillTile *taken = tiles.take(card);
    if (!taken)
        return;
    // Its place stays empty, as on the tatami; the tile itself goes, so that
    // a screen reader no longer finds it (later, as the press that took it
    // may still be on the stack).
    int row = 0;
    int column = 0;
    int rowSpan = 0;
    int columnSpan = 0;
    grid->getItemPosition(grid->indexOf(taken), &row, &column, &rowSpan, &columnSpan);
    grid->removeWidget(taken);
    const QSize size = taken->size();
    grid->addItem(new QSpacerItem(size.width(), size.height(), QSizePolicy::Maximum,
                                  QSizePolicy::Maximum),
                  row, column);
    taken->hide();
    taken->deleteLater();
}

void DrillField::setTakingEnabled(bool enabled)
{
    for (DrillTile *tile : std::as_const(tiles))
        tile->setEnabled(enabled);
}
