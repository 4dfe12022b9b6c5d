#include "SingleInstance.h"

#include "Logging.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <unistd.h>

namespace {

const QByteArray ActivateRequest = QByteArrayLiteral("activate\n");
constexpr int ConnectTimeoutMs = 1000;

} // namespace

SingleInstance::SingleInstance(const QString &folder, QObject *parent)
    : QObject(parent)
    , folder(folder)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? folder : canonical).toUtf8();
    const QByteArray hash =
        QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("QtUtakaze-%1-%2")
        .arg(QString::number(::getuid()), QString::fromLatin1(hash));
}

bool SingleInstance::claim()
{
    lock = std::make_unique<QLockFile>(QDir(folder).filePath(QStringLiteral("QtUtakaze.lock")));
    // Only a dead owner makes a lock stale, however long a program has run.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        listen();
        return true;
    }
    if (lock->error() == QLockFile::LockFailedError) {
        if (!askRunningToActivate())
            qCInfo(lcSettings, "another program holds the lock in %s but did not answer; ending",
                   qUtf8Printable(folder));
        return false;
    }
    qCInfo(lcSettings, "cannot make a lock file in %s (read-only?): running without it",
           qUtf8Printable(folder));
    lock.reset();
    if (askRunningToActivate())
        return false;
    listen();
    return true;
}

bool SingleInstance::askRunningToActivate() const
{
    QLocalSocket socket;
    socket.connectToServer(serverName(folder));
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    socket.write(ActivateRequest);
    const bool sent = socket.waitForBytesWritten(ConnectTimeoutMs);
    socket.disconnectFromServer();
    return sent;
}

void SingleInstance::listen()
{
    const QString name = serverName(folder);
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name)) {
        // A socket file left by a crashed program: nobody answered on it.
        QLocalServer::removeServer(name);
        if (!server->listen(name)) {
            qCInfo(lcSettings, "cannot listen for later starts: %s",
                   qUtf8Printable(server->errorString()));
            return;
        }
    }
    connect(server, &QLocalServer::newConnection, this, &SingleInstance::readRequests);
}

void SingleInstance::readRequests()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() == ActivateRequest) {
                qCInfo(lcSettings, "a second start in this folder: showing the window");
                emit activationRequested();
            }
            socket->disconnectFromServer();
        });
    }
}
