#ifndef VERSEPATTERN_H
#define VERSEPATTERN_H

#include "ReaderFiles.h"

#include <QRegularExpression>
#include <QString>

// A name pattern for recordings that do not follow PREFIX_NNN_H: the file
// name with {card} (or {card:03}, zero-padded to three digits) for the card
// number and {half} for the half (1 upper, 2 lower), for example
// "{card}-{half}.mp3". The extension is taken from the file, so it must be
// one of the formats the program plays.
class VersePattern
{
public:
    VersePattern() = default;
    explicit VersePattern(const QString &pattern);

    bool isEmpty() const { return text.isEmpty(); }
    // Both placeholders are there once and the rest is plain text.
    bool isValid() const { return valid; }
    QString pattern() const { return text; }

    // The verse a file name stands for, named with prefix; invalid when the
    // name does not match or its card or extension is not one of a reader's.
    VerseFileName match(const QString &fileName, const QString &prefix) const;

private:
    QString text;
    QRegularExpression expression;
    bool valid = false;
};

#endif
