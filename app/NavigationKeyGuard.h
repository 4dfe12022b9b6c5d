#ifndef NAVIGATIONKEYGUARD_H
#define NAVIGATIONKEYGUARD_H

#include <QList>
#include <QObject>

class QAction;
class QWidget;

// Keeps the arrow and page keys with a focused spin box or slider: window
// shortcuts on those keys (Next and Repeat during a reading) would otherwise
// take them before the widget sees them. The widget claims the key in the
// shortcut-override step, so the shortcut stays quiet and the key reaches it.
class NavigationKeyGuard : public QObject
{
    Q_OBJECT

public:
    explicit NavigationKeyGuard(QObject *parent);

    // Guards widget from now on (an event filter; widget keeps its own keys).
    void guard(QWidget *widget);

    // The keys of Next and Repeat, also those of presenter remotes and foot
    // pedals (Page Down / Page Up, Right / Left), with a guard (owned by the
    // first widget's window) for each widget that keeps its own. The actions
    // are enabled only while a reading runs.
    static void installReadingKeys(QAction *next, QAction *repeat,
                                   const QList<QWidget *> &keepOwnKeys);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

#endif
