#ifndef GUITHREADRELAY_H
#define GUITHREADRELAY_H

#include <QObject>
#include <QSignalSpy>

// QSignalSpy records a signal in the thread that emits it, with nothing
// guarding its list, so spying on a reading thread directly races with the
// test reading the spy. The relay takes the thread's signal through the GUI
// thread's event loop and sends it on as fired(), which GuiThreadSpy below
// watches. A signal's int argument comes along; a signal without one fires 0.
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

// Holds the relay, so that it is made before the spy that watches it.
struct GuiThreadRelayHolder
{
    template <typename Sender, typename Signal>
    GuiThreadRelayHolder(Sender *sender, Signal signal)
        : relay(sender, signal)
    {
    }
    GuiThreadRelay relay;
};

// A QSignalSpy of another thread's signal, safe to read from the GUI thread.
class GuiThreadSpy : private GuiThreadRelayHolder, public QSignalSpy
{
public:
    template <typename Sender, typename Signal>
    GuiThreadSpy(Sender *sender, Signal signal)
        : GuiThreadRelayHolder(sender, signal)
        , QSignalSpy(&relay, &GuiThreadRelay::fired)
    {
    }
};

#endif
