#ifndef CARDCATALOG_H
#define CARDCATALOG_H

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// What the program knows about each card beyond its first phrase: the poem
// (kanji and kana, five phrases), its reading aloud, the poet, the static
// deciding syllables and the five-colour group. Built from the two data
// tables compiled into the program (data/cards.tsv and data/poems.tsv).
struct CardInfo
{
    int number = 0; // 1..100
    QString kimariji; // static deciding syllables, modern kana
    QString colour; // blue, pink, yellow, green or orange
    QString poet;
    QString poetReading;
    QStringList phrases; // the poem in kanji and kana, five phrases
    QString upperReading; // the upper verse as read aloud, phrases joined by a blank
    QString lowerReading;

    // The upper verse as a run of sounds: kana only, blanks left out.
    QString upperSounds() const;
};

class CardCatalog
{
public:
    // The tables compiled into the program; loaded once.
    static const CardCatalog &builtIn();

    // Parses the two tables. A row that does not fit (wrong number of
    // fields, a number outside 1..100 or seen before, a poem that is not
    // five phrases, a card without a reading) is skipped; the rest loads.
    static CardCatalog parse(const QByteArray &cardsTsv, const QByteArray &poemsTsv);

    bool contains(int number) const { return cards.contains(number); }
    // An empty CardInfo (number 0) for a card that is not loaded.
    CardInfo card(int number) const { return cards.value(number); }
    QList<int> numbers() const { return cards.keys(); }
    int size() const { return static_cast<int>(cards.size()); }
    // Rows skipped while parsing, for the log.
    int skippedRows() const { return skipped; }
    // The poet of card 1..100 or of the preamble (0); empty for any other number.
    QString poet(int number) const { return number == 0 ? preamblePoet : card(number).poet; }

    static QStringList colours();

private:
    QMap<int, CardInfo> cards;
    QString preamblePoet; // the preamble is read but is no card
    int skipped = 0;
};

#endif
