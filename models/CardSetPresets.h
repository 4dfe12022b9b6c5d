#ifndef CARDSETPRESETS_H
#define CARDSETPRESETS_H

#include <QList>
#include <QString>

class CardCatalog;
class KimarijiModel;

// The ready-made card sets: the five colour groups, the one-syllable cards,
// and the cards of each first kana (by sound).
struct CardSetPreset
{
    enum class Kind { Colour, OneSyllable, FirstKana };
    Kind kind = Kind::Colour;
    QString key; // the colour name ("blue", ...) or the first kana; empty for OneSyllable
    QList<int> cards; // ascending

    bool operator==(const CardSetPreset &other) const = default;
};

namespace CardSetPresets {

// Colours in CardCatalog::colours() order, then the one-syllable cards, then
// the first kana in kana order.
QList<CardSetPreset> all(const CardCatalog &catalog);

} // namespace CardSetPresets

#endif
