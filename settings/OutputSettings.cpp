#include "OutputSettings.h"

#include "StoredBool.h"

#include <QSettings>
#include <QVariant>

#include <algorithm>

namespace {

const char *const Group = "OUTPUT";

int storedPort(const QVariant &value, int fallback)
{
    bool ok = false;
    const int port = value.toString().trimmed().toInt(&ok);
    return ok && port >= 1 && port <= 65535 ? port : fallback;
}

} // namespace

OutputSettings OutputSettings::load(QSettings &settings)
{
    OutputSettings loaded;
    settings.beginGroup(QLatin1String(Group));
    loaded.broadcast = storedBool(settings.value(QStringLiteral("Broadcast")), false);
    loaded.ownServer = storedBool(settings.value(QStringLiteral("OwnServer")), true);
    const QString host = settings.value(QStringLiteral("Host")).toString().trimmed();
    if (!host.isEmpty())
        loaded.host = host;
    loaded.streamPort = storedPort(settings.value(QStringLiteral("StreamPort")), DefaultStreamPort);
    loaded.controlPort =
        storedPort(settings.value(QStringLiteral("ControlPort")), DefaultControlPort);
    loaded.sourcePort = storedPort(settings.value(QStringLiteral("SourcePort")), DefaultSourcePort);
    bool ok = false;
    const int buffer = settings.value(QStringLiteral("BufferMs")).toString().toInt(&ok);
    loaded.bufferMs = ok ? std::clamp(buffer, MinBufferMs, MaxBufferMs) : DefaultBufferMs;
    loaded.localClient = storedBool(settings.value(QStringLiteral("LocalClient")), true);
    settings.endGroup();
    return loaded;
}

void OutputSettings::save(QSettings &settings) const
{
    if (!broadcast && !settings.childGroups().contains(QLatin1String(Group)))
        return;
    settings.beginGroup(QLatin1String(Group));
    settings.setValue(QStringLiteral("Broadcast"), broadcast);
    settings.setValue(QStringLiteral("OwnServer"), ownServer);
    settings.setValue(QStringLiteral("Host"), host);
    settings.setValue(QStringLiteral("StreamPort"), streamPort);
    settings.setValue(QStringLiteral("ControlPort"), controlPort);
    settings.setValue(QStringLiteral("SourcePort"), sourcePort);
    settings.setValue(QStringLiteral("BufferMs"), bufferMs);
    settings.setValue(QStringLiteral("LocalClient"), localClient);
    settings.endGroup();
}

QString OutputSettings::serverHost() const
{
    return ownServer ? QStringLiteral("127.0.0.1") : host;
}
