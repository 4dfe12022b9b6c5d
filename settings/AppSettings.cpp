#include "AppSettings.h"

#include <QSettings>

AppSettings AppSettings::load(const QString &path)
{
    QSettings settings(path, QSettings::IniFormat);
    AppSettings loaded;
    loaded.main = MainSettings::load(settings);
    loaded.audio = AudioSettings::load(settings);
    loaded.practice = PracticeSettings::load(settings);
    loaded.view = ViewSettings::load(settings);
    loaded.voices = VoiceSettings::load(settings);
    loaded.drill = DrillSettings::load(settings);
    loaded.output = OutputSettings::load(settings);
    loaded.cardSets = CardSets::load(settings);
    loaded.drillField = DrillFieldSettings::load(settings);
    return loaded;
}

bool AppSettings::save(const QString &path) const
{
    QSettings settings(path, QSettings::IniFormat);
    main.save(settings);
    audio.save(settings);
    practice.save(settings);
    view.save(settings);
    voices.save(settings);
    drill.save(settings);
    output.save(settings);
    cardSets.save(settings);
    drillField.save(settings);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
