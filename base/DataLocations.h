#ifndef DATALOCATIONS_H
#define DATALOCATIONS_H

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Where the program keeps what it writes and where it looks for recordings.
//
// Portable: the program's own folder holds everything (settings file,
// history, voices), as when it runs from a build or a folder of the user's.
// Per-user: the program's folder is not writable (an installed package), so
// each user gets the settings in $XDG_CONFIG_HOME/QtUtakaze and the rest in
// $XDG_DATA_HOME/QtUtakaze; recordings and cues are looked up there first,
// then beside the program, then in the package's shared data folder.
class DataLocations
{
public:
    enum class Mode { Portable, PerUser };

    // The mode for a program folder: QTUTAKAZE_DATA_MODE ("portable" or
    // "per-user") when set; per-user when the folder holds the marker file
    // (an installed package, which root could otherwise write into) or is
    // not writable; portable otherwise.
    static Mode modeFor(const QString &programFolder, const QProcessEnvironment &environment);
    static DataLocations portable(const QString &programFolder);
    // XDG_CONFIG_HOME and XDG_DATA_HOME are taken when absolute, as the XDG
    // rules say; otherwise ~/.config and ~/.local/share under HOME.
    static DataLocations perUser(const QString &programFolder,
                                 const QProcessEnvironment &environment);
    static DataLocations choose(const QString &programFolder,
                                const QProcessEnvironment &environment);

    // The file in a program folder that asks for per-user data.
    static QString perUserMarkerName() { return QStringLiteral("QtUtakaze.per-user"); }
    static QString settingsFileName() { return QStringLiteral("QtUtakaze.ini"); }

    Mode mode() const { return currentMode; }
    QString programFolder() const { return program; }
    // The settings file and its folder.
    QString settingsFolder() const { return config; }
    QString settingsFile() const;
    // History, training records, imported readers.
    QString dataFolder() const { return data; }
    // The package's read-only data (demo voices, cues): <prefix>/share/qtutakaze
    // for a program in <prefix>/lib/qtutakaze. Empty in portable mode.
    QString sharedFolder() const { return shared; }
    // Where recordings and cues are looked for, first match wins.
    QStringList lookupFolders() const;
    // `relative` in the first folder of lookupFolders() that holds it as a
    // regular file; empty if none does.
    QString findFile(const QString &relative) const;

    // The folders this mode writes into, made when missing. Returns the ones
    // that could not be made (nothing in portable mode, which makes none).
    QStringList createFolders() const;

private:
    Mode currentMode = Mode::Portable;
    QString program;
    QString config;
    QString data;
    QString shared;
};

#endif
