#include "AppFolder.h"

#include "Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

AppFolder::AppFolder(const DataLocations &locations)
    : current(locations)
{
}

AppFolder AppFolder::portable(const QString &folder)
{
    return AppFolder(DataLocations::portable(folder));
}

AppFolder AppFolder::choose(QStringList *uncreatable)
{
    const DataLocations chosen = DataLocations::choose(QCoreApplication::applicationDirPath(),
                                                       QProcessEnvironment::systemEnvironment());
    const QStringList failed = chosen.createFolders();
    for (const QString &folder : failed)
        qCWarning(lcSettings, "cannot create the folder %s: nothing is kept there",
                  qUtf8Printable(folder));
    if (uncreatable)
        *uncreatable = failed;
    return AppFolder(chosen);
}

QString AppFolder::path() const
{
    return current.dataFolder();
}

QString AppFolder::filePath(const QString &relative) const
{
    if (relative == DataLocations::settingsFileName())
        return current.settingsFile();
    return current.dataFolder() + QDir::separator() + relative;
}

QString AppFolder::cueFile(const QString &name) const
{
    if (current.mode() == DataLocations::Mode::Portable) {
        // Started from a launcher, the working directory is rarely the program's.
        const QString besideProgram = QDir(current.programFolder()).filePath(name);
        return QFileInfo(name).isFile() || !QFileInfo(besideProgram).isFile() ? name
                                                                               : besideProgram;
    }
    const QString found = current.findFile(name);
    return found.isEmpty() ? name : found;
}
