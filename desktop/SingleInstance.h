#ifndef SINGLEINSTANCE_H
#define SINGLEINSTANCE_H

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <memory>

class QLockFile;
class QSocketNotifier;

// One program per application folder: two programs in the same folder would
// overwrite each other's settings at exit. The first start holds a lock file
// in the folder (a lock left by a crashed program is taken over) and listens
// on a local socket named after the folder; a later start asks it over that
// socket to raise its window and then ends. In a folder where no lock file
// can be made (read-only) the socket alone decides, and a log line says so.
// The socket is a plain Unix one (in the temporary folder, where Qt's local
// sockets also live): Qt Network, with its Kerberos and proxy libraries,
// cost every start more than a millisecond and a megabyte for one line.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString &folder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True: this process is the folder's program and goes on (it listens for
    // later starts from now on). False: another program runs in the folder
    // and has been asked to show itself; this one should end.
    bool claim();

    // The local socket's name for a folder (same folder, same name).
    static QString serverName(const QString &folder);
    // Where that socket lives.
    static QString socketPath(const QString &folder);

signals:
    // A later start in the same folder wants this program's window shown.
    void activationRequested();

private:
    bool askRunningToActivate() const;
    void listen();
    void acceptRequests();
    void readRequest(int client, QSocketNotifier *notifier);

    QString folder;
    std::unique_ptr<QLockFile> lock;
    int listening = -1; // the socket later starts connect to, or -1
    QString listeningPath; // removed when this program ends
    QHash<int, QByteArray> pending; // what each connection has sent so far
};

#endif
