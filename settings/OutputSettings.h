#ifndef OUTPUTSETTINGS_H
#define OUTPUTSETTINGS_H

#include <QString>

class QSettings;

// Where the reading sounds, kept in group OUTPUT of the settings file: this
// computer's sound device (the default), or a broadcast through a Snapcast
// server, either one the program starts itself or one already running.
//
// Reading: a missing or unreadable key gives its default; a port out of
// 1..65535 or a buffer out of MinBufferMs..MaxBufferMs gives the default /
// is clamped. Writing: the group is written only once a broadcast has been
// switched on; a file of someone who never broadcast stays as it was.
struct OutputSettings
{
    static constexpr int DefaultStreamPort = 1704; // players' clients connect here
    static constexpr int DefaultControlPort = 1705; // JSON-RPC
    static constexpr int DefaultSourcePort = 4953; // the program sends the reading here
    static constexpr int DefaultBufferMs = 600;
    static constexpr int MinBufferMs = 200;
    static constexpr int MaxBufferMs = 5000;

    bool broadcast = false;
    bool ownServer = true; // started by the program; otherwise one at host
    QString host = QStringLiteral("127.0.0.1"); // of a server already running
    int streamPort = DefaultStreamPort;
    int controlPort = DefaultControlPort;
    int sourcePort = DefaultSourcePort;
    int bufferMs = DefaultBufferMs; // a server the program starts
    bool localClient = true; // the program runs a client so the host hears the players' sound

    static OutputSettings load(QSettings &settings);
    void save(QSettings &settings) const;
    // The host the program sends to and asks: itself for its own server.
    QString serverHost() const;

    friend bool operator==(const OutputSettings &, const OutputSettings &) = default;
};

#endif
