#include "Voices.h"

#include "AppFolder.h"
#include "ReaderInUse.h"
#include "RecordingFile.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QLatin1String FirstFolder("Music");
const QLatin1String SecondFolder("Music2");
const char *const FirstPrefix = "rindou";
const char *const SecondPrefix = "asagao";
} // namespace

QString Voices::folderName(int voice)
{
    return voice == First ? FirstFolder : SecondFolder;
}

QString Voices::basePath(int voice, int card, int half)
{
    // A reader of the library reads for both voices.
    const LibraryReader reader = ReaderInUse::get();
    if (reader.isSet())
        return reader.folder + QDir::separator() + reader.prefix
            + QString::asprintf("_%03d_%1d", card, half);
    const char *const prefix = voice == First ? FirstPrefix : SecondPrefix;
    const QString name = QString::asprintf("%s_%03d_%1d", prefix, card, half);
    const QString relative = folderName(voice) + QDir::separator() + name;
    // The user's folder, then the program's, then the package's: the first
    // that holds the verse in any format; the first folder when none does.
    const QStringList folders = AppFolder::locations().lookupFolders();
    for (const QString &folder : folders) {
        const QString base = folder + QDir::separator() + relative;
        if (QFileInfo(resolveRecording(base)).isFile())
            return base;
    }
    return folders.first() + QDir::separator() + relative;
}

QString Voices::fileFor(const QString &basePath)
{
    return resolveRecording(basePath);
}

QString Voices::filePath(int voice, int card, int half)
{
    return fileFor(basePath(voice, card, half));
}

bool Voices::isAvailable(int voice)
{
    return QFileInfo::exists(filePath(voice, 0, 2));
}
