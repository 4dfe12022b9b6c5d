#ifndef CARDSOUNDS_H
#define CARDSOUNDS_H

#include <QHash>
#include <QString>

class CardCatalog;

// Kana compared by sound, as players hear the opening of a poem: katakana
// and half-width forms read as hiragana, and おう as おお (card 44 sounds
// like 60 and 95).
namespace CardSounds {

QString bySound(const QString &kana);

// The upper verse of every card of the catalogue, by sound.
QHash<int, QString> openings(const CardCatalog &catalog);

} // namespace CardSounds

#endif
