#ifndef READINGHISTORY_H
#define READINGHISTORY_H

#include "StampedFolder.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// One reading as the history list shows it.
struct HistoryListing
{
    QString fileName;
    QDateTime started; // invalid if the name says no time
    int cardCount = 0; // rows that parse, dead cards included
    bool stoppedEarly = false;

    bool operator==(const HistoryListing &other) const = default;
};

// One card of a reading as it was read.
struct HistoryEntry
{
    int position = 0; // 1, 2, ... in reading order
    int card = 0; // 1..100
    bool dead = false; // drawn in, not on the tatami
    QString kimariji; // the deciding syllables when it was read
    qint64 startedMs = 0; // from the start of the reading

    bool operator==(const HistoryEntry &other) const = default;
};

// What a reading's deciding syllables started from: the cards in play
// (selected, not dead) and whether dead cards were mixed in.
struct HistoryStart
{
    QSet<int> inPlay;
    bool deadMixedIn = false;

    bool operator==(const HistoryStart &other) const = default;
};

// The readings kept in a folder (the application folder's history/), one
// UTF-8 tab-separated file per reading named after its local start time,
// YYYYMMDD-HHMMSS.tsv: a header row (position, card, dead, kimariji, started)
// and one row per card in reading order, started in seconds with three
// decimals. The newest Kept readings stay; older ones are removed. The
// readings stopped before their last card are named, one file name a line, in
// the folder's StoppedEarlyFile, which exists only once such a reading is kept;
// the reading files themselves do not say it. Their rows hold only the cards
// read, so what such a reading started from is kept beside them, a line a
// reading (file name, tab, 1 when dead cards were mixed in, tab, the cards in
// play), in StartsFile.
class ReadingHistory
{
public:
    static constexpr int Kept = 100;
    static constexpr const char *StoppedEarlyFile = "stopped-early.txt";
    static constexpr const char *StartsFile = "stopped-early-starts.txt";

    using SaveResult = StampedFolder::SaveResult;

    explicit ReadingHistory(const QString &folder)
        : dir(folder)
    {
    }

    // Writes one reading; a reading without a card writes nothing. A second
    // reading started in the same second gets "-2", "-3", ... before ".tsv".
    // On success the oldest files beyond Kept are removed.
    SaveResult save(const QDateTime &startedLocal, const QList<HistoryEntry> &entries,
                    QString *savedPath = nullptr) const;
    // The same, and a reading stopped early is named in StoppedEarlyFile (a
    // mark that cannot be written leaves the reading saved without it).
    SaveResult save(const QDateTime &startedLocal, const QList<HistoryEntry> &entries,
                    bool stoppedEarly, QString *savedPath = nullptr) const;
    // The same, and for a reading stopped early what it started from.
    SaveResult save(const QDateTime &startedLocal, const QList<HistoryEntry> &entries,
                    bool stoppedEarly, const HistoryStart &start,
                    QString *savedPath = nullptr) const;

    // The readings, newest first, with their card counts and marks.
    QList<HistoryListing> listing() const;
    // The file names of the readings stopped early.
    QSet<QString> stoppedEarly() const;
    // What a reading stopped early started from, when it was kept.
    std::optional<HistoryStart> startOf(const QString &fileName) const;
    // Deletes a reading's file and its mark; false if the file stays (only
    // names of the history form are deleted).
    bool remove(const QString &fileName) const;

    // The reading files, newest first (only names of the history form).
    QStringList files() const;
    QString filePath(const QString &fileName) const;
    QString folder() const { return dir; }

    // A file's rows; rows that do not parse are skipped, an unreadable file
    // gives an empty list.
    static QList<HistoryEntry> load(const QString &path);

    static bool isHistoryFileName(const QString &fileName);
    static QByteArray format(const QList<HistoryEntry> &entries);
    static QList<HistoryEntry> parse(const QByteArray &tsv);

    // A reading's cards in order, and which of them were dead.
    static QList<int> order(const QList<HistoryEntry> &entries);
    static QSet<int> deadCards(const QList<HistoryEntry> &entries);

private:
    SaveResult save(const QDateTime &startedLocal, const QList<HistoryEntry> &entries,
                    bool stoppedEarly, const std::optional<HistoryStart> &start,
                    QString *savedPath) const;
    // A side file's lines by reading: the file name, and what follows its tab.
    QHash<QString, QString> readSide(const char *sideFile) const;
    // Makes the side file hold exactly `lines`, writing it only when that
    // changes it. False when it could not be written.
    bool writeSide(const char *sideFile, const QHash<QString, QString> &lines) const;
    // Drops the readings' lines from both side files.
    void forget(const QStringList &fileNames) const;

    QString dir;
};

#endif
