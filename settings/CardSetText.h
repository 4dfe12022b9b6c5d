#ifndef CARDSETTEXT_H
#define CARDSETTEXT_H

#include <QList>
#include <QString>

#include <optional>

// A card set as one line of text, for sharing by message:
//     一字決まり: 87,18,57,22,70,81,77
// the name, a colon, the card numbers as in the settings file. Reading it
// back forgives blanks, full-width characters (a phone's keyboard), a
// full-width colon and the separators 、 ・ ; of the typed card field; the
// name may itself hold colons (the last one splits).
struct CardSetText
{
    QString name;
    QList<int> cards;

    QString toLine() const;
    // nullopt unless the line has a usable set name and a list of cards
    // 1..100 (see CardSets).
    static std::optional<CardSetText> fromLine(const QString &line);

    bool operator==(const CardSetText &other) const = default;
};

#endif
