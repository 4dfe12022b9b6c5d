#include "DrillSettings.h"

#include <QSettings>
#include <QStringList>

#include <algorithm>

namespace {

const char *const Group = "DRILL";
const char *const KeyBeforeLower = "BeforeLowerMs";
const char *const KeyBeforeNext = "BeforeNextMs";
const char *const KeyListening = "Listening";
const char *const KeyWindow = "Window";

int pause(QSettings &settings, const char *key, int fallback)
{
    bool ok = false;
    const int value = settings.value(QLatin1String(key)).toString().trimmed().toInt(&ok);
    return ok ? std::clamp(value, 0, DrillSettings::MaxPauseMs) : fallback;
}

QRect parseRect(const QVariant &value)
{
    const QStringList parts = value.typeId() == QMetaType::QStringList
        ? value.toStringList()
        : value.toString().split(QLatin1Char(','));
    if (parts.size() != 4)
        return {};
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok)
            return {};
    }
    if (numbers[2] <= 0 || numbers[3] <= 0)
        return {};
    return {numbers[0], numbers[1], numbers[2], numbers[3]};
}

// Writes the key only while it differs from its default; otherwise removes it.
void put(QSettings &settings, const char *key, bool atDefault, const QString &value)
{
    if (atDefault)
        settings.remove(QLatin1String(key));
    else
        settings.setValue(QLatin1String(key), value);
}

} // namespace

DrillSettings DrillSettings::load(QSettings &settings)
{
    DrillSettings drill;
    settings.beginGroup(QLatin1String(Group));
    drill.beforeLowerMs = pause(settings, KeyBeforeLower, DefaultBeforeLowerMs);
    drill.beforeNextMs = pause(settings, KeyBeforeNext, DefaultBeforeNextMs);
    const QString listening = settings.value(QLatin1String(KeyListening)).toString().trimmed();
    drill.listening = listening.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
        || listening == QLatin1String("1");
    drill.window = parseRect(settings.value(QLatin1String(KeyWindow)));
    settings.endGroup();
    return drill;
}

void DrillSettings::save(QSettings &settings) const
{
    const DrillSettings defaults;
    settings.beginGroup(QLatin1String(Group));
    put(settings, KeyBeforeLower, beforeLowerMs == defaults.beforeLowerMs,
        QString::number(beforeLowerMs));
    put(settings, KeyBeforeNext, beforeNextMs == defaults.beforeNextMs,
        QString::number(beforeNextMs));
    put(settings, KeyListening, !listening, QStringLiteral("true"));
    put(settings, KeyWindow, window.isNull(),
        QStringLiteral("%1,%2,%3,%4")
            .arg(window.x())
            .arg(window.y())
            .arg(window.width())
            .arg(window.height()));
    settings.endGroup();
}
