#ifndef POEMTABLE_H
#define POEMTABLE_H

#include <QList>
#include <QString>

// The fixed vocabulary of the hundred cards: for each card its first phrase
// (shown while it is read), its deciding syllables (its button's label in the
// card selection dialog), its widget-name suffix and its group; plus the seven
// groups of the selection dialog, one column each.
namespace PoemTable {

inline constexpr int CardCount = 100;

struct Card
{
    int number; // 1..100
    const char *firstPhrase; // UTF-8 hiragana, five or six kana
    const char *label; // UTF-8, the deciding syllables
    const char *suffix; // check box "chk_" + suffix, button "Btn_" + suffix
    int group; // index into groups(), 0..6
};

struct Group
{
    const char *name; // e.g. "MuseUyu"; its button is "Btn_" + name
    const char *label; // UTF-8 button text
    QList<int> cards; // card numbers, top to bottom of the column
    QList<int> cellY; // y of each card's cell in the selection dialog, same order as cards
};

// Card 1..100. Any other number yields an empty card (number 0, empty texts, group -1).
const Card &card(int number);

// First phrase of card 1..100 as text; empty outside 1..100.
QString firstPhrase(int number);

// The seven groups in table order (MuseUyu, Itihiki, Hayayoka, Mitako, Owa, Na, A).
const QList<Group> &groups();

// All hundred cards in the order in which the selection dialog writes the
// chosen cards back: groups in table order, each top to bottom, except that
// in group Itihiki card 63 comes before card 21.
QList<int> readBackOrder();

} // namespace PoemTable

#endif
