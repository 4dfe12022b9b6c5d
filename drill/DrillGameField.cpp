#include "DrillGameField.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>

namespace {

constexpr int Gap = 3;
constexpr int SplitGap = 18; // between the left and right halves of a row
constexpr int MiddleGap = 14; // between the sides

} // namespace

DrillGameTile::DrillGameTile(int card, const QString &text, QWidget *parent)
    : DrillTile(card, text, parent)
{
    for (qsizetype i = 0; i < text.size(); i += ColumnKana)
        columns.append(text.mid(i, ColumnKana));
}

void DrillGameTile::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(1, 1, -1, -1);
    painter.setPen(
        QPen(hasFocus() ? palette().highlight().color() : QColor(90, 120, 70), hasFocus() ? 3 : 1));
    painter.setBrush(QColor(250, 246, 232));
    painter.drawRoundedRect(card, 3, 3);
    const qreal cellW = card.width() / (static_cast<qreal>(columns.size()) + 0.4);
    const qreal cellH = card.height() / (ColumnKana + 0.4);
    QFont kanaFont = font();
    kanaFont.setPixelSize(std::max(8, static_cast<int>(std::min(cellW, cellH) * 0.9)));
    painter.setFont(kanaFont);
    painter.setPen(isEnabled() ? Qt::black : Qt::darkGray);
    // Right to left, top to bottom, as printed.
    for (qsizetype c = 0; c < columns.size(); ++c) {
        const qreal x = card.right() - cellW * 0.2 - cellW * static_cast<qreal>(c + 1);
        const QString &column = columns.at(c);
        for (qsizetype k = 0; k < column.size(); ++k)
            painter.drawText(QRectF(x, card.top() + cellH * 0.2 + cellH * static_cast<qreal>(k),
                                    cellW, cellH),
                             Qt::AlignCenter, column.at(k));
    }
}

DrillGameField::DrillGameField(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DrillGameField::setField(const DrillFieldLayout &layout, const QHash<int, QString> &texts)
{
    laid = layout;
    dealt = layout;
    kana = texts;
    makeTiles();
}

void DrillGameField::makeTiles()
{
    for (DrillTile *old : std::as_const(tiles)) {
        old->hide();
        old->deleteLater(); // its press may be on the stack (the drill's last take)
    }
    tiles.clear();
    dragged = 0;
    for (int card : laid.cards()) {
        auto *tile = new DrillGameTile(card, kana.value(card), this);
        tile->installEventFilter(this);
        connect(tile, &QAbstractButton::pressed, this, [this, card] {
            if (taking)
                emit cardPressed(card);
        });
        tiles.insert(card, tile);
    }
    setTakingEnabled(taking);
    placeTiles();
    for (DrillTile *tile : std::as_const(tiles))
        tile->show(); // the field may already be on screen
    if (taking)
        focusCard(laid.first());
}

void DrillGameField::removeCard(int card)
{
    DrillTile *taken = tiles.take(card);
    if (!taken)
        return;
    const bool hadFocus = taken->hasFocus();
    const int next = laid.nearest(card);
    laid.remove(card);
    if (hadFocus)
        focusCard(next);
    // Gone, not greyed: a screen reader no longer finds it. Later, as the
    // press that took it may still be on the stack.
    taken->hide();
    taken->deleteLater();
}

void DrillGameField::setTakingEnabled(bool enabled)
{
    if (taking && !enabled && laid.cards() != dealt.cards()) {
        taking = false;
        laid = dealt;
        makeTiles();
        return;
    }
    taking = enabled;
    for (DrillTile *tile : std::as_const(tiles)) {
        tile->setEnabled(enabled);
        // While arranging, the field itself takes the mouse to drag.
        tile->setAttribute(Qt::WA_TransparentForMouseEvents, !enabled);
    }
    setCursor(enabled ? Qt::ArrowCursor : Qt::OpenHandCursor);
    updateGeometry();
}

void DrillGameField::shuffleOwnSide()
{
    if (taking || laid.isEmpty())
        return;
    laid.shuffleOwnSide(*QRandomGenerator::global());
    dealt = laid;
    placeTiles();
    emit ownSlotsChanged();
}

QSize DrillGameField::sizeHint() const
{
    return {DrillFieldLayout::ScreenColumns * (72 + Gap) + SplitGap,
            DrillFieldLayout::ScreenRows * (84 + Gap) + MiddleGap};
}

QSize DrillGameField::minimumSizeHint() const
{
    const int tileHeight =
        taking ? DrillGameTile::MinimumHeight : DrillGameTile::ArrangingHeight;
    return {DrillFieldLayout::ScreenColumns * (DrillGameTile::MinimumWidth + Gap) + SplitGap,
            DrillFieldLayout::ScreenRows * (tileHeight + Gap) + MiddleGap};
}

bool DrillGameField::eventFilter(QObject *watched, QEvent *event)
{
    auto *tile = qobject_cast<DrillTile *>(watched);
    const bool keyEvent =
        event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    if (!tile || !keyEvent || !taking)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (event->type() == QEvent::ShortcutOverride) {
        // On a card these keys take and move, before any of the window's
        // shortcuts (Space and Right also go on to the next card there).
        static const QList<int> fieldKeys {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter,
                                           Qt::Key_Left,  Qt::Key_Right,  Qt::Key_Up,
                                           Qt::Key_Down};
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier)
            event->setAccepted(fieldKeys.contains(key->key()));
        return false;
    }
    switch (key->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!key->isAutoRepeat())
            emit cardPressed(tile->card());
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const FieldStep step = key->key() == Qt::Key_Left ? FieldStep::Left
            : key->key() == Qt::Key_Right                 ? FieldStep::Right
            : key->key() == Qt::Key_Up                    ? FieldStep::Up
                                                          : FieldStep::Down;
        focusCard(laid.neighbour(tile->card(), step));
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void DrillGameField::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(214, 196, 150)); // tatami
    painter.setPen(QPen(QColor(120, 100, 60), 2));
    const int middle = cellRect({0, DrillFieldLayout::Rows}).top() - MiddleGap / 2;
    painter.drawLine(0, middle, width(), middle);
    painter.setPen(QPen(QColor(120, 100, 60), 1, Qt::DashLine));
    const int split = cellRect({DrillFieldLayout::HalfSlots, 0}).left() - SplitGap / 2;
    painter.drawLine(split, 0, split, height());
}

void DrillGameField::resizeEvent(QResizeEvent *)
{
    placeTiles();
}

void DrillGameField::mousePressEvent(QMouseEvent *event)
{
    if (taking || event->button() != Qt::LeftButton)
        return;
    const FieldPlace place = DrillFieldLayout::atCell(cellAt(event->position().toPoint()));
    const int card = laid.cardAt(place);
    if (card == 0 || place.side != FieldSide::Own)
        return;
    dragged = card;
    dragOffset = event->position().toPoint() - tiles.value(card)->pos();
    tiles.value(card)->raise();
    setCursor(Qt::ClosedHandCursor);
}

void DrillGameField::mouseMoveEvent(QMouseEvent *event)
{
    if (DrillTile *tile = tiles.value(dragged))
        tile->move(event->position().toPoint() - dragOffset);
}

void DrillGameField::mouseReleaseEvent(QMouseEvent *event)
{
    if (dragged == 0)
        return;
    DrillTile *tile = tiles.value(dragged);
    const QPoint centre = event->position().toPoint() - dragOffset + tile->rect().center();
    const bool moved = laid.move(dragged, DrillFieldLayout::atCell(cellAt(centre)));
    dragged = 0;
    dealt = laid;
    setCursor(Qt::OpenHandCursor);
    placeTiles();
    if (moved)
        emit ownSlotsChanged();
}

QRect DrillGameField::cellRect(QPoint cell) const
{
    const int columns = DrillFieldLayout::ScreenColumns;
    const int rows = DrillFieldLayout::ScreenRows;
    const int cellW = std::max(1, (width() - SplitGap) / columns);
    const int cellH = std::max(1, (height() - MiddleGap) / rows);
    // The field centred, each tile as wide as a card's shape allows.
    const int tileW =
        std::min(cellW - Gap, std::max(DrillGameTile::MinimumWidth, (cellH - Gap) * 52 / 73));
    const int fieldW = columns * (tileW + Gap) + SplitGap;
    const int left = std::max(0, (width() - fieldW) / 2);
    const int x = left + cell.x() * (tileW + Gap) + (cell.x() >= columns / 2 ? SplitGap : 0);
    const int y = cell.y() * cellH + (cell.y() >= rows / 2 ? MiddleGap : 0);
    return {x, y, tileW, cellH - Gap};
}

QPoint DrillGameField::cellAt(QPoint pos) const
{
    QPoint best;
    int bestDistance = -1;
    for (int y = 0; y < DrillFieldLayout::ScreenRows; ++y) {
        for (int x = 0; x < DrillFieldLayout::ScreenColumns; ++x) {
            const int distance = (cellRect({x, y}).center() - pos).manhattanLength();
            if (bestDistance < 0 || distance < bestDistance) {
                best = {x, y};
                bestDistance = distance;
            }
        }
    }
    return best;
}

void DrillGameField::placeTiles()
{
    for (auto it = tiles.cbegin(); it != tiles.cend(); ++it) {
        if (const std::optional<FieldPlace> place = laid.place(it.key()))
            it.value()->setGeometry(cellRect(DrillFieldLayout::cell(*place)));
    }
}

void DrillGameField::focusCard(int card)
{
    if (DrillTile *tile = tiles.value(card))
        tile->setFocus(Qt::OtherFocusReason);
}
