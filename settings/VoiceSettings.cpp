#include "VoiceSettings.h"

#include <QSettings>
#include <QVariant>

namespace {

const char *const Group = "VOICES";
const char *const KeyReader = "Reader";

} // namespace

bool VoiceSettings::isUsableName(const QString &name)
{
    // The name becomes a folder name under voices/: a path must not sneak in.
    if (name.isEmpty() || name.size() > 64 || name.startsWith(QLatin1Char('.'))
        || name.trimmed() != name)
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

VoiceSettings VoiceSettings::load(QSettings &settings)
{
    VoiceSettings loaded;
    settings.beginGroup(QLatin1String(Group));
    const QString reader = settings.value(QLatin1String(KeyReader)).toString();
    settings.endGroup();
    if (isUsableName(reader))
        loaded.reader = reader;
    return loaded;
}

void VoiceSettings::save(QSettings &settings) const
{
    if (!isUsableName(reader)) {
        // Removing a group that is not there would still mark the file for
        // rewriting; leave such a file alone.
        if (settings.childGroups().contains(QLatin1String(Group)))
            settings.remove(QLatin1String(Group));
        return;
    }
    settings.beginGroup(QLatin1String(Group));
    settings.setValue(QLatin1String(KeyReader), reader);
    settings.endGroup();
}
