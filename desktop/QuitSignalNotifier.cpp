#include "QuitSignalNotifier.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int HandledSignals[] = {SIGTERM, SIGINT, SIGHUP};

// [0] is read by the notifier, [1] written by the handler.
int signalPipe[2] = {-1, -1};

void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    // A full pipe means a quit is already pending; nothing else to do.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

QuitSignalNotifier::QuitSignalNotifier(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
        return;
    notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &QuitSignalNotifier::readSignal);

    struct sigaction action = {};
    action.sa_handler = &onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    active = true;
    for (const int signalNumber : HandledSignals)
        active = ::sigaction(signalNumber, &action, nullptr) == 0 && active;
}

QuitSignalNotifier::~QuitSignalNotifier()
{
    if (signalPipe[0] < 0)
        return;
    for (const int signalNumber : HandledSignals)
        std::signal(signalNumber, SIG_DFL);
    delete notifier;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void QuitSignalNotifier::readSignal()
{
    unsigned char byte = 0;
    int last = 0;
    while (::read(signalPipe[0], &byte, 1) == 1)
        last = byte;
    if (last != 0)
        emit quitRequested(last);
}
