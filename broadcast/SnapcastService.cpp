#include "SnapcastService.h"

#include "ControlLine.h"
#include "SnapcastSetup.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <sys/prctl.h>

SnapcastService::SnapcastService(QObject *parent)
    : QObject(parent)
    , pollTimer(new QTimer(this))
{
    pollTimer->setInterval(PollIntervalMs);
    connect(pollTimer, &QTimer::timeout, this, &SnapcastService::poll);
}

SnapcastService::~SnapcastService()
{
    stop();
}

void SnapcastService::start(const OutputSettings &settings)
{
    stop();
    output = settings;
    running = true;
    ready = false;
    reachable = true;
    lastCount = -1;
    if (output.ownServer)
        startServer();
    if (!running)
        return;
    pollTimer->start();
    // A server of our own needs a moment to open its ports.
    QTimer::singleShot(output.ownServer ? 300 : 0, this, &SnapcastService::poll);
}

void SnapcastService::stop()
{
    running = false;
    pollTimer->stop();
    if (control) {
        delete control;
        control = nullptr;
    }
    // The client first, so that it does not report a server gone.
    for (QProcess **process : {&client, &server}) {
        if (!*process)
            continue;
        (*process)->disconnect(this);
        // Quitting waits for this: snapserver takes more than a second to end
        // on SIGTERM, and it keeps nothing worth the wait.
        (*process)->terminate();
        if (!(*process)->waitForFinished(200)) {
            (*process)->kill();
            (*process)->waitForFinished(1000);
        }
        delete *process;
        *process = nullptr;
    }
    serverFolder.reset();
}

QProcess *SnapcastService::newProcess(const QString &program)
{
    auto *process = new QProcess(this);
    process->setProgram(program);
    // Their logs are of no use to the player; what goes wrong is said in the status bar.
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    // Ends with the program, even one that crashed: no server left holding the ports.
    process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    return process;
}

void SnapcastService::startServer()
{
    serverFolder = std::make_unique<QTemporaryDir>();
    const QString config = serverFolder->filePath(QStringLiteral("snapserver.conf"));
    QFile empty(config);
    if (!serverFolder->isValid() || !empty.open(QIODevice::WriteOnly)) {
        running = false;
        emit problem(tr("配信サーバーの設定を書けません: %1").arg(serverFolder->path()));
        return;
    }
    empty.close();
    server = newProcess(QStringLiteral("snapserver"));
    server->setArguments(SnapcastSetup::serverArguments(output, config, serverFolder->path()));
    connect(server, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            running = false;
            pollTimer->stop();
            emit problem(tr("snapserver を起動できません (インストールされていますか?)"));
        }
    });
    connect(server, &QProcess::finished, this, [this] {
        if (!running)
            return;
        running = false;
        pollTimer->stop();
        emit problem(tr("snapserver が終了しました (ポート %1 / %2 / %3 は使用中ではありませんか?)")
                         .arg(output.streamPort)
                         .arg(output.controlPort)
                         .arg(output.sourcePort));
    });
    server->start();
}

void SnapcastService::startClient()
{
    client = newProcess(QStringLiteral("snapclient"));
    client->setArguments(SnapcastSetup::clientArguments(output));
    connect(client, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            emit notice(tr("snapclient を起動できません: このコンピューターでは聞こえません"));
    });
    // No sound device it can open, most often.
    connect(client, &QProcess::finished, this, [this] {
        if (running)
            emit notice(tr("snapclient が終了しました: このコンピューターでは聞こえません"));
    });
    client->start();
}

void SnapcastService::poll()
{
    if (!running)
        return;
    if (control) { // the last question is still unanswered: the server did not answer
        delete control;
        control = nullptr;
        if ((!output.ownServer || ready) && reachable) {
            reachable = false;
            emit problem(tr("配信サーバー %1:%2 が応答しません")
                             .arg(output.serverHost())
                             .arg(output.controlPort));
        }
    }
    const int id = ++requestId;
    control = new ControlLine(output.serverHost(), output.controlPort,
                              SnapcastSetup::statusRequest(id), this);
    connect(control, &ControlLine::answered, this, &SnapcastService::onReply);
    connect(control, &ControlLine::failed, this, [this, id] {
        if (id != requestId || !running)
            return;
        // A server just started may not listen yet; one that answered before is gone.
        if (!output.ownServer || ready) {
            if (reachable) {
                reachable = false;
                emit problem(tr("配信サーバー %1:%2 に接続できません")
                                 .arg(output.serverHost())
                                 .arg(output.controlPort));
            }
        }
    });
    control->start();
}

void SnapcastService::onReply(const QByteArray &line)
{
    if (!control)
        return;
    const int count = SnapcastSetup::connectedClients(line, requestId);
    control->deleteLater();
    control = nullptr;
    if (count < 0)
        return;
    const bool back = !reachable;
    reachable = true;
    if (!ready) {
        ready = true;
        if (output.localClient)
            startClient();
        emit serverReady();
    }
    if (count != lastCount || back) {
        lastCount = count;
        emit clientsChanged(count);
    }
}
