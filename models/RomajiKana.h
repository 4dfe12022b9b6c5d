#ifndef ROMAJIKANA_H
#define ROMAJIKANA_H

#include <QString>

#include <optional>

// Hepburn romaji to hiragana, for typing deciding syllables on a keyboard
// without a Japanese input method: "mu" む, "shi" し, "tsu" つ, "fu" ふ,
// "ji" じ, "kyo" きょ, "n" ん before a consonant or at the end (also "n'"), a doubled consonant っ,
// a macron a long vowel ("ō" おお). The common alternatives of typing ("si",
// "ti", "tu", "hu", "zi", "wo") are taken too. Case is ignored.
namespace RomajiKana {

// nullopt when the text is not romaji from start to end.
std::optional<QString> toHiragana(const QString &romaji);

} // namespace RomajiKana

#endif
