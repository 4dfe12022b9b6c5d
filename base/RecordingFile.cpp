#include "RecordingFile.h"

#include <QFileInfo>

QStringList recordingExtensions()
{
    return {QStringLiteral(".ogg"), QStringLiteral(".opus"), QStringLiteral(".flac"),
            QStringLiteral(".mp3"), QStringLiteral(".wav")};
}

QString resolveRecording(const QString &basePathWithoutExtension)
{
    const QStringList extensions = recordingExtensions();
    for (const QString &extension : extensions) {
        const QString path = basePathWithoutExtension + extension;
        if (QFileInfo(path).isFile())
            return path;
    }
    return basePathWithoutExtension + extensions.first();
}
