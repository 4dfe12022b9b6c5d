#ifndef MPRISBRIDGE_H
#define MPRISBRIDGE_H

#include <QObject>

class MainWindow;
class MprisController;
class ReadingSession;

// Joins the MPRIS remote control to the reading session: its requests become
// the Start and Stop buttons' actions (Stop without its question, since a
// remote cannot answer it), Next and Previous the reading's Next and Repeat,
// and the session's state and current card are published to the bus. Every
// request is refused while a dialog of the program is open.
class MprisBridge : public QObject
{
    Q_OBJECT

public:
    // Owned by the window.
    MprisBridge(MainWindow *window, ReadingSession *session, MprisController *controller);

    // The track title of a card, e.g. "第7首 あまのはら" (translated).
    static QString cardTitle(int fudaNum);

private:
    void publishState();
    void publishCard(int fudaNum);

    ReadingSession *session;
    MprisController *controller;
};

#endif
