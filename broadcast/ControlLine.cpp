#include "ControlLine.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int MaxAnswerBytes = 1 << 20; // a status of hundreds of clients fits
}

ControlLine::ControlLine(const QString &serverHost, int serverPort, const QByteArray &question,
                         QObject *parent)
    : QObject(parent)
    , host(serverHost)
    , port(serverPort)
    , request(question)
{
}

ControlLine::~ControlLine()
{
    close();
}

void ControlLine::start()
{
    addrinfo hints {};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo *found = nullptr;
    if (getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &found)
        != 0) {
        QTimer::singleShot(0, this, &ControlLine::fail);
        return;
    }
    fd = socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                found->ai_protocol);
    const bool started = fd >= 0
        && (::connect(fd, found->ai_addr, found->ai_addrlen) == 0 || errno == EINPROGRESS);
    freeaddrinfo(found);
    if (!started) {
        QTimer::singleShot(0, this, &ControlLine::fail);
        return;
    }
    writable = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    connect(writable, &QSocketNotifier::activated, this, &ControlLine::onWritable);
}

void ControlLine::onWritable()
{
    writable->setEnabled(false);
    int error = 0;
    socklen_t size = sizeof(error);
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
        fail();
        return;
    }
    // A request of a few dozen bytes goes into an empty socket buffer whole.
    if (::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL)
        != ssize_t(request.size())) {
        fail();
        return;
    }
    readable = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(readable, &QSocketNotifier::activated, this, &ControlLine::onReadable);
}

void ControlLine::onReadable()
{
    char buffer[4096];
    const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (got <= 0) { // closed before a whole line
        fail();
        return;
    }
    received.append(buffer, got);
    const qsizetype end = received.indexOf('\n');
    if (end < 0) {
        if (received.size() > MaxAnswerBytes)
            fail();
        return;
    }
    close();
    emit answered(received.left(end + 1));
}

void ControlLine::fail()
{
    close();
    emit failed();
}

void ControlLine::close()
{
    delete writable;
    writable = nullptr;
    delete readable;
    readable = nullptr;
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}
