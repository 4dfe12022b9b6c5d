#ifndef READERIMPORTER_H
#define READERIMPORTER_H

#include "ReaderCheck.h"
#include "ReaderLibrary.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// What an import did: whether the reader is in the library now, why not
// (refusals, one line each), and the check of its recordings.
struct ImportOutcome
{
    bool imported = false;
    QStringList refusals;
    ReaderReport report;
};

// Brings a reader into the library from a folder or a .zip archive. The verse
// files are found by their names (PREFIX_NNN_H.EXT, whatever the prefix, in
// any subfolder), gathered and checked in a hidden temporary folder of the
// library, which is renamed to the reader's name at the end: a failed or
// interrupted import leaves the library as it was.
//
// An archive with an entry that has an absolute path or a ".." component, is
// a link or another special file, or is larger than MaxEntryBytes is refused
// as a whole; so is a source without any playable verse.
class ReaderImporter
{
    Q_DECLARE_TR_FUNCTIONS(ReaderImporter)

public:
    static constexpr qint64 MaxEntryBytes = 50LL * 1024 * 1024;

    explicit ReaderImporter(const ReaderLibrary &library);

    // source: a folder or a file ending in .zip. An existing reader of that
    // name is replaced only with replaceExisting (the caller asks first).
    ImportOutcome import(const QString &source, const QString &name, bool replaceExisting) const;

    // A reader name proposed for a source: its base name, made valid.
    static QString suggestedName(const QString &source);

private:
    // Each puts the verse files into folder under their own names (extension
    // in lower case), or adds refusals.
    static void gatherFromFolder(const QString &source, const QString &folder,
                                 QStringList *refusals);
    static void gatherFromZip(const QString &source, const QString &folder, QStringList *refusals);
    // Leaves only the files of prefix (a reader has one).
    static void dropOtherPrefixes(const QString &folder, const QString &prefix);

    ReaderLibrary library;
};

#endif
