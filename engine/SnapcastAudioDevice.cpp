#include "AudioDevice.h"

#include "AudioClip.h"
#include "AudioMixer.h"
#include "Logging.h"

#include <QByteArray>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// 10 ms a piece, sent 120 ms ahead of the wall clock: the server reads its
// source in 20 ms chunks by its own timer, so what we send ahead only waits
// in its socket, while a source that runs dry (this thread held up on a
// busy machine) makes the server restart the stream's timing, a gap every
// player hears (28 ms with 40 ms ahead under a parallel compile). Ahead is
// also how late a change can take effect, small beside the server's buffer.
constexpr int ChunkFrames = AudioClip::Rate / 100;
constexpr int AheadMs = 120;
constexpr int ConnectTimeoutMs = 1000;
constexpr auto RetryInterval = std::chrono::milliseconds(500);

// A connected TCP socket to host:port, or -1. Waits ConnectTimeoutMs at most.
int connectTo(const QByteArray &host, int port)
{
    addrinfo hints {}; // any address family, IPv4 or IPv6
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(host.constData(), QByteArray::number(port).constData(), &hints, &found) != 0)
        return -1;
    int result = -1;
    for (addrinfo *at = found; at && result < 0; at = at->ai_next) {
        const int fd = socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC, at->ai_protocol);
        if (fd < 0)
            continue;
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        int error = 0;
        if (connect(fd, at->ai_addr, at->ai_addrlen) < 0) {
            error = errno;
            if (error == EINPROGRESS) {
                pollfd wait {fd, POLLOUT, 0};
                socklen_t size = sizeof(error);
                error = poll(&wait, 1, ConnectTimeoutMs) == 1
                            && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0
                        ? error
                        : ETIMEDOUT;
            }
        }
        if (error == 0) {
            const int on = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
            result = fd;
        } else {
            close(fd);
        }
    }
    freeaddrinfo(found);
    return result;
}

// Sends it all, waiting for room at most `limit`; false when the peer is gone.
bool sendAll(int fd, const char *data, size_t size, std::chrono::milliseconds limit)
{
    const auto deadline = Clock::now() + limit;
    while (size > 0) {
        const ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
        if (sent > 0) {
            data += sent;
            size -= size_t(sent);
            continue;
        }
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd wait {fd, POLLOUT, 0};
        poll(&wait, 1, int(left.count()));
    }
    return true;
}

// Whether the peer has closed its side (a server that quit or was killed).
bool peerClosed(int fd)
{
    char byte = 0;
    const ssize_t got = recv(fd, &byte, 1, MSG_DONTWAIT | MSG_PEEK);
    return got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
}

// Sends the mixed stream, 16-bit little-endian stereo at the engine's rate,
// to a Snapcast server's TCP source, paced by the wall clock: the stream's
// clock is the output clock, so a pause is as many samples of silence as
// it lasts. A server that goes away stops the clock (the reading waits)
// until it is reached again; the owner hears both through onConnection.
class SnapcastAudioDevice : public AudioDevice
{
public:
    SnapcastAudioDevice(const BroadcastTarget &target)
        : target(target)
    {
    }
    ~SnapcastAudioDevice() override { close(); }

    bool open(AudioMixer *target) override
    {
        if (sender.joinable())
            return true;
        const int fd = connectTo(this->target.host.toUtf8(), this->target.sourcePort);
        if (fd < 0) {
            qCWarning(lcAudio, "cannot reach the broadcast server at %s:%d",
                      qPrintable(this->target.host), this->target.sourcePort);
            return false;
        }
        mixer = target;
        stopping = false;
        sender = std::thread([this, fd] { run(fd); });
        qCDebug(lcAudio, "broadcasting to %s:%d", qPrintable(this->target.host),
                this->target.sourcePort);
        return true;
    }

    void close() override
    {
        if (!sender.joinable())
            return;
        {
            const std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        wake.notify_all();
        sender.join();
    }

    bool isOpen() const override { return sender.joinable(); }
    int latencyFrames() const override
    {
        return int(qint64(AheadMs + target.bufferMs) * AudioClip::Rate / 1000);
    }

private:
    // Sleeps until `until` or a close; false on a close.
    bool sleepUntil(Clock::time_point until)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return !wake.wait_until(lock, until, [this] { return stopping; });
    }

    void report(bool up)
    {
        if (target.onConnection)
            target.onConnection(up);
    }

    void run(int fd)
    {
        std::vector<float> mixed(size_t(ChunkFrames) * AudioClip::Channels);
        std::vector<char> bytes(mixed.size() * 2);
        Clock::time_point start = Clock::now();
        qint64 sent = 0;
        for (;;) {
            if (fd < 0) {
                if (!sleepUntil(Clock::now() + RetryInterval))
                    return;
                fd = connectTo(target.host.toUtf8(), target.sourcePort);
                if (fd < 0)
                    continue;
                start = Clock::now();
                sent = 0;
                report(true);
            }
            const auto elapsed = Clock::now() - start + std::chrono::milliseconds(AheadMs);
            const qint64 due =
                std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count()
                * AudioClip::Rate / 1000000;
            bool lost = peerClosed(fd);
            while (!lost && sent + ChunkFrames <= due) {
                mixer->render(mixed.data(), ChunkFrames);
                for (size_t i = 0; i < mixed.size(); ++i) {
                    const auto value = qint16(std::clamp(mixed[i], -1.0f, 1.0f) * 32767.0f);
                    bytes[2 * i] = char(value & 0xff);
                    bytes[2 * i + 1] = char((value >> 8) & 0xff);
                }
                lost = !sendAll(fd, bytes.data(), bytes.size(), std::chrono::milliseconds(500));
                sent += ChunkFrames;
            }
            if (lost) {
                ::close(fd);
                fd = -1;
                qCWarning(lcAudio, "the broadcast server went away");
                report(false);
                continue;
            }
            const auto next = start
                + std::chrono::microseconds((sent + ChunkFrames) * 1000000 / AudioClip::Rate)
                - std::chrono::milliseconds(AheadMs);
            if (!sleepUntil(next)) {
                ::close(fd);
                return;
            }
        }
    }

    const BroadcastTarget target;
    AudioMixer *mixer = nullptr;
    std::thread sender;
    std::mutex mutex; // guards stopping, for the sender's sleeps
    std::condition_variable wake;
    bool stopping = false;
};

} // namespace

std::unique_ptr<AudioDevice> makeSnapcastAudioDevice(const BroadcastTarget &target)
{
    return std::make_unique<SnapcastAudioDevice>(target);
}

std::unique_ptr<AudioDevice> makeOutputDevice(const BroadcastTarget *broadcast)
{
    if (broadcast)
        return makeSnapcastAudioDevice(*broadcast);
    return makeSystemAudioDevice();
}
