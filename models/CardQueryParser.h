#ifndef CARDQUERYPARSER_H
#define CARDQUERYPARSER_H

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

class CardCatalog;

// What a typed line names: cards to add, cards to take out (words with a
// leading "-"), and the words that name no card.
struct CardQuery
{
    QSet<int> added;
    QSet<int> removed;
    QStringList unknown;

    bool isEmpty() const { return added.isEmpty() && removed.isEmpty() && unknown.isEmpty(); }
    // The selection after the line: the named cards added, then the "-"
    // cards taken out. Unchanged when any word is unknown, so a typo never
    // half-applies a line.
    QSet<int> appliedTo(const QSet<int> &selection) const;
};

// Reads the card selection dialog's typed field. Words are separated by
// blanks or commas; each word is
//   - a card number or a range: "87", "1-20" (also "1~20", full-width digits);
//   - deciding syllables in kana (hiragana or katakana) or Hepburn romaji:
//     a word names every card whose deciding syllables, or whose upper verse,
//     begin with it ("む" card 87, "あさ" the three あさ cards, "あ" every あ
//     card, "ひとわ" and "ひとは" card 35, "おお" also card 44, heard as おお);
//   - a word that begins no card is read as deciding syllables written one
//     after another, each taken as long as it can be: "むすめふさほせ" the seven
//     one-syllable cards, "ase" the あ cards and せ.
// A leading "-" takes the cards out instead of adding them: "-87", "-1-20",
// "-mu".
class CardQueryParser
{
public:
    // Both tables by card number: the static deciding syllables as printed
    // and the upper verse as read aloud.
    CardQueryParser(const QHash<int, QString> &decidingSyllables,
                    const QHash<int, QString> &upperSounds);
    static CardQueryParser fromCatalog(const CardCatalog &catalog);

    CardQuery parse(const QString &text) const;

private:
    // The cards a word names, empty when it names none.
    QSet<int> cardsOfWord(const QString &word) const;
    QSet<int> cardsOfNumbers(const QString &word) const;
    QSet<int> cardsOfSounds(const QString &sounds) const;
    QSet<int> cardsBeginningWith(const QString &sounds) const;

    QHash<int, QString> printed; // by sound
    QHash<int, QString> spoken; // by sound
};

#endif
