#include "CardSounds.h"

#include "CardCatalog.h"

namespace {

constexpr char16_t KatakanaFirst = u'ァ';
constexpr char16_t KatakanaLast = u'ヶ';
constexpr char16_t KatakanaToHiragana = u'ァ' - u'ぁ';

} // namespace

namespace CardSounds {

QString bySound(const QString &kana)
{
    QString sounds = kana.normalized(QString::NormalizationForm_KC);
    for (QChar &c : sounds) {
        if (c.unicode() >= KatakanaFirst && c.unicode() <= KatakanaLast)
            c = QChar(static_cast<char16_t>(c.unicode() - KatakanaToHiragana));
    }
    sounds.replace(QStringLiteral("おう"), QStringLiteral("おお"));
    return sounds;
}

QHash<int, QString> openings(const CardCatalog &catalog)
{
    QHash<int, QString> sounds;
    for (int card : catalog.numbers())
        sounds.insert(card, bySound(catalog.card(card).upperSounds()));
    return sounds;
}

} // namespace CardSounds
