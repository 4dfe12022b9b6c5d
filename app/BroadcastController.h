#ifndef BROADCASTCONTROLLER_H
#define BROADCASTCONTROLLER_H

#include "OutputSettings.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class AudioOutput;
class QLabel;
class QStatusBar;
class QTimer;
class ReadingSession;
class SnapcastService;

// Puts the output settings in force: with broadcast on, the reading goes to
// a Snapcast server (the audio output's device is the stream, SnapcastService
// runs the processes) and a label in the status bar gives the address to
// join and the clients connected; with it off, the system's sound device is
// used and nothing of Snapcast runs. A server that goes away during a
// reading pauses it and says why; the reading resumes only when the user
// asks, and not while the server is still gone.
class BroadcastController : public QObject
{
    Q_OBJECT

public:
    // Everything given outlives this object; `bar` owns it.
    // The audio output is borrowed: its device is switched to the stream and back.
    BroadcastController(QStatusBar *bar, ReadingSession *session, AudioOutput &audio);
    ~BroadcastController() override;

    // Switches to what the settings say; nothing happens when broadcast
    // stays off.
    void apply(const OutputSettings &settings);
    bool isBroadcasting() const { return active; }

private:
    // What the device's sender thread last said of the server.
    enum Link { Unknown, Up, Down };
    void checkLink();
    void onPlayingChanged(bool playing);
    void showLabel();
    QString joinHost() const;

    QStatusBar *bar;
    ReadingSession *session;
    AudioOutput &audio;
    OutputSettings output;
    bool active = false;
    int clients = -1;
    QString trouble; // what the label says instead of the clients, when something is wrong
    Link shownLink = Unknown;
    // Written by the device's thread, read here; shared, as the device may
    // outlive this object until the audio output replaces it.
    std::shared_ptr<std::atomic_int> link;
    SnapcastService *service = nullptr; // child, made on first use
    QTimer *linkTimer = nullptr; // child
    QLabel *label = nullptr; // owned by the status bar once shown
};

#endif
