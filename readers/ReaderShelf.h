#ifndef READERSHELF_H
#define READERSHELF_H

#include "ReaderLibrary.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// What the library shows of one reader.
struct ReaderDetails
{
    qint64 bytes = 0; // every file of its folder
    int verses = 0; // verse files of its prefix, one per verse
    QList<int> cardsMissingVerses; // cards with a required verse missing
    bool hasTiming = false;
    QString source; // where it was imported from; empty when unknown
};

// Keeping the library's readers: their details, renaming and deleting them.
class ReaderShelf
{
    Q_DECLARE_TR_FUNCTIONS(ReaderShelf)

public:
    explicit ReaderShelf(const ReaderLibrary &library);

    ReaderDetails details(const QString &name) const;
    // One line of the details, as the options dialog shows them.
    static QString describe(const ReaderDetails &details);

    // Empty on success, otherwise why not. A reader is renamed in one step,
    // and deleted by first moving it out of sight, so the library never shows
    // half a reader.
    QString rename(const QString &name, const QString &newName) const;
    QString remove(const QString &name) const;

private:
    ReaderLibrary library;
};

#endif
