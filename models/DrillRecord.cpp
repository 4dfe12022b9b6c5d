#include "DrillRecord.h"

#include "StampedFolder.h"
#include "TsvText.h"

#include <QDir>

#include <algorithm>

namespace {

const char *const Header =
    "position\tcard\tdead\tkimariji\treference\treaction_ms\tresult\tside\trow";
constexpr int OldColumns = 7; // before the game field
constexpr int Columns = 9;

const char *const OwnSide = "own";
const char *const OpponentSide = "opponent";

// The place columns: both empty, or a side and a row. False when broken.
bool placeFrom(const QString &side, const QString &row, std::optional<FieldRow> *place)
{
    if (side.isEmpty() && row.isEmpty())
        return true;
    bool ok = false;
    const int number = row.toInt(&ok);
    if (!ok || number < 1 || number > 3)
        return false;
    if (side == QLatin1String(OwnSide))
        *place = FieldRow {FieldSide::Own, number};
    else if (side == QLatin1String(OpponentSide))
        *place = FieldRow {FieldSide::Opponent, number};
    else
        return false;
    return true;
}

std::optional<DrillResult> resultFrom(const QString &name)
{
    for (DrillResult result :
         {DrillResult::Taken, DrillResult::Fault, DrillResult::Missed, DrillResult::Passed}) {
        if (DrillRecord::resultName(result) == name)
            return result;
    }
    return std::nullopt;
}

// The row a line holds, or nothing when any field does not fit.
std::optional<DrillRow> rowFrom(const QStringList &fields)
{
    if (fields.size() != Columns && fields.size() != OldColumns)
        return std::nullopt;
    DrillRow row;
    if (fields.size() == Columns
        && !placeFrom(fields.at(7).trimmed(), fields.at(8).trimmed(), &row.place))
        return std::nullopt;
    bool okPosition = false;
    bool okCard = false;
    row.position = fields.at(0).trimmed().toInt(&okPosition);
    row.card = fields.at(1).trimmed().toInt(&okCard);
    const QString dead = fields.at(2).trimmed();
    const QString reference = fields.at(4).trimmed();
    const QString reaction = fields.at(5).trimmed();
    const std::optional<DrillResult> result = resultFrom(fields.at(6).trimmed());
    if (!okPosition || row.position < 1 || !okCard || row.card < 1 || row.card > 100
        || (dead != QLatin1String("0") && dead != QLatin1String("1")) || !result
        || (reference != QLatin1String("kimariji") && reference != QLatin1String("verse")))
        return std::nullopt;
    row.dead = dead == QLatin1String("1");
    row.kimariji = fields.at(3).trimmed();
    row.reference =
        reference == QLatin1String("verse") ? DrillReference::Verse : DrillReference::Kimariji;
    row.result = *result;
    if (!reaction.isEmpty()) {
        bool ok = false;
        const qint64 ms = reaction.toLongLong(&ok);
        if (!ok || ms < -600000 || ms > 600000)
            return std::nullopt;
        row.reactionMs = ms;
    }
    // A take or a fault has a time; a card left alone has none.
    const bool answered = row.result == DrillResult::Taken || row.result == DrillResult::Fault;
    if (answered != row.reactionMs.has_value()
        || (row.dead && (row.result == DrillResult::Taken || row.result == DrillResult::Missed))
        || (!row.dead && row.result == DrillResult::Passed) || (row.dead && row.place))
        return std::nullopt;
    return row;
}

} // namespace

DrillRecord::SaveResult DrillRecord::save(const QDateTime &startedLocal,
                                          const QList<DrillRow> &rows, QString *savedPath) const
{
    if (rows.isEmpty())
        return SaveResult::NothingRead;
    return StampedFolder(dir).save(startedLocal, format(rows), Kept, savedPath);
}

QStringList DrillRecord::files() const
{
    return StampedFolder(dir).names();
}

QString DrillRecord::filePath(const QString &fileName) const
{
    return QDir(dir).filePath(fileName);
}

QList<QList<DrillRow>> DrillRecord::recent(int count) const
{
    QList<QList<DrillRow>> drills;
    for (const QString &name : files()) {
        if (drills.size() >= count)
            break;
        const QList<DrillRow> rows = load(filePath(name));
        if (!rows.isEmpty())
            drills.append(rows);
    }
    return drills;
}

QList<DrillRow> DrillRecord::load(const QString &path)
{
    return parse(TsvText::load(path));
}

QByteArray DrillRecord::format(const QList<DrillRow> &rows)
{
    QString text = QLatin1String(Header) + QLatin1Char('\n');
    for (const DrillRow &row : rows) {
        const QString side = !row.place ? QString()
            : row.place->side == FieldSide::Own ? QLatin1String(OwnSide)
                                                : QLatin1String(OpponentSide);
        text += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\t%9\n")
                    .arg(row.position)
                    .arg(row.card)
                    .arg(row.dead ? 1 : 0)
                    .arg(row.kimariji,
                         row.reference == DrillReference::Verse ? QStringLiteral("verse")
                                                                : QStringLiteral("kimariji"),
                         row.reactionMs ? QString::number(*row.reactionMs) : QString(),
                         resultName(row.result), side,
                         row.place ? QString::number(row.place->row) : QString());
    }
    return text.toUtf8();
}

QList<DrillRow> DrillRecord::parse(const QByteArray &tsv)
{
    QList<DrillRow> rows;
    for (const QStringList &fields : TsvText::rows(tsv, QLatin1String("position"))) {
        if (const std::optional<DrillRow> row = rowFrom(fields))
            rows.append(*row);
    }
    return rows;
}

QString DrillRecord::resultName(DrillResult result)
{
    switch (result) {
    case DrillResult::Taken:
        return QStringLiteral("taken");
    case DrillResult::Fault:
        return QStringLiteral("fault");
    case DrillResult::Missed:
        return QStringLiteral("missed");
    case DrillResult::Passed:
        return QStringLiteral("passed");
    }
    return {};
}
