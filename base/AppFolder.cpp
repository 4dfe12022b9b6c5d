#include "AppFolder.h"

#include "Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <optional>

namespace {
QMutex locationsMutex;
std::optional<DataLocations> chosen; // empty: portable in the executable's directory
} // namespace

DataLocations AppFolder::locations()
{
    {
        const QMutexLocker locker(&locationsMutex);
        if (chosen)
            return *chosen;
    }
    return DataLocations::portable(QCoreApplication::applicationDirPath());
}

void AppFolder::setLocations(const DataLocations &locations)
{
    const QMutexLocker locker(&locationsMutex);
    chosen = locations;
}

QString AppFolder::path()
{
    return locations().dataFolder();
}

void AppFolder::setPathForTesting(const QString &folder)
{
    const QMutexLocker locker(&locationsMutex);
    if (folder.isEmpty())
        chosen.reset();
    else
        chosen = DataLocations::portable(folder);
}

QString AppFolder::filePath(const QString &relative)
{
    const DataLocations current = locations();
    if (relative == DataLocations::settingsFileName())
        return current.settingsFile();
    return current.dataFolder() + QDir::separator() + relative;
}

QStringList AppFolder::chooseLocations()
{
    const DataLocations current = DataLocations::choose(QCoreApplication::applicationDirPath(),
                                                        QProcessEnvironment::systemEnvironment());
    setLocations(current);
    const QStringList failed = current.createFolders();
    for (const QString &folder : failed)
        qCWarning(lcSettings, "cannot create the folder %s: nothing is kept there",
                  qUtf8Printable(folder));
    return failed;
}

QString AppFolder::cueFile(const QString &name)
{
    const DataLocations current = locations();
    if (current.mode() == DataLocations::Mode::Portable) {
        // Started from a launcher, the working directory is rarely the program's.
        const QString besideProgram = QDir(current.programFolder()).filePath(name);
        return QFileInfo(name).isFile() || !QFileInfo(besideProgram).isFile() ? name
                                                                               : besideProgram;
    }
    const QString found = current.findFile(name);
    return found.isEmpty() ? name : found;
}
