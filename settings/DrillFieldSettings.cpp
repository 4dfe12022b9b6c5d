#include "DrillFieldSettings.h"

#include <QSettings>
#include <QStringList>

namespace {

const char *const Group = "DRILL_FIELD";
const char *const KeyLayout = "Layout";
const char *const KeyOwnSlots = "OwnSlots";
const char *const GameLayout = "game";

} // namespace

DrillFieldSettings DrillFieldSettings::load(QSettings &settings)
{
    DrillFieldSettings loaded;
    settings.beginGroup(QLatin1String(Group));
    loaded.gameField = settings.value(QLatin1String(KeyLayout))
                           .toString()
                           .trimmed()
                           .compare(QLatin1String(GameLayout), Qt::CaseInsensitive)
        == 0;
    // "card:slot card:slot ...", spaces between so that the INI file keeps
    // it as one string.
    const QStringList entries = settings.value(QLatin1String(KeyOwnSlots))
                                    .toString()
                                    .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &entry : entries) {
        const QStringList parts = entry.split(QLatin1Char(':'));
        if (parts.size() != 2)
            continue;
        bool okCard = false;
        bool okSlot = false;
        const int card = parts.at(0).toInt(&okCard);
        const int slot = parts.at(1).toInt(&okSlot);
        if (okCard && okSlot && card >= 1 && card <= 100 && slot >= 0 && slot < SideSlots)
            loaded.ownSlots.insert(card, slot);
    }
    settings.endGroup();
    return loaded;
}

void DrillFieldSettings::save(QSettings &settings) const
{
    settings.beginGroup(QLatin1String(Group));
    settings.remove(QLatin1String(KeyLayout));
    settings.remove(QLatin1String(KeyOwnSlots));
    if (gameField)
        settings.setValue(QLatin1String(KeyLayout), QLatin1String(GameLayout));
    if (!ownSlots.isEmpty()) {
        QStringList entries;
        for (auto it = ownSlots.cbegin(); it != ownSlots.cend(); ++it)
            entries.append(QStringLiteral("%1:%2").arg(it.key()).arg(it.value()));
        settings.setValue(QLatin1String(KeyOwnSlots), entries.join(QLatin1Char(' ')));
    }
    settings.endGroup();
}
