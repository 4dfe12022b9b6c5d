#ifndef GUITHREADRELAY_H
#define GUITHREADRELAY_H

#include <QObject>

// QSignalSpy records a signal in the thread that emits it, with nothing
// guarding its list, so spying on a reading thread directly races with the
// test reading the spy. The relay takes the thread's signal through the GUI
// thread's event loop and sends it on as fired(): spy on that instead. A
// signal's int argument comes along; a signal without one fires 0.
class GuiThreadRelay : public QObject
{
    Q_OBJECT

public:
    template <typename Sender>
    GuiThreadRelay(Sender *sender, void (Sender::*signal)(int))
    {
        connect(sender, signal, this, [this](int value) { emit fired(value); },
                Qt::QueuedConnection);
    }
    template <typename Sender>
    GuiThreadRelay(Sender *sender, void (Sender::*signal)())
    {
        connect(sender, signal, this, [this] { emit fired(0); }, Qt::QueuedConnection);
    }

signals:
    void fired(int value);
};

#endif
