#include "NavigationKeyGuard.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

NavigationKeyGuard::NavigationKeyGuard(QObject *parent)
    : QObject(parent)
{
}

void NavigationKeyGuard::guard(QWidget *widget)
{
    widget->installEventFilter(this);
}

bool NavigationKeyGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        event->accept(); // the widget wants it: no shortcut fires
        return true;
    default:
        return false;
    }
}

void NavigationKeyGuard::installReadingKeys(QAction *next, QAction *repeat,
                                            const QList<QWidget *> &keepOwnKeys)
{
    next->setShortcuts(
        {QKeySequence(Qt::Key_Right), QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::Key_Space)});
    repeat->setShortcuts(
        {QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_PageUp), QKeySequence(Qt::Key_R)});
    if (keepOwnKeys.isEmpty())
        return;
    auto *keyGuard = new NavigationKeyGuard(keepOwnKeys.first()->window());
    for (QWidget *widget : keepOwnKeys)
        keyGuard->guard(widget);
}
