#include "AudioSettings.h"

#include "StoredBool.h"

#include <QSettings>
#include <QString>
#include <QVariant>

#include <cmath>

namespace {

const char *const Group = "AUDIO";
const char *const KeyTrimSilence = "TrimSilence";
const char *const KeyNormalize = "Normalize";
const char *const KeySpeed = "Speed";

double storedSpeed(const QVariant &value)
{
    bool ok = false;
    const double speed = value.toString().trimmed().toDouble(&ok);
    return ok && std::isfinite(speed) ? AudioShaping::clampedSpeed(speed)
                                      : AudioShaping::NormalSpeed;
}

} // namespace

AudioSettings AudioSettings::load(QSettings &settings)
{
    AudioSettings loaded;
    settings.beginGroup(QLatin1String(Group));
    loaded.trimSilence = storedBool(settings.value(QLatin1String(KeyTrimSilence)), false);
    loaded.normalize = storedBool(settings.value(QLatin1String(KeyNormalize)), false);
    loaded.speed = storedSpeed(settings.value(QLatin1String(KeySpeed)));
    settings.endGroup();
    return loaded;
}

AudioSettings AudioSettings::fromShaping(const AudioShaping &shaping)
{
    return {shaping.trimSilence, shaping.normalize, AudioShaping::clampedSpeed(shaping.speed)};
}

void AudioSettings::save(QSettings &settings) const
{
    if (shaping().isDefault()) {
        // Removing a group that is not there would still mark the file for
        // rewriting; leave such a file alone.
        if (settings.childGroups().contains(QLatin1String(Group)))
            settings.remove(QLatin1String(Group));
        return;
    }
    settings.beginGroup(QLatin1String(Group));
    settings.setValue(QLatin1String(KeyTrimSilence), trimSilence);
    settings.setValue(QLatin1String(KeyNormalize), normalize);
    settings.setValue(QLatin1String(KeySpeed), AudioShaping::clampedSpeed(speed));
    settings.endGroup();
}

AudioShaping AudioSettings::shaping() const
{
    return {trimSilence, normalize, AudioShaping::clampedSpeed(speed)};
}
