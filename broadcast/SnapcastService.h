#ifndef SNAPCASTSERVICE_H
#define SNAPCASTSERVICE_H

#include "OutputSettings.h"

#include <QObject>
#include <QString>

#include <memory>

class QProcess;
class ControlLine;
class QTemporaryDir;
class QTimer;

// The Snapcast side of a broadcast: the snapserver the program starts (when
// the settings ask for one), the local snapclient the host listens through,
// and the server's count of connected clients, asked on its control port
// every PollIntervalMs. Whatever it started it stops in stop() and when it
// goes, and the processes end with the program even if it crashes.
class SnapcastService : public QObject
{
    Q_OBJECT

public:
    static constexpr int PollIntervalMs = 2000;

    explicit SnapcastService(QObject *parent = nullptr);
    ~SnapcastService() override;

    // Stops whatever runs, then starts what the settings ask for.
    void start(const OutputSettings &settings);
    void stop();
    bool isRunning() const { return running; }

signals:
    // The server answered its control port for the first time since start().
    void serverReady();
    // Clients connected, as the server last said (the host's own included).
    void clientsChanged(int count);
    // The server cannot be started or reached, or its process ended.
    void problem(const QString &message);
    // Something the host should know that leaves the broadcast going (the
    // local client could not play).
    void notice(const QString &message);

private:
    void startServer();
    void startClient();
    void poll();
    void onReply(const QByteArray &line);
    QProcess *newProcess(const QString &program);

    OutputSettings output;
    bool running = false;
    bool ready = false;
    bool reachable = true; // whether the last poll reached the server (said once)
    int requestId = 0;
    int lastCount = -1;
    QProcess *server = nullptr; // children; deleted in stop()
    QProcess *client = nullptr;
    ControlLine *control = nullptr; // the status question under way
    QTimer *pollTimer = nullptr;
    std::unique_ptr<QTemporaryDir> serverFolder; // its configuration and state
};

#endif
