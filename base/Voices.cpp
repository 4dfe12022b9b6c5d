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

Voices::Voices(const AppFolder &folder, const ReaderInUse &reader)
    : folder(folder)
    , reader(reader)
{
}

QString Voices::folderName(int voice)
{
    return voice == First ? FirstFolder : SecondFolder;
}

QString Voices::basePath(int voice, int card, int half) const
{
    // A reader of the library reads for both voices.
    const LibraryReader library = reader.get();
    if (library.isSet())
        return library.folder + QDir::separator() + library.prefix
            + QString::asprintf("_%03d_%1d", card, half);
    const char *const prefix = voice == First ? FirstPrefix : SecondPrefix;
    const QString name = QString::asprintf("%s_%03d_%1d", prefix, card, half);
    const QString relative = folderName(voice) + QDir::separator() + name;
    // The user's folder, then the program's, then the package's: the first
    // that holds the verse in any format; the first folder when none does.
    const QStringList folders = folder.locations().lookupFolders();
    for (const QString &lookup : folders) {
        const QString base = lookup + QDir::separator() + relative;
        if (QFileInfo(resolveRecording(base)).isFile())
            return base;
    }
    return folders.first() + QDir::separator() + relative;
}

QString Voices::filePath(int voice, int card, int half) const
{
    return resolveRecording(basePath(voice, card, half));
}

bool Voices::isAvailable(int voice) const
{
    return QFileInfo::exists(filePath(voice, 0, 2));
}
