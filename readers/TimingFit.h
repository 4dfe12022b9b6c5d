#ifndef TIMINGFIT_H
#define TIMINGFIT_H

#include "ReaderFiles.h"

#include <QCoreApplication>
#include <QHash>
#include <QMap>
#include <QString>

// Whether a reader's timing.tsv fits its verse files: one row per verse file,
// as many mora ends as the verse's reading has morae, rising, and the last
// one inside the file. The take drill measures from these ends, so a table
// that does not fit is better left out than trusted.
class TimingFit
{
    Q_DECLARE_TR_FUNCTIONS(TimingFit)

public:
    static constexpr char FileName[] = "timing.tsv";

    // The morae of every verse's reading, key(card, half) -> count, from the
    // program's poem table (empty when the table is not built in).
    static QHash<int, int> builtInMorae();
    // The morae of a kana reading: blanks are none, a small kana belongs to
    // the mora before it.
    static int moraeOf(const QString &reading);

    // Empty when the table fits; otherwise why not, naming the first verse
    // that does not fit. seconds: key -> length of each verse file. A verse
    // whose reading is unknown (morae empty) is not counted.
    static QString whyNot(const QByteArray &tsv, const ReaderFiles &files,
                          const QMap<int, double> &seconds, const QHash<int, int> &morae);
};

#endif
