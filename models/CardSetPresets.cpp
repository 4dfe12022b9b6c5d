#include "CardSetPresets.h"

#include "CardCatalog.h"
#include "KimarijiModel.h"

#include <QMap>

namespace CardSetPresets {

QList<CardSetPreset> all(const CardCatalog &catalog)
{
    QList<CardSetPreset> presets;
    const QList<int> numbers = catalog.numbers(); // ascending

    for (const QString &colour : CardCatalog::colours()) {
        CardSetPreset preset {CardSetPreset::Kind::Colour, colour, {}};
        for (int n : numbers) {
            if (catalog.card(n).colour == colour)
                preset.cards.append(n);
        }
        presets.append(preset);
    }

    const KimarijiModel kimariji = KimarijiModel::fromCatalog(catalog);
    CardSetPreset oneSyllable {CardSetPreset::Kind::OneSyllable, QString(), {}};
    QMap<QString, QList<int>> byFirstKana; // kana sort in Unicode order: あいう...
    for (int n : numbers) {
        if (kimariji.staticLength(n) == 1)
            oneSyllable.cards.append(n);
        byFirstKana[catalog.card(n).upperSounds().left(1)].append(n);
    }
    presets.append(oneSyllable);
    for (auto it = byFirstKana.cbegin(); it != byFirstKana.cend(); ++it)
        presets.append({CardSetPreset::Kind::FirstKana, it.key(), it.value()});
    return presets;
}

} // namespace CardSetPresets
