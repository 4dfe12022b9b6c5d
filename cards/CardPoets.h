#ifndef CARDPOETS_H
#define CARDPOETS_H

#include <QString>

// The poet of each card, from the "poet" column of the embedded card table
// (":/data/cards.tsv", the copy of data/cards.tsv built into the program).
namespace CardPoets {

// Poet of card 0..100 (0: the preamble poem); empty for any other number or
// when the table is not built in.
QString poet(int number);

} // namespace CardPoets

#endif
