#ifndef MPRISBRIDGE_H
#define MPRISBRIDGE_H

#include <QObject>

class MainWindow;
class MprisController;

// Joins the MPRIS remote control to the window: its requests become the
// Start and Stop buttons' actions (Stop without its question, since a remote
// cannot answer it), and the window's reading state and current card are
// published to the bus. Next and Previous are left to whoever offers them.
class MprisBridge : public QObject
{
    Q_OBJECT

public:
    MprisBridge(MainWindow *window, MprisController *controller);

    // The track title of a card, e.g. "第7首 あまのはら" (translated).
    static QString cardTitle(int fudaNum);

private:
    void publishState();
    void publishCard(int fudaNum);

    MainWindow *window;
    MprisController *controller;
};

#endif
