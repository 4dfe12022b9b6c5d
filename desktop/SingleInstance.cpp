#include "SingleInstance.h"

#include "Logging.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray ActivateRequest = QByteArrayLiteral("activate\n");
constexpr int ConnectTimeoutMs = 1000;

// The socket's address; false when the path does not fit one.
bool socketAddress(const QString &path, sockaddr_un *address)
{
    const QByteArray encoded = QFile::encodeName(path);
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    if (encoded.size() >= qsizetype(sizeof address->sun_path))
        return false;
    std::memcpy(address->sun_path, encoded.constData(), size_t(encoded.size()));
    return true;
}

int newSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

// Waits at most ConnectTimeoutMs for `events` on fd.
bool waitFor(int fd, short events)
{
    pollfd entry {fd, events, 0};
    int ready = 0;
    do {
        ready = ::poll(&entry, 1, ConnectTimeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready > 0 && (entry.revents & events) != 0;
}

bool connectTo(int fd, const sockaddr_un &address)
{
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        return true;
    if (errno != EINPROGRESS && errno != EAGAIN)
        return false;
    // A listener whose queue is full: wait for room, as long as for an answer.
    int error = 0;
    socklen_t length = sizeof error;
    return waitFor(fd, POLLOUT) && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0
        && error == 0;
}

} // namespace

SingleInstance::SingleInstance(const QString &folder, QObject *parent)
    : QObject(parent)
    , folder(folder)
{
}

SingleInstance::~SingleInstance()
{
    for (auto it = pending.cbegin(); it != pending.cend(); ++it)
        ::close(it.key());
    if (listening < 0)
        return;
    ::close(listening);
    QFile::remove(listeningPath);
}

QString SingleInstance::serverName(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? folder : canonical).toUtf8();
    const QByteArray hash =
        QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("QtUtakaze-%1-%2")
        .arg(QString::number(::getuid()), QString::fromLatin1(hash));
}

QString SingleInstance::socketPath(const QString &folder)
{
    return QDir(QDir::tempPath()).filePath(serverName(folder));
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
    sockaddr_un address;
    if (!socketAddress(socketPath(folder), &address))
        return false;
    const int fd = newSocket();
    if (fd < 0)
        return false;
    bool sent = connectTo(fd, address);
    for (qsizetype written = 0; sent && written < ActivateRequest.size();) {
        const ssize_t n = ::send(fd, ActivateRequest.constData() + written,
                                 size_t(ActivateRequest.size() - written), MSG_NOSIGNAL);
        if (n > 0)
            written += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else
            sent = n < 0 && errno == EAGAIN && waitFor(fd, POLLOUT);
    }
    ::close(fd);
    return sent;
}

void SingleInstance::listen()
{
    const QString path = socketPath(folder);
    sockaddr_un address;
    const int fd = newSocket();
    const auto bindTo = [&] {
        return ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    };
    bool bound = fd >= 0 && socketAddress(path, &address);
    if (bound && !bindTo()) {
        // A socket file left by a crashed program: nobody answered on it.
        QFile::remove(path);
        bound = bindTo();
    }
    // Only this user may ask for the window.
    if (!bound || ::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(fd, 8) != 0) {
        const char *reason = std::strerror(errno);
        qCInfo(lcSettings, "cannot listen for later starts on %s: %s", qUtf8Printable(path),
               reason);
        if (fd >= 0)
            ::close(fd);
        if (bound)
            QFile::remove(path);
        return;
    }
    listening = fd;
    listeningPath = path;
    auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &SingleInstance::acceptRequests);
}

void SingleInstance::acceptRequests()
{
    int client = -1;
    while ((client = ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0) {
        pending.insert(client, QByteArray());
        auto *notifier = new QSocketNotifier(client, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this,
                [this, client, notifier] { readRequest(client, notifier); });
    }
}

// A request is one line, sent at once and followed by the sender's close:
// the first read that ends the line (or finds the connection closed) ends it.
void SingleInstance::readRequest(int client, QSocketNotifier *notifier)
{
    QByteArray &line = pending[client];
    char buffer[64];
    for (;;) {
        const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n > 0) {
            line.append(buffer, n);
            if (line.contains('\n'))
                break;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            return; // the rest of the line comes later
        } else {
            break; // closed before a whole line
        }
    }
    if (line.left(line.indexOf('\n') + 1) == ActivateRequest) {
        qCInfo(lcSettings, "a second start in this folder: showing the window");
        emit activationRequested();
    }
    pending.remove(client);
    notifier->setEnabled(false);
    notifier->deleteLater();
    ::close(client);
}
