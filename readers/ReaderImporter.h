#ifndef READERIMPORTER_H
#define READERIMPORTER_H

#include "ReaderCheck.h"
#include "ReaderLibrary.h"
#include "VersePattern.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class ImportProgress;
class QTemporaryDir;

// What an import did: whether the reader is in the library now, why not
// (refusals, one line each), and the check of its recordings.
struct ImportOutcome
{
    bool imported = false;
    QStringList refusals;
    ReaderReport report;
};

// How an import finds the verse files, and where it reports its progress.
struct ImportOptions
{
    VersePattern pattern; // empty: the files' own PREFIX_NNN_H names
    ImportProgress *progress = nullptr; // not owned; may be null
};

// One file of the source and the verse file it becomes.
struct PlannedVerse
{
    QString from; // the path in the folder or the archive
    QString target; // PREFIX_NNN_H.EXT
};

// A reader gathered and checked in a hidden temporary folder of the library,
// not yet in it. Gone with its folder unless installed.
class StagedReader
{
public:
    StagedReader();
    ~StagedReader();
    StagedReader(StagedReader &&) noexcept;
    StagedReader &operator=(StagedReader &&) noexcept;

    QString name;
    QString source;
    QStringList refusals; // not empty: it cannot be installed
    ReaderReport report;

private:
    friend class ReaderImporter;
    std::unique_ptr<QTemporaryDir> staging;
    QString gathered; // the reader's folder inside staging
};

// Brings a reader into the library from a folder or a .zip archive. The verse
// files are found by their names (PREFIX_NNN_H.EXT, whatever the prefix, in
// any subfolder, or a VersePattern), gathered and checked in a hidden
// temporary folder of the library, which is renamed to the reader's name at
// the end: a failed or interrupted import leaves the library as it was.
//
// An archive with an entry that has an absolute path or a ".." component, is
// a link or another special file, or is larger than MaxEntryBytes is refused
// as a whole; so is an archive of more than MaxZipEntries entries or
// MaxZipBytes in all, a source without any playable verse, and every failed
// write (a full disk, a read-only library).
class ReaderImporter
{
    Q_DECLARE_TR_FUNCTIONS(ReaderImporter)

public:
    static constexpr qint64 MaxEntryBytes = 50LL * 1024 * 1024;
    static constexpr qint64 MaxZipBytes = 2LL * 1024 * 1024 * 1024;
    static constexpr int MaxZipEntries = 5000;

    explicit ReaderImporter(const ReaderLibrary &library);

    // source: a folder or a file ending in .zip. An existing reader of that
    // name is replaced only with replaceExisting (the caller asks first).
    ImportOutcome import(const QString &source, const QString &name, bool replaceExisting) const;

    // The first half of an import: gathers and checks the reader in its
    // temporary folder (seconds; safe on a worker thread). The library is
    // left as it was.
    StagedReader stage(const QString &source, const QString &name,
                       const ImportOptions &options) const;
    // The second half: puts a staged reader in the library by renames, an
    // existing one of that name only with replaceExisting; the old reader
    // stays whole until the new one is in place.
    ImportOutcome install(StagedReader &staged, bool replaceExisting) const;

    // Which file of the source becomes which verse (no copy); refusals as an import's.
    static QList<PlannedVerse> preview(const QString &source, const QString &name,
                                       const VersePattern &pattern, QStringList *refusals);

    // A reader name proposed for a source: its base name, made valid.
    static QString suggestedName(const QString &source);

    // The hidden file in a reader's folder naming where it was imported from.
    static constexpr char SourceFileName[] = ".source";

private:
    struct Plan;
    static Plan planFolder(const QString &source, const QString &name, const VersePattern &pattern);
    static Plan planZip(const QString &source, const QString &name, const VersePattern &pattern);
    static Plan plan(const QString &source, const QString &name, const VersePattern &pattern);
    static void copyFromFolder(const Plan &plan, const QString &folder, ImportProgress *progress,
                               QStringList *refusals);
    static void copyFromZip(const QString &source, const Plan &plan, const QString &folder,
                            ImportProgress *progress, QStringList *refusals);

    ReaderLibrary library;
};

#endif
