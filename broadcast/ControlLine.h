#ifndef CONTROLLINE_H
#define CONTROLLINE_H

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// One question to a line-based TCP service (Snapcast's control port): connects
// without blocking, sends the request, and reports the first line of the
// answer or that there was none. A plain socket rather than Qt Network, which
// would be loaded at every start for a feature that is off by default.
class ControlLine : public QObject
{
    Q_OBJECT

public:
    ControlLine(const QString &host, int port, const QByteArray &request,
                QObject *parent = nullptr);
    ~ControlLine() override;

    // Starts the exchange; answered() or failed() follows, once, from the
    // event loop. A host name is resolved here by the system's resolver.
    void start();

signals:
    void answered(const QByteArray &line);
    void failed();

private:
    void onWritable();
    void onReadable();
    void fail();
    void close();

    QString host;
    int port;
    QByteArray request;
    QByteArray received;
    int fd = -1;
    QSocketNotifier *writable = nullptr; // children, while the socket is open
    QSocketNotifier *readable = nullptr;
};

#endif
