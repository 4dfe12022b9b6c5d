#include "SettingsFile.h"

#include "AppSettings.h"
#include "AudioShapingStore.h"
#include "Logging.h"
#include "ReaderLibrary.h"
#include "SettingsAutoSave.h"

#include <QAbstractButton>
#include <QAction>
#include <QSpinBox>

SettingsFile::SettingsFile(AppSettings *settings, const QString &path, const AppServices &services,
                           QObject *parent)
    : QObject(parent)
    , settings(settings)
    , path(path)
    , services(services)
    , autoSave(new SettingsAutoSave(
          path, [settings](const QString &file) { return settings->save(file); }, this))
{
}

void SettingsFile::load()
{
    *settings = AppSettings::load(path);
    // Values of the file that were out of range or broken are logged, so a
    // hand-edited file is not silently "ignored".
    for (const QString &line : settings->main.adjustments())
        qCInfo(lcSettings, "%s", qUtf8Printable(line));
    // The verses are shaped as the settings say, the options dialog's sample included.
    services.shaping.set(settings->audio.shaping());
    // A reader of the library whose folder has gone leaves the two voices
    // reading; the setting stays, so the reader is back with its folder.
    ReaderLibrary(services.folder).use(settings->voices.reader, services.reader);
}

void SettingsFile::save()
{
    if (!settings->save(path))
        qCWarning(lcSettings, "cannot write the settings file %s (read-only folder or full disk?)",
                  qUtf8Printable(path));
}

void SettingsFile::watch(const QList<QObject *> &controls)
{
    for (QObject *control : controls) {
        if (auto *spinBox = qobject_cast<QSpinBox *>(control))
            connect(spinBox, &QSpinBox::valueChanged, this, &SettingsFile::changed);
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            connect(button,
                    button->isCheckable() ? &QAbstractButton::toggled : &QAbstractButton::clicked,
                    this, &SettingsFile::changed);
        else if (auto *action = qobject_cast<QAction *>(control))
            connect(action, &QAction::triggered, this, &SettingsFile::changed);
    }
}

void SettingsFile::changed()
{
    autoSave->scheduleSave();
}
