#include "BroadcastController.h"

#include "AudioDevice.h"
#include "AudioOutput.h"
#include "ReadingSession.h"
#include "SnapcastService.h"
#include "SnapcastSetup.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace {

// How often the GUI looks at what the sender thread said: a server gone
// stops the output clock at once, so this is only how soon it is told.
constexpr int LinkCheckMs = 100;

} // namespace

BroadcastController::BroadcastController(QStatusBar *bar, ReadingSession *session,
                                         AudioOutput &audio)
    : QObject(bar)
    , bar(bar)
    , session(session)
    , audio(audio)
{
    connect(session, &ReadingSession::playingChanged, this, &BroadcastController::onPlayingChanged);
    connect(session, &ReadingSession::startRefused, this, [this](ReadingSession::Refusal reason) {
        if (active && reason == ReadingSession::Refusal::NoOutput)
            this->bar->showMessage(tr("配信サーバー %1:%2 に接続できないので再生できません")
                                       .arg(output.serverHost())
                                       .arg(output.sourcePort));
    });
}

BroadcastController::~BroadcastController()
{
    if (service)
        service->stop();
}

void BroadcastController::apply(const OutputSettings &settings)
{
    const bool was = active;
    if (!settings.broadcast && !was)
        return;
    if (was && settings == output)
        return;
    output = settings;
    active = settings.broadcast;
    if (!active) {
        if (service)
            service->stop();
        linkTimer->stop();
        if (label)
            label->hide();
        audio.useDevice(makeOutputDevice(nullptr));
        return;
    }
    if (!service) {
        service = new SnapcastService(this);
        connect(service, &SnapcastService::clientsChanged, this, [this](int count) {
            clients = count;
            trouble.clear();
            showLabel();
        });
        connect(service, &SnapcastService::problem, this, [this](const QString &message) {
            trouble = message;
            showLabel();
            this->bar->showMessage(message);
        });
        connect(service, &SnapcastService::notice, this->bar,
                [this](const QString &message) { this->bar->showMessage(message); });
        // Our own server listens only now: the output may open.
        connect(service, &SnapcastService::serverReady, this, [this] { audio.Reopen(); });
        linkTimer = new QTimer(this);
        linkTimer->setInterval(LinkCheckMs);
        connect(linkTimer, &QTimer::timeout, this, &BroadcastController::checkLink);
        label = new QLabel(bar);
        bar->addPermanentWidget(label);
    }
    clients = -1;
    trouble.clear();
    shownLink = Unknown;
    link = std::make_shared<std::atomic_int>(Unknown);
    BroadcastTarget target;
    target.host = output.serverHost();
    target.sourcePort = output.sourcePort;
    target.bufferMs = output.bufferMs;
    target.onConnection = [state = link](bool connected) { state->store(connected ? Up : Down); };
    service->start(output);
    audio.useDevice(makeOutputDevice(&target));
    linkTimer->start();
    showLabel();
}

void BroadcastController::checkLink()
{
    const auto now = Link(link->load());
    if (now == shownLink || now == Unknown)
        return;
    shownLink = now;
    if (now == Down) {
        trouble = tr("配信サーバーとの接続が切れました");
        if (session->isPlaying()) {
            session->startOrPause();
            bar->showMessage(tr("配信サーバーとの接続が切れたので一時停止しました。"
                                "サーバーが戻ったら再生ボタンで再開します"));
        } else {
            bar->showMessage(trouble);
        }
    } else {
        trouble.clear();
        bar->showMessage(session->isReading()
                             ? tr("配信サーバーに再接続しました。再生ボタンで再開します")
                             : tr("配信サーバーに再接続しました"));
    }
    showLabel();
}

void BroadcastController::onPlayingChanged(bool playing)
{
    // Resumed while the server is still gone: the players would hear nothing.
    if (active && playing && link && Link(link->load()) == Down) {
        session->startOrPause();
        bar->showMessage(tr("配信サーバーとの接続が切れているので再開できません"));
    }
}

QString BroadcastController::joinHost() const
{
    if (!output.ownServer)
        return output.host;
    return SnapcastSetup::thisComputersAddress();
}

void BroadcastController::showLabel()
{
    if (!label)
        return;
    const QString join = SnapcastSetup::joinCommand(joinHost(), output.streamPort);
    QString state;
    if (!trouble.isEmpty())
        state = trouble;
    else if (clients < 0)
        state = tr("サーバーを待っています");
    else
        state = tr("%n 台接続中", nullptr, clients);
    label->setText(tr("配信: %1 — %2").arg(join, state));
    label->show();
}
