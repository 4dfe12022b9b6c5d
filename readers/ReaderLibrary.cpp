#include "ReaderLibrary.h"

#include "AppFolder.h"
#include "ReaderFiles.h"
#include "VoiceSettings.h"

#include <QDir>
#include <QFileInfo>

ReaderLibrary::ReaderLibrary(const AppFolder &folder)
    : ReaderLibrary(folder.filePath(QStringLiteral("voices")))
{
}

ReaderLibrary::ReaderLibrary(const QString &root)
    : libraryRoot(root)
{
}

QStringList ReaderLibrary::names() const
{
    QStringList names;
    const QStringList folders =
        QDir(libraryRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : folders) {
        if (isValidName(name) && reader(name).isSet())
            names.append(name);
    }
    return names;
}

QString ReaderLibrary::folder(const QString &name) const
{
    return QDir(libraryRoot).filePath(name);
}

bool ReaderLibrary::contains(const QString &name) const
{
    return isValidName(name) && QFileInfo::exists(folder(name));
}

LibraryReader ReaderLibrary::reader(const QString &name) const
{
    if (!isValidName(name))
        return {};
    const ReaderFiles files = ReaderFiles::scan(folder(name));
    if (files.isEmpty())
        return {};
    return {QDir(folder(name)).absolutePath(), files.prefix};
}

bool ReaderLibrary::isValidName(const QString &name)
{
    return VoiceSettings::isUsableName(name);
}

bool ReaderLibrary::use(const QString &name, ReaderInUse &inUse) const
{
    const LibraryReader found = name.isEmpty() ? LibraryReader {} : reader(name);
    inUse.set(found);
    return name.isEmpty() || found.isSet();
}
