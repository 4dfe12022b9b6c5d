#include "DataLocations.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QLatin1String ModeVariable("QTUTAKAZE_DATA_MODE");
const QLatin1String FolderName("QtUtakaze");

QString cleanFolder(const QString &folder)
{
    return QDir::cleanPath(folder);
}

// An XDG base folder: the variable when it holds an absolute path, else the
// default under HOME.
QString xdgFolder(const QProcessEnvironment &environment, const QString &variable,
                  const QString &homeRelative)
{
    const QString value = environment.value(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return cleanFolder(value);
    QString home = environment.value(QStringLiteral("HOME"));
    if (home.isEmpty())
        home = QDir::homePath();
    return cleanFolder(home + QLatin1Char('/') + homeRelative);
}
} // namespace

DataLocations::Mode DataLocations::modeFor(const QString &programFolder,
                                           const QProcessEnvironment &environment)
{
    const QString forced = environment.value(ModeVariable);
    if (forced == QLatin1String("portable"))
        return Mode::Portable;
    if (forced == QLatin1String("per-user"))
        return Mode::PerUser;
    if (QFileInfo::exists(programFolder + QLatin1Char('/') + perUserMarkerName()))
        return Mode::PerUser;
    return QFileInfo(programFolder).isWritable() ? Mode::Portable : Mode::PerUser;
}

DataLocations DataLocations::portable(const QString &programFolder)
{
    DataLocations locations;
    locations.currentMode = Mode::Portable;
    locations.program = programFolder;
    locations.config = programFolder;
    locations.data = programFolder;
    return locations;
}

DataLocations DataLocations::perUser(const QString &programFolder,
                                     const QProcessEnvironment &environment)
{
    DataLocations locations;
    locations.currentMode = Mode::PerUser;
    locations.program = programFolder;
    locations.config =
        xdgFolder(environment, QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral(".config"))
        + QLatin1Char('/') + FolderName;
    locations.data =
        xdgFolder(environment, QStringLiteral("XDG_DATA_HOME"), QStringLiteral(".local/share"))
        + QLatin1Char('/') + FolderName;
    locations.shared = cleanFolder(programFolder + QStringLiteral("/../../share/qtutakaze"));
    return locations;
}

DataLocations DataLocations::choose(const QString &programFolder,
                                    const QProcessEnvironment &environment)
{
    return modeFor(programFolder, environment) == Mode::Portable
        ? portable(programFolder)
        : perUser(programFolder, environment);
}

QString DataLocations::settingsFile() const
{
    return config + QDir::separator() + settingsFileName();
}

QStringList DataLocations::lookupFolders() const
{
    if (currentMode == Mode::Portable)
        return {program};
    return {data, program, shared};
}

QString DataLocations::findFile(const QString &relative) const
{
    for (const QString &folder : lookupFolders()) {
        const QString candidate = folder + QLatin1Char('/') + relative;
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

QStringList DataLocations::createFolders() const
{
    QStringList failed;
    if (currentMode == Mode::Portable)
        return failed;
    for (const QString &folder : {config, data}) {
        if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable())
            failed.append(folder);
    }
    return failed;
}
