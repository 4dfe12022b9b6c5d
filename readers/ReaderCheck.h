#ifndef READERCHECK_H
#define READERCHECK_H

#include "ReaderFiles.h"

#include <QCoreApplication>
#include <QMap>
#include <QString>
#include <QStringList>

// The check of a reader's recordings: the problems (a missing, undecodable or
// silent verse, files of a second prefix) and a summary of the verses found.
// The command line (--check-reader), the import and the options dialog all
// show it as lines().
struct ReaderReport
{
    Q_DECLARE_TR_FUNCTIONS(ReaderReport)

public:
    struct Spread
    {
        double min = 0;
        double median = 0;
        double max = 0;
        bool isEmpty = true;
    };

    QStringList problems; // one line each, in card order
    int requiredFound = 0; // of ReaderFiles::RequiredVerses
    int undecodable = 0;
    int silent = 0;
    bool hasPreambleUpper = false;
    Spread seconds;
    Spread leadingSilence;
    double loudnessSpreadLu = 0; // loudest minus quietest verse
    bool hasLoudness = false;
    Spread lowerTail;
    QMap<int, double> secondsByVerse; // key(card, half) -> length, of the verses that decode

    // The reader's timing.tsv: none came, it fits and is kept, or it does not
    // fit (timingProblem says why) and is left out.
    enum class Timing { Absent, Kept, LeftOut };
    Timing timing = Timing::Absent;
    QString timingProblem;

    // Every required verse is there and decodes (a silent one is only reported).
    bool isComplete() const
    {
        return requiredFound == ReaderFiles::RequiredVerses && undecodable == 0;
    }
    // The problems, then the summary.
    QStringList lines() const;

    static Spread spreadOf(QList<double> values);
};

class ImportProgress;

class ReaderCheck
{
public:
    // Decodes and measures every verse file (blocking: seconds for a whole reader).
    static ReaderReport check(const ReaderFiles &files);
    // The same, counting each file done in progress and stopping early (the
    // report then incomplete) once it is cancelled.
    static ReaderReport check(const ReaderFiles &files, ImportProgress *progress);
    // The files directly in folder, and its timing.tsv.
    static ReaderReport checkFolder(const QString &folder);
    static ReaderReport checkFolder(const QString &folder, ImportProgress *progress);
    // Sets report's timing from folder's timing.tsv (TimingFit).
    static void checkTiming(const QString &folder, const ReaderFiles &files, ReaderReport *report);
};

#endif
