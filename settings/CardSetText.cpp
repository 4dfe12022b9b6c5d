#include "CardSetText.h"

#include "CardSets.h"

#include <QRegularExpression>

QString CardSetText::toLine() const
{
    return name + QStringLiteral(": ") + CardSets::format(cards);
}

std::optional<CardSetText> CardSetText::fromLine(const QString &line)
{
    const QString plain = line.normalized(QString::NormalizationForm_KC).trimmed();
    const qsizetype colon = plain.lastIndexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    const QString name = plain.left(colon).trimmed();
    QString numbers = plain.mid(colon + 1);
    numbers.remove(QRegularExpression(QStringLiteral("\\s")));
    // The separators the typed card field takes (a Japanese keyboard's 、 and
    // ・ are left as they are by the normalization above) read as commas.
    numbers.replace(QRegularExpression(QStringLiteral("[、;・]")), QStringLiteral(","));
    const std::optional<QList<int>> cards = CardSets::parse(numbers);
    if (!cards || !CardSets::isValidName(name))
        return std::nullopt;
    return CardSetText {name, *cards};
}
