#ifndef SNAPCASTSETUP_H
#define SNAPCASTSETUP_H

#include "OutputSettings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the program tells Snapcast's programs and asks its server, worked out
// from the output settings; nothing here starts or reaches anything.
namespace SnapcastSetup {

// The name of the stream the reading is sent to.
inline constexpr char StreamName[] = "QtUtakaze";

// Arguments of a snapserver the program starts: its one stream a TCP source
// on this computer only, in the engine's sample format; the ports and the
// buffer from the settings; no web server (one port fewer open); its state
// in dataFolder, and the configuration file given (an empty one: the
// system's own /etc/snapserver.conf would add sources of its own).
QStringList serverArguments(const OutputSettings &output, const QString &configFile,
                            const QString &dataFolder);
// Arguments of the local snapclient the host hears the reading through.
QStringList clientArguments(const OutputSettings &output);
// The JSON-RPC request of the server's status, one line.
QByteArray statusRequest(int id);
// The clients connected, from one JSON-RPC reply line to statusRequest();
// -1 when the line is not that reply.
int connectedClients(const QByteArray &reply, int id);
// What players type: "snapclient -h HOST -p PORT" (the port left out when it
// is the usual one).
QString joinCommand(const QString &host, int streamPort);

// An IPv4 address of this computer on a network it shares with others (the
// first that is not a loopback one), else its host name.
QString thisComputersAddress();

} // namespace SnapcastSetup

#endif
