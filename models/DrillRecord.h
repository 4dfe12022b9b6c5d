#ifndef DRILLRECORD_H
#define DRILLRECORD_H

#include "StampedFolder.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// How a card's round of a take drill ended.
enum class DrillResult {
    Taken, // the right card, in time
    Fault, // お手つき: a wrong card, or any card while a dead card was read
    Missed, // no take within the limit
    Passed, // a dead card left alone
};

// What a reaction time counts from: the end of the deciding syllables as they
// were at that moment, or (a voice without mora timing) the verse's first sound.
enum class DrillReference { Kimariji, Verse };

// The side of the game field a card lies on: the player's own (near) or the
// opponent's (far).
enum class FieldSide { Own, Opponent };

// Where a card lay on the game field: its side and row, row 1 the front row
// at the middle line, 3 the back row nearest that side's player.
struct FieldRow
{
    FieldSide side = FieldSide::Own;
    int row = 1;

    bool operator==(const FieldRow &other) const = default;
};

// One card of a drill, as read and answered.
struct DrillRow
{
    int position = 0; // 1, 2, ... in reading order
    int card = 0; // 1..100
    bool dead = false;
    QString kimariji; // the deciding syllables when it was read
    DrillReference reference = DrillReference::Kimariji;
    std::optional<qint64> reactionMs; // take minus reference; none when missed or passed
    DrillResult result = DrillResult::Missed;
    // Where the card read lay on the game field; none on the grid and for
    // dead cards.
    std::optional<FieldRow> place;

    bool operator==(const DrillRow &other) const = default;
};

// The drills kept in a folder (the application folder's training/), one UTF-8
// tab-separated file per drill named after its local start time,
// YYYYMMDD-HHMMSS.tsv, header "position card dead kimariji reference
// reaction_ms result side row" (side "own" or "opponent" and row 1..3 where
// the card lay on the game field, both empty otherwise; files from before
// the game field have no such columns and still read). The newest Kept drills stay; older ones are removed.
class DrillRecord
{
public:
    static constexpr int Kept = 200;
    static constexpr char FolderName[] = "training";

    using SaveResult = StampedFolder::SaveResult;

    explicit DrillRecord(const QString &folder)
        : dir(folder)
    {
    }

    // A drill without a row writes nothing; a second drill started in the
    // same second gets "-2", "-3", ... before ".tsv".
    SaveResult save(const QDateTime &startedLocal, const QList<DrillRow> &rows,
                    QString *savedPath = nullptr) const;

    // The drill files, newest first.
    QStringList files() const;
    QString filePath(const QString &fileName) const;
    // The newest `count` drills that have at least one readable row, newest first.
    QList<QList<DrillRow>> recent(int count) const;

    // Rows that do not parse are skipped; an unreadable file gives none.
    static QList<DrillRow> load(const QString &path);
    static QByteArray format(const QList<DrillRow> &rows);
    static QList<DrillRow> parse(const QByteArray &tsv);

    static QString resultName(DrillResult result);

private:
    QString dir;
};

#endif
