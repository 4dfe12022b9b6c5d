#ifndef RECORDINGFILE_H
#define RECORDINGFILE_H

#include <QString>
#include <QStringList>

// A recording may be in any of these formats, looked for in this order.
QStringList recordingExtensions();

// The first regular file among base + ".ogg", ".opus", ".flac", ".mp3",
// ".wav"; base + ".ogg" when there is none (it is then unplayable like any
// missing file).
QString resolveRecording(const QString &basePathWithoutExtension);

#endif
