#ifndef NAVIGATIONKEYGUARD_H
#define NAVIGATIONKEYGUARD_H

#include <QObject>

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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

#endif
