#ifndef QUITSIGNALNOTIFIER_H
#define QUITSIGNALNOTIFIER_H

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a desktop logout, Ctrl+C in a terminal,
// a closed terminal) into a Qt signal on the GUI thread, so the program can
// leave its event loop and save as on a normal exit. The handler only writes
// the signal number into a pipe (async-signal-safe); a socket notifier reads
// it on the event loop. One instance per process; the handlers are restored
// to the default when it is destroyed.
class QuitSignalNotifier : public QObject
{
    Q_OBJECT

public:
    explicit QuitSignalNotifier(QObject *parent = nullptr);
    ~QuitSignalNotifier() override;

    // False when the pipe or a handler could not be set up.
    bool isActive() const { return active; }

signals:
    void quitRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *notifier = nullptr;
    bool active = false;
};

#endif
