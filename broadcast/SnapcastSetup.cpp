#include "SnapcastSetup.h"

#include "AudioClip.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <unistd.h>

namespace SnapcastSetup {

QStringList serverArguments(const OutputSettings &output, const QString &configFile,
                            const QString &dataFolder)
{
    const QString source =
        QStringLiteral("tcp://127.0.0.1:%1?name=%2&mode=server&sampleformat=%3:16:%4")
            .arg(output.sourcePort)
            .arg(QLatin1String(StreamName))
            .arg(AudioClip::Rate)
            .arg(AudioClip::Channels);
    return {QStringLiteral("--config=%1").arg(configFile),
            QStringLiteral("--server.datadir=%1").arg(dataFolder),
            QStringLiteral("--stream.source=%1").arg(source),
            QStringLiteral("--stream.port=%1").arg(output.streamPort),
            QStringLiteral("--stream.buffer=%1").arg(output.bufferMs),
            QStringLiteral("--tcp.port=%1").arg(output.controlPort),
            QStringLiteral("--http.enabled=false"),
            QStringLiteral("--logging.sink=stderr")};
}

QStringList clientArguments(const OutputSettings &output)
{
    return {QStringLiteral("--host"), output.serverHost(), QStringLiteral("--port"),
            QString::number(output.streamPort), QStringLiteral("--hostID"),
            QStringLiteral("QtUtakaze-host")};
}

QByteArray statusRequest(int id)
{
    const QJsonObject request {{QStringLiteral("id"), id},
                               {QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                               {QStringLiteral("method"), QStringLiteral("Server.GetStatus")}};
    return QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n';
}

int connectedClients(const QByteArray &reply, int id)
{
    const QJsonObject root = QJsonDocument::fromJson(reply).object();
    if (root.value(QStringLiteral("id")).toInt(-1) != id
        || !root.value(QStringLiteral("result")).isObject())
        return -1;
    const QJsonObject server = root.value(QStringLiteral("result"))
                                   .toObject()
                                   .value(QStringLiteral("server"))
                                   .toObject();
    int count = 0;
    const QJsonArray groups = server.value(QStringLiteral("groups")).toArray();
    for (const QJsonValue &group : groups) {
        const QJsonArray clients = group.toObject().value(QStringLiteral("clients")).toArray();
        for (const QJsonValue &client : clients) {
            if (client.toObject().value(QStringLiteral("connected")).toBool())
                ++count;
        }
    }
    return count;
}

QString joinCommand(const QString &host, int streamPort)
{
    if (streamPort == OutputSettings::DefaultStreamPort)
        return QStringLiteral("snapclient -h %1").arg(host);
    return QStringLiteral("snapclient -h %1 -p %2").arg(host).arg(streamPort);
}

} // namespace SnapcastSetup

QString SnapcastSetup::thisComputersAddress()
{
    QString found;
    ifaddrs *interfaces = nullptr;
    if (getifaddrs(&interfaces) == 0) {
        for (const ifaddrs *at = interfaces; at && found.isEmpty(); at = at->ifa_next) {
            if (!at->ifa_addr || at->ifa_addr->sa_family != AF_INET)
                continue;
            const in_addr address = reinterpret_cast<const sockaddr_in *>(at->ifa_addr)->sin_addr;
            if ((ntohl(address.s_addr) >> 24) == 127)
                continue;
            char text[INET_ADDRSTRLEN] = {};
            if (inet_ntop(AF_INET, &address, text, sizeof(text)))
                found = QString::fromLatin1(text);
        }
        freeifaddrs(interfaces);
    }
    if (found.isEmpty()) {
        char name[256] = {};
        if (gethostname(name, sizeof(name) - 1) == 0)
            found = QString::fromLocal8Bit(name);
    }
    return found;
}
