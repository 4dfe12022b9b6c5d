#ifndef SETTINGSFILE_H
#define SETTINGSFILE_H

#include "AppServices.h"

#include <QList>
#include <QObject>
#include <QString>

struct AppSettings;
class SettingsAutoSave;

// The window's settings file: read once at the start, written at exit and,
// in between, shortly after each change (so a lost display or a crash loses
// at most the last moment). What it reads is put in force at once: the
// shaping of the verses and the reader in use.
class SettingsFile : public QObject
{
    Q_OBJECT

public:
    // `settings` and what `services` refers to outlive this object.
    SettingsFile(AppSettings *settings, const QString &path, const AppServices &services,
                 QObject *parent = nullptr);

    void load();
    // The write at exit; a read-only folder keeps the old file and says so.
    void save();

    // Each of these changes a setting when used: a spin box's value, a check
    // box, a button or an action (which opens a dialog that may change one).
    // Connected after their own slots, so the change is made when it counts.
    void watch(const QList<QObject *> &controls);

public slots:
    // A setting changed: the file is written soon if its content changes.
    void changed();

private:
    AppSettings *settings;
    QString path;
    AppServices services;
    SettingsAutoSave *autoSave; // owned by this object
};

#endif
