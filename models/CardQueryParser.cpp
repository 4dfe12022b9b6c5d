#include "CardQueryParser.h"

#include "CardCatalog.h"
#include "CardSounds.h"
#include "RomajiKana.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr int FirstCard = 1;
constexpr int LastCard = 100;

bool isKana(QChar c)
{
    return (c >= QChar(u'ぁ') && c <= QChar(u'ゖ')) || (c >= QChar(u'ァ') && c <= QChar(u'ヺ'))
        || c == QChar(u'ー');
}

} // namespace

QSet<int> CardQuery::appliedTo(const QSet<int> &selection) const
{
    if (!unknown.isEmpty())
        return selection;
    QSet<int> result = selection;
    result.unite(added);
    result.subtract(removed);
    return result;
}

CardQueryParser::CardQueryParser(const QHash<int, QString> &decidingSyllables,
                                 const QHash<int, QString> &upperSounds)
{
    for (auto it = decidingSyllables.cbegin(); it != decidingSyllables.cend(); ++it)
        printed.insert(it.key(), CardSounds::bySound(it.value()));
    for (auto it = upperSounds.cbegin(); it != upperSounds.cend(); ++it)
        spoken.insert(it.key(), CardSounds::bySound(it.value()));
}

CardQueryParser CardQueryParser::fromCatalog(const CardCatalog &catalog)
{
    QHash<int, QString> syllables;
    QHash<int, QString> sounds;
    for (int card : catalog.numbers()) {
        syllables.insert(card, catalog.card(card).kimariji);
        sounds.insert(card, catalog.card(card).upperSounds());
    }
    return CardQueryParser(syllables, sounds);
}

CardQuery CardQueryParser::parse(const QString &text) const
{
    static const QRegularExpression separators(QStringLiteral("[\\s,、;・]+"));
    CardQuery query;
    // Full-width letters, digits and signs read as their plain forms.
    const QString plain = text.normalized(QString::NormalizationForm_KC);
    for (const QString &word : plain.split(separators, Qt::SkipEmptyParts)) {
        const bool remove = word.startsWith(QLatin1Char('-')) || word.startsWith(QChar(u'−'));
        const QSet<int> cards = cardsOfWord(remove ? word.mid(1) : word);
        if (cards.isEmpty())
            query.unknown.append(word);
        else
            (remove ? query.removed : query.added).unite(cards);
    }
    return query;
}

QSet<int> CardQueryParser::cardsOfWord(const QString &word) const
{
    if (word.isEmpty())
        return {};
    if (word.front().isDigit())
        return cardsOfNumbers(word);
    if (std::all_of(word.cbegin(), word.cend(), isKana))
        return cardsOfSounds(CardSounds::bySound(word));
    const std::optional<QString> kana = RomajiKana::toHiragana(word);
    return kana ? cardsOfSounds(CardSounds::bySound(*kana)) : QSet<int> {};
}

QSet<int> CardQueryParser::cardsOfNumbers(const QString &word) const
{
    static const QRegularExpression numbers(QStringLiteral("^(\\d{1,3})(?:[-~〜](\\d{1,3}))?$"));
    const QRegularExpressionMatch match = numbers.match(word);
    if (!match.hasMatch())
        return {};
    int first = match.captured(1).toInt();
    int last = match.hasCaptured(2) ? match.captured(2).toInt() : first;
    if (first > last)
        std::swap(first, last);
    if (first < FirstCard || last > LastCard)
        return {};
    QSet<int> cards;
    for (int card = first; card <= last; ++card)
        cards.insert(card);
    return cards;
}

QSet<int> CardQueryParser::cardsOfSounds(const QString &sounds) const
{
    const QSet<int> whole = cardsBeginningWith(sounds);
    if (!whole.isEmpty())
        return whole;
    // Split into openings, each as long as it can be while the rest still
    // splits; `from[i]` is what the sounds from i on name (empty: no split).
    std::vector<std::optional<QSet<int>>> from(static_cast<std::size_t>(sounds.size()) + 1);
    from.back() = QSet<int> {};
    for (auto start = sounds.size() - 1; start >= 0; --start) {
        for (auto end = sounds.size(); end > start; --end) {
            const std::optional<QSet<int>> &rest = from.at(static_cast<std::size_t>(end));
            if (!rest)
                continue;
            const QSet<int> head = cardsBeginningWith(sounds.mid(start, end - start));
            if (head.isEmpty())
                continue;
            from.at(static_cast<std::size_t>(start)) = QSet<int>(head).unite(*rest);
            break;
        }
    }
    return from.front().value_or(QSet<int> {});
}

QSet<int> CardQueryParser::cardsBeginningWith(const QString &sounds) const
{
    QSet<int> cards;
    if (sounds.isEmpty())
        return cards;
    for (auto it = printed.cbegin(); it != printed.cend(); ++it) {
        if (it.value().startsWith(sounds) || spoken.value(it.key()).startsWith(sounds))
            cards.insert(it.key());
    }
    return cards;
}
