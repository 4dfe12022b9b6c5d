#include "MprisController.h"

#include "Logging.h"
#include "MprisAdaptors.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QStringList>

namespace {

const QString ObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString ServiceName = QStringLiteral("org.mpris.MediaPlayer2.QtUtakaze");
const QString PlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

} // namespace

MprisController::MprisController(QObject *parent)
    : QObject(parent)
{
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
}

MprisController::~MprisController()
{
    if (registeredName.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(registeredName);
    bus.unregisterObject(ObjectPath);
}

bool MprisController::registerOnSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!bus.registerObject(ObjectPath, this, QDBusConnection::ExportAdaptors))
        return false;
    for (const QString &name : {ServiceName,
                                ServiceName + QStringLiteral(".instance")
                                    + QString::number(QCoreApplication::applicationPid())}) {
        if (bus.registerService(name)) {
            registeredName = name;
            qCDebug(lcReading, "remote control registered as %s", qUtf8Printable(name));
            return true;
        }
    }
    bus.unregisterObject(ObjectPath);
    qCInfo(lcReading, "no remote control: %s", qUtf8Printable(bus.lastError().message()));
    return false;
}

QString MprisController::trackPath(int number)
{
    return QStringLiteral("/io/github/qtutakaze/card/%1").arg(number);
}

QString MprisController::statusText() const
{
    switch (currentStatus) {
    case Status::Playing:
        return QStringLiteral("Playing");
    case Status::Paused:
        return QStringLiteral("Paused");
    case Status::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

void MprisController::setStatus(Status status)
{
    if (status == currentStatus)
        return;
    const bool couldPause = currentStatus == Status::Playing;
    currentStatus = status;
    QVariantMap changed {{QStringLiteral("PlaybackStatus"), statusText()}};
    if (couldPause != (status == Status::Playing))
        changed.insert(QStringLiteral("CanPause"), status == Status::Playing);
    notifyPlayerChanged(changed);
}

void MprisController::setCard(int number, const QString &title, const QString &poet)
{
    currentMetadata = {
        {QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackPath(number)))},
        {QStringLiteral("xesam:title"), title},
        {QStringLiteral("xesam:artist"), QStringList {poet}},
        {QStringLiteral("xesam:trackNumber"), number},
    };
    notifyPlayerChanged({{QStringLiteral("Metadata"), currentMetadata}});
}

void MprisController::clearCard()
{
    if (currentMetadata.isEmpty())
        return;
    currentMetadata.clear();
    notifyPlayerChanged({{QStringLiteral("Metadata"), currentMetadata}});
}

void MprisController::setCanPlay(bool can)
{
    if (can == playAllowed)
        return;
    playAllowed = can;
    notifyPlayerChanged({{QStringLiteral("CanPlay"), can}});
}

void MprisController::setCanGoNext(bool can)
{
    if (can == nextAllowed)
        return;
    nextAllowed = can;
    notifyPlayerChanged({{QStringLiteral("CanGoNext"), can}});
}

void MprisController::setCanGoPrevious(bool can)
{
    if (can == previousAllowed)
        return;
    previousAllowed = can;
    notifyPlayerChanged({{QStringLiteral("CanGoPrevious"), can}});
}

void MprisController::notifyPlayerChanged(const QVariantMap &changed)
{
    if (registeredName.isEmpty())
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << PlayerInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
