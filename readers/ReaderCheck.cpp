#include "ReaderCheck.h"

#include "ImportProgress.h"
#include "TimingFit.h"
#include "VerseMeasure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

QString formatSeconds(double value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

ReaderReport::Spread ReaderReport::spreadOf(QList<double> values)
{
    Spread spread;
    if (values.isEmpty())
        return spread;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    spread.min = values.first();
    spread.max = values.last();
    spread.median = n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
    spread.isEmpty = false;
    return spread;
}

QStringList ReaderReport::lines() const
{
    QStringList lines = problems;
    lines.append(tr("句: %1 / %2 (序歌の上の句: %3)")
                     .arg(requiredFound)
                     .arg(ReaderFiles::RequiredVerses)
                     .arg(hasPreambleUpper ? tr("あり") : tr("なし")));
    const auto spreadLine = [](const QString &text, const Spread &spread) {
        return text.arg(formatSeconds(spread.min), formatSeconds(spread.median),
                        formatSeconds(spread.max));
    };
    if (!seconds.isEmpty) {
        lines.append(spreadLine(tr("長さ: 最短 %1 秒、中央値 %2 秒、最長 %3 秒"), seconds));
        lines.append(
            spreadLine(tr("冒頭の無音: 最短 %1 秒、中央値 %2 秒、最長 %3 秒"), leadingSilence));
    }
    if (hasLoudness)
        lines.append(tr("音量の幅: %1 LU").arg(QString::number(loudnessSpreadLu, 'f', 1)));
    if (!lowerTail.isEmpty)
        lines.append(
            spreadLine(tr("下の句の余韻: 最短 %1 秒、中央値 %2 秒、最長 %3 秒"), lowerTail));
    switch (timing) {
    case Timing::Absent:
        lines.append(tr("拍の時刻 (timing.tsv): なし"));
        break;
    case Timing::Kept:
        lines.append(tr("拍の時刻 (timing.tsv): あり"));
        break;
    case Timing::LeftOut:
        lines.append(tr("拍の時刻 (timing.tsv) は使いません: %1").arg(timingProblem));
        break;
    }
    return lines;
}

ReaderReport ReaderCheck::check(const ReaderFiles &files)
{
    return check(files, nullptr);
}

ReaderReport ReaderCheck::check(const ReaderFiles &files, ImportProgress *progress)
{
    ReaderReport report;
    for (const QString &prefix : files.otherPrefixes)
        report.problems.append(
            ReaderReport::tr("別の名前の句 (%1_...) は使われません").arg(prefix));

    QList<double> lengths, leading, loudness, tails;
    for (int card = 0; card < ReaderFiles::Cards; ++card) {
        for (int half = 1; half <= 2; ++half) {
            const bool required = card != 0 || half == 2;
            const QString id = VerseFileName::verseId(card, half);
            if (!files.has(card, half)) {
                if (required)
                    report.problems.append(ReaderReport::tr("句がありません: %1").arg(id));
                continue;
            }
            const QString path = files.paths.value(VerseFileName::key(card, half));
            if (progress && progress->isCancelled())
                return report;
            const VerseMeasure measure = VerseMeasure::ofFile(path);
            if (progress)
                progress->fileDone();
            if (!measure.decodes) {
                ++report.undecodable;
                report.problems.append(
                    ReaderReport::tr("再生できません: %1").arg(QFileInfo(path).fileName()));
            } else if (measure.silent) {
                ++report.silent;
                report.problems.append(
                    ReaderReport::tr("無音です: %1").arg(QFileInfo(path).fileName()));
            }
            if (required)
                ++report.requiredFound;
            else
                report.hasPreambleUpper = true;
            if (!measure.decodes)
                continue;
            lengths.append(measure.seconds);
            report.secondsByVerse.insert(VerseFileName::key(card, half), measure.seconds);
            if (measure.silent)
                continue;
            leading.append(measure.leadingSilence);
            if (measure.hasLoudness)
                loudness.append(measure.loudness);
            if (half == 2)
                tails.append(measure.heldTail);
        }
    }
    report.seconds = ReaderReport::spreadOf(lengths);
    report.leadingSilence = ReaderReport::spreadOf(leading);
    report.lowerTail = ReaderReport::spreadOf(tails);
    if (!loudness.isEmpty()) {
        const auto [quietest, loudest] = std::minmax_element(loudness.begin(), loudness.end());
        report.loudnessSpreadLu = *loudest - *quietest;
        report.hasLoudness = true;
    }
    return report;
}

ReaderReport ReaderCheck::checkFolder(const QString &folder)
{
    return checkFolder(folder, nullptr);
}

ReaderReport ReaderCheck::checkFolder(const QString &folder, ImportProgress *progress)
{
    const ReaderFiles files = ReaderFiles::scan(folder);
    if (progress)
        progress->setTotal(int(files.paths.size()));
    ReaderReport report = check(files, progress);
    checkTiming(folder, files, &report);
    return report;
}

void ReaderCheck::checkTiming(const QString &folder, const ReaderFiles &files, ReaderReport *report)
{
    QFile file(QDir(folder).filePath(QLatin1String(TimingFit::FileName)));
    if (!file.exists()) {
        report->timing = ReaderReport::Timing::Absent;
        return;
    }
    report->timingProblem = file.open(QIODevice::ReadOnly)
        ? TimingFit::whyNot(file.readAll(), files, report->secondsByVerse,
                            TimingFit::builtInMorae())
        : ReaderReport::tr("読めません");
    report->timing = report->timingProblem.isEmpty() ? ReaderReport::Timing::Kept
                                                     : ReaderReport::Timing::LeftOut;
}
