#include "ReadingHistory.h"

#include "StampedFolder.h"
#include "TsvText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

const char *const Header = "position\tcard\tdead\tkimariji\tstarted";

// "12.345" to milliseconds; false for anything else, negatives included.
bool parseSeconds(const QString &text, qint64 *ms)
{
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !(seconds >= 0.0) || seconds > 1.0e9)
        return false;
    *ms = static_cast<qint64>(seconds * 1000.0 + 0.5);
    return true;
}

// "1\t3 17 65": dead cards mixed in, then the cards in play in ascending order.
QString startText(const HistoryStart &start)
{
    QList<int> cards(start.inPlay.cbegin(), start.inPlay.cend());
    std::sort(cards.begin(), cards.end());
    QStringList numbers;
    for (int card : cards)
        numbers.append(QString::number(card));
    return QStringLiteral("%1\t%2").arg(start.deadMixedIn ? 1 : 0).arg(numbers.join(QLatin1Char(' ')));
}

} // namespace

ReadingHistory::SaveResult ReadingHistory::save(const QDateTime &startedLocal,
                                                const QList<HistoryEntry> &entries,
                                                bool stoppedEarly, QString *savedPath) const
{
    return save(startedLocal, entries, stoppedEarly, std::nullopt, savedPath);
}

ReadingHistory::SaveResult ReadingHistory::save(const QDateTime &startedLocal,
                                                const QList<HistoryEntry> &entries,
                                                bool stoppedEarly, const HistoryStart &start,
                                                QString *savedPath) const
{
    return save(startedLocal, entries, stoppedEarly, std::optional<HistoryStart>(start),
                savedPath);
}

ReadingHistory::SaveResult ReadingHistory::save(const QDateTime &startedLocal,
                                                const QList<HistoryEntry> &entries,
                                                bool stoppedEarly,
                                                const std::optional<HistoryStart> &start,
                                                QString *savedPath) const
{
    QString path;
    const SaveResult result = save(startedLocal, entries, &path);
    if (result == SaveResult::Saved && stoppedEarly) {
        const QString name = QFileInfo(path).fileName();
        QHash<QString, QString> marks = readSide(StoppedEarlyFile);
        marks.insert(name, QString());
        bool marked = writeSide(StoppedEarlyFile, marks);
        if (start) {
            QHash<QString, QString> starts = readSide(StartsFile);
            starts.insert(name, startText(*start));
            marked = writeSide(StartsFile, starts) && marked;
        }
        if (!marked)
            qWarning("Cannot mark the reading %s as stopped early", qPrintable(path));
    }
    if (savedPath && result == SaveResult::Saved)
        *savedPath = path;
    return result;
}

ReadingHistory::SaveResult ReadingHistory::save(const QDateTime &startedLocal,
                                                const QList<HistoryEntry> &entries,
                                                QString *savedPath) const
{
    if (entries.isEmpty())
        return SaveResult::NothingRead;
    QStringList removed;
    const SaveResult result =
        StampedFolder(dir).save(startedLocal, format(entries), Kept, savedPath, &removed);
    forget(removed);
    return result;
}

QStringList ReadingHistory::files() const
{
    return StampedFolder(dir).names();
}

QString ReadingHistory::filePath(const QString &fileName) const
{
    return QDir(dir).filePath(fileName);
}

void ReadingHistory::forget(const QStringList &fileNames) const
{
    if (fileNames.isEmpty())
        return;
    for (const char *sideFile : {StoppedEarlyFile, StartsFile}) {
        QHash<QString, QString> lines = readSide(sideFile);
        for (const QString &name : fileNames)
            lines.remove(name);
        writeSide(sideFile, lines);
    }
}

QList<HistoryListing> ReadingHistory::listing() const
{
    const QSet<QString> marks = stoppedEarly();
    QList<HistoryListing> readings;
    for (const QString &name : files()) {
        HistoryListing reading;
        reading.fileName = name;
        reading.started = QDateTime::fromString(name.left(15), QStringLiteral("yyyyMMdd-HHmmss"));
        reading.cardCount = static_cast<int>(load(filePath(name)).size());
        reading.stoppedEarly = marks.contains(name);
        readings.append(reading);
    }
    return readings;
}

QSet<QString> ReadingHistory::stoppedEarly() const
{
    const QHash<QString, QString> marks = readSide(StoppedEarlyFile);
    QSet<QString> names;
    for (auto mark = marks.cbegin(); mark != marks.cend(); ++mark)
        names.insert(mark.key());
    return names;
}

std::optional<HistoryStart> ReadingHistory::startOf(const QString &fileName) const
{
    const QString text = readSide(StartsFile).value(fileName);
    const QStringList fields = text.split(QLatin1Char('\t'));
    if (fields.size() != 2 || (fields.at(0) != QLatin1String("0") && fields.at(0) != QLatin1String("1")))
        return std::nullopt;
    HistoryStart start;
    start.deadMixedIn = fields.at(0) == QLatin1String("1");
    for (const QString &number : fields.at(1).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int card = number.toInt(&ok);
        if (!ok || card < 1 || card > 100)
            return std::nullopt;
        start.inPlay.insert(card);
    }
    return start;
}

bool ReadingHistory::remove(const QString &fileName) const
{
    if (!isHistoryFileName(fileName) || !QFile::remove(filePath(fileName)))
        return false;
    forget({fileName});
    return true;
}

QHash<QString, QString> ReadingHistory::readSide(const char *sideFile) const
{
    QFile file(filePath(QLatin1String(sideFile)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QHash<QString, QString> lines;
    const QStringList rows = QString::fromUtf8(file.read(1 << 16)).split(QLatin1Char('\n'));
    for (const QString &row : rows) {
        const qsizetype tab = row.indexOf(QLatin1Char('\t'));
        const QString name = row.left(tab).trimmed();
        if (isHistoryFileName(name))
            lines.insert(name, tab < 0 ? QString() : row.mid(tab + 1).remove(QLatin1Char('\r')));
    }
    return lines;
}

bool ReadingHistory::writeSide(const char *sideFile, const QHash<QString, QString> &lines) const
{
    const QString path = filePath(QLatin1String(sideFile));
    if (lines == readSide(sideFile) && (QFile::exists(path) || lines.isEmpty()))
        return true;
    QStringList rows;
    for (auto line = lines.cbegin(); line != lines.cend(); ++line)
        rows.append(line.value().isEmpty() ? line.key() : line.key() + QLatin1Char('\t') + line.value());
    rows.sort();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray content =
        rows.isEmpty() ? QByteArray() : (rows.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    return file.write(content) == content.size() && file.commit();
}

QList<HistoryEntry> ReadingHistory::load(const QString &path)
{
    return parse(TsvText::load(path));
}

bool ReadingHistory::isHistoryFileName(const QString &fileName)
{
    return StampedFolder::isRecordName(fileName);
}

QByteArray ReadingHistory::format(const QList<HistoryEntry> &entries)
{
    QString text = QLatin1String(Header) + QLatin1Char('\n');
    for (const HistoryEntry &entry : entries) {
        text += QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                    .arg(entry.position)
                    .arg(entry.card)
                    .arg(entry.dead ? 1 : 0)
                    .arg(entry.kimariji)
                    .arg(QString::number(static_cast<double>(entry.startedMs) / 1000.0, 'f', 3));
    }
    return text.toUtf8();
}

QList<HistoryEntry> ReadingHistory::parse(const QByteArray &tsv)
{
    QList<HistoryEntry> entries;
    for (const QStringList &fields : TsvText::rows(tsv, QLatin1String("position"))) {
        if (fields.size() != 5)
            continue;
        HistoryEntry entry;
        bool okPosition = false;
        bool okCard = false;
        entry.position = fields.at(0).trimmed().toInt(&okPosition);
        entry.card = fields.at(1).trimmed().toInt(&okCard);
        const QString dead = fields.at(2).trimmed();
        entry.dead = dead == QLatin1String("1");
        entry.kimariji = fields.at(3).trimmed();
        if (!okPosition || entry.position < 1 || !okCard || entry.card < 1 || entry.card > 100
            || (dead != QLatin1String("0") && dead != QLatin1String("1"))
            || !parseSeconds(fields.at(4).trimmed(), &entry.startedMs))
            continue;
        entries.append(entry);
    }
    return entries;
}

QList<int> ReadingHistory::order(const QList<HistoryEntry> &entries)
{
    QList<int> cards;
    for (const HistoryEntry &entry : entries) {
        if (!cards.contains(entry.card)) // a hand-edited repeat is read once
            cards.append(entry.card);
    }
    return cards;
}

QSet<int> ReadingHistory::deadCards(const QList<HistoryEntry> &entries)
{
    QSet<int> dead;
    for (const HistoryEntry &entry : entries) {
        if (entry.dead)
            dead.insert(entry.card);
    }
    return dead;
}
