#include "RomajiKana.h"

#include <utility>

namespace {

// Syllables by spelling; the converter tries three letters, then two, then
// one, so "shi" wins over "s" + "hi". Kept in rows of the kana order:
// clang-format off
constexpr std::pair<const char *, const char *> Syllables[] = {
    // Three letters.
    {"kya", "きゃ"}, {"kyu", "きゅ"}, {"kyo", "きょ"}, {"sha", "しゃ"}, {"shi", "し"},
    {"shu", "しゅ"}, {"sho", "しょ"}, {"cha", "ちゃ"}, {"chi", "ち"}, {"chu", "ちゅ"},
    {"cho", "ちょ"}, {"tsu", "つ"}, {"nya", "にゃ"}, {"nyu", "にゅ"}, {"nyo", "にょ"},
    {"hya", "ひゃ"}, {"hyu", "ひゅ"}, {"hyo", "ひょ"}, {"mya", "みゃ"}, {"myu", "みゅ"},
    {"myo", "みょ"}, {"rya", "りゃ"}, {"ryu", "りゅ"}, {"ryo", "りょ"}, {"gya", "ぎゃ"},
    {"gyu", "ぎゅ"}, {"gyo", "ぎょ"}, {"bya", "びゃ"}, {"byu", "びゅ"}, {"byo", "びょ"},
    {"pya", "ぴゃ"}, {"pyu", "ぴゅ"}, {"pyo", "ぴょ"},
    // Two letters.
    {"ka", "か"}, {"ki", "き"}, {"ku", "く"}, {"ke", "け"}, {"ko", "こ"},
    {"sa", "さ"}, {"si", "し"}, {"su", "す"}, {"se", "せ"}, {"so", "そ"},
    {"ta", "た"}, {"ti", "ち"}, {"tu", "つ"}, {"te", "て"}, {"to", "と"},
    {"na", "な"}, {"ni", "に"}, {"nu", "ぬ"}, {"ne", "ね"}, {"no", "の"},
    {"ha", "は"}, {"hi", "ひ"}, {"fu", "ふ"}, {"hu", "ふ"}, {"he", "へ"}, {"ho", "ほ"},
    {"ma", "ま"}, {"mi", "み"}, {"mu", "む"}, {"me", "め"}, {"mo", "も"},
    {"ya", "や"}, {"yu", "ゆ"}, {"yo", "よ"},
    {"ra", "ら"}, {"ri", "り"}, {"ru", "る"}, {"re", "れ"}, {"ro", "ろ"},
    {"wa", "わ"}, {"wi", "ゐ"}, {"we", "ゑ"}, {"wo", "を"},
    {"ga", "が"}, {"gi", "ぎ"}, {"gu", "ぐ"}, {"ge", "げ"}, {"go", "ご"},
    {"za", "ざ"}, {"ji", "じ"}, {"zi", "じ"}, {"zu", "ず"}, {"ze", "ぜ"}, {"zo", "ぞ"},
    {"da", "だ"}, {"di", "ぢ"}, {"du", "づ"}, {"de", "で"}, {"do", "ど"},
    {"ba", "ば"}, {"bi", "び"}, {"bu", "ぶ"}, {"be", "べ"}, {"bo", "ぼ"},
    {"pa", "ぱ"}, {"pi", "ぴ"}, {"pu", "ぷ"}, {"pe", "ぺ"}, {"po", "ぽ"},
    {"ja", "じゃ"}, {"ju", "じゅ"}, {"jo", "じょ"}, {"n'", "ん"},
    // One letter.
    {"a", "あ"}, {"i", "い"}, {"u", "う"}, {"e", "え"}, {"o", "お"}, {"n", "ん"},
    // Long vowels written with a macron or a circumflex.
    {"ā", "ああ"}, {"ī", "いい"}, {"ū", "うう"}, {"ē", "ええ"}, {"ō", "おお"},
    {"â", "ああ"}, {"î", "いい"}, {"û", "うう"}, {"ê", "ええ"}, {"ô", "おお"},
};
// clang-format on

bool isVowel(QChar c)
{
    return QStringLiteral("aiueo").contains(c);
}

} // namespace

namespace RomajiKana {

std::optional<QString> toHiragana(const QString &romaji)
{
    const QString text = romaji.toLower();
    QString kana;
    qsizetype at = 0;
    while (at < text.size()) {
        // A doubled consonant ("tt", "kk", and "tch") is a small つ.
        const QChar c = text.at(at);
        if (at + 1 < text.size() && c.isLetter() && !isVowel(c) && c != QLatin1Char('n')
            && (text.at(at + 1) == c
                || (c == QLatin1Char('t') && text.mid(at + 1, 2) == QLatin1String("ch")))) {
            kana += QStringLiteral("っ");
            ++at;
            continue;
        }
        bool matched = false;
        for (qsizetype length = 3; length >= 1 && !matched; --length) {
            const QString piece = text.mid(at, length);
            if (piece.size() != length)
                continue;
            for (const auto &[spelling, hiragana] : Syllables) {
                if (piece == QString::fromUtf8(spelling)) {
                    // "n" before a vowel or "y" starts a syllable ("na", "nya").
                    if (piece == QLatin1String("n") && at + 1 < text.size()
                        && (isVowel(text.at(at + 1)) || text.at(at + 1) == QLatin1Char('y')))
                        break;
                    kana += QString::fromUtf8(hiragana);
                    at += length;
                    matched = true;
                    break;
                }
            }
        }
        if (!matched)
            return std::nullopt;
    }
    return kana;
}

} // namespace RomajiKana
