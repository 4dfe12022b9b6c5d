#ifndef READERFILES_H
#define READERFILES_H

#include <QMap>
#include <QString>
#include <QStringList>

// The name of a reader's verse file, PREFIX_NNN_H.EXT: NNN the card (000 the
// preamble, 001 to 100), H the half (1 upper, 2 lower), EXT one of the five
// formats the program plays.
struct VerseFileName
{
    QString prefix;
    int card = -1;
    int half = 0;
    QString extension; // lower case, without the dot

    bool isValid() const { return card >= 0; }
    // An extension in any case is recognised (and reported in lower case);
    // anything else gives an invalid name.
    static VerseFileName parse(const QString &fileName);
    // "NNN_H", how a verse is named in reports.
    static QString verseId(int card, int half);
    // The key of a verse in ReaderFiles::paths.
    static int key(int card, int half) { return card * 10 + half; }
};

// The verse files of one reader, found in a folder by their names.
struct ReaderFiles
{
    static constexpr int Cards = 101; // the preamble and the hundred poems
    // Every verse but the preamble's upper one, which only the competitive
    // style reads.
    static constexpr int RequiredVerses = 201;

    QString prefix; // the prefix with the most files; empty when none was found
    QStringList otherPrefixes; // further prefixes, whose files are left out
    // key(card, half) -> path; of a verse in several formats, the one the
    // program plays (the first of ogg, opus, flac, mp3, wav).
    QMap<int, QString> paths;

    bool isEmpty() const { return paths.isEmpty(); }
    bool has(int card, int half) const { return paths.contains(VerseFileName::key(card, half)); }
    // Required verses that are missing, as "NNN_H", in card order.
    QStringList missingVerses() const;

    // The files directly in folder (not below it). Only regular files count.
    static ReaderFiles scan(const QString &folder);
};

#endif
