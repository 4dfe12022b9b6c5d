#ifndef READINGHISTORY_H
#define READINGHISTORY_H

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

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
// decimals. The newest Kept readings stay; older ones are removed.
class ReadingHistory
{
public:
    static constexpr int Kept = 100;

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

    QString dir;
};

#endif
