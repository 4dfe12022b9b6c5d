#ifndef READERGAPS_H
#define READERGAPS_H

#include <QCoreApplication>
#include <QList>
#include <QString>

class Voices;

// The cards of a reading whose verses the voice (or the reader in use) cannot
// read: a verse file missing, or too small to hold any sound. They are read
// as the short silence that stands for a missing verse, so the user is told
// at the start rather than left to wonder.
class ReaderGaps
{
    Q_DECLARE_TR_FUNCTIONS(ReaderGaps)

public:
    // Below this a file holds no verse (a header at most): about 0.05 s of
    // the most compressed format the program plays.
    static constexpr qint64 SmallestRecordingBytes = 512;

    // Of cards (the preamble 0 aside), those with a verse that cannot be
    // read, in the order given. Looks at file sizes only: milliseconds.
    static QList<int> cardsWithout(const Voices &voices, int voice, const QList<int> &cards);
    // 「読手の録音がない札: 17, 20」
    static QString message(const QList<int> &cards);
};

#endif
