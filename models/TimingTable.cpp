#include "TimingTable.h"

#include "TsvText.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

bool isSmallKana(QChar c)
{
    return c == QChar(0x3083) || c == QChar(0x3085) || c == QChar(0x3087); // ゃ ゅ ょ
}

// "120,340,560": rising non-negative milliseconds, or nothing.
std::optional<QList<qint64>> parseEnds(const QString &text)
{
    QList<qint64> ends;
    for (const QString &part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const qint64 ms = part.trimmed().toLongLong(&ok);
        if (!ok || ms < 0 || (!ends.isEmpty() && ms < ends.constLast()))
            return std::nullopt;
        ends.append(ms);
    }
    return ends;
}

} // namespace

TimingTable TimingTable::parse(const QByteArray &tsv)
{
    TimingTable timing;
    for (const QStringList &fields : TsvText::rows(tsv, QLatin1String("card"))) {
        if (fields.size() != 3)
            continue;
        bool okCard = false;
        bool okHalf = false;
        const int card = fields.at(0).trimmed().toInt(&okCard);
        const int half = fields.at(1).trimmed().toInt(&okHalf);
        const std::optional<QList<qint64>> ends = parseEnds(fields.at(2));
        if (!okCard || card < 0 || card > 100 || !okHalf || (half != 1 && half != 2) || !ends)
            continue;
        timing.table.insert(key(card, half), *ends);
    }
    return timing;
}

TimingTable TimingTable::load(const QString &path)
{
    return parse(TsvText::load(path));
}

int TimingTable::moraeOf(const QString &sounds, int kanaCount)
{
    int morae = 0;
    const auto reach = std::min<qsizetype>(kanaCount, sounds.size());
    for (qsizetype i = 0; i < reach; ++i) {
        if (!isSmallKana(sounds.at(i)) || i == 0)
            ++morae;
    }
    return morae;
}

std::optional<qint64> TimingTable::endOfKana(const QList<qint64> &ends, const QString &sounds,
                                             int kanaCount)
{
    // A kana followed by a small one is heard only when the pair is.
    int count = std::max(kanaCount, 1);
    while (count < sounds.size() && isSmallKana(sounds.at(count)))
        ++count;
    const int mora = moraeOf(sounds, count);
    if (kanaCount < 1 || mora < 1 || mora > ends.size())
        return std::nullopt;
    return ends.at(mora - 1);
}

qint64 TimingTable::toPlayedMs(qint64 fileMs, qint64 trimmedLeadMs, double speed)
{
    const double kept = static_cast<double>(std::max<qint64>(fileMs - trimmedLeadMs, 0));
    const double rate = speed > 0.0 ? speed : 1.0;
    return std::llround(kept / rate);
}
