#ifndef READINGHISTORY_H
#define READINGHISTORY_H

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

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

// The readings kept in a folder (the application folder's history/), one
// UTF-8 tab-separated file per reading named after its local start time,
// YYYYMMDD-HHMMSS.tsv: a header row (position, card, dead, kimariji, started)
// and one row per card in reading order, started in seconds with three
// decimals. The newest Kept readings stay; older ones are removed. The
// readings stopped before their last card are named, one file name a line, in
// the folder's StoppedEarlyFile, which exists only once such a reading is kept;
// the reading files themselves do not say it.
class ReadingHistory
{
public:
    static constexpr int Kept = 100;
    static constexpr const char *StoppedEarlyFile = "stopped-early.txt";

    enum class SaveResult { Saved, NothingRead, Failed };

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

    // The readings, newest first, with their card counts and marks.
    QList<HistoryListing> listing() const;
    // The file names of the readings stopped early.
    QSet<QString> stoppedEarly() const;
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

    static QString fileNameFor(const QDateTime &startedLocal);
    static bool isHistoryFileName(const QString &fileName);
    static QByteArray format(const QList<HistoryEntry> &entries);
    static QList<HistoryEntry> parse(const QByteArray &tsv);

    // A reading's cards in order, and which of them were dead.
    static QList<int> order(const QList<HistoryEntry> &entries);
    static QSet<int> deadCards(const QList<HistoryEntry> &entries);

private:
    void prune() const;
    // Makes the mark file name exactly `marks`, writing it only when that
    // changes it. False when it could not be written.
    bool writeMarks(const QSet<QString> &marks) const;

    QString dir;
};

#endif
