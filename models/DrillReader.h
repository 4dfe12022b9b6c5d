#ifndef DRILLREADER_H
#define DRILLREADER_H

#include <QObject>
#include <QString>

// What the take drill needs of the program's reader: read one verse after a
// pause, and tell when its sound actually left the device. Times are on the
// audio clock (milliseconds of sound played out by the device), so a click
// compared with nowMs() is compared with what the player heard.
class DrillReader : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Reads one verse (half 1 upper, 2 lower) of a card, with the reader's
    // shaping, after pauseMs of silence. A verse or pause under way is dropped.
    virtual void readVerse(int card, int half, int pauseMs) = 0;
    // Like readVerse(), but the verse stops untilFileMs into its file (ms of
    // the recording as it is on disk), faded out quickly; verseEnded comes
    // when the faded end has left the device. A reader that cannot cut a
    // verse says so in canStopVerses() and reads it whole.
    virtual void readVerseUntil(int card, int half, int pauseMs, qint64 untilFileMs)
    {
        Q_UNUSED(untilFileMs)
        readVerse(card, half, pauseMs);
    }
    virtual bool canStopVerses() const { return false; }
    // Ends the verse or pause under way at once; no verseEnded follows.
    virtual void stop() = 0;
    // Ends the pause under way now; nothing during a verse.
    virtual void next() = 0;
    // Reads the current verse again from its start, or in a pause the verse
    // just read; verseStarted is sent again.
    virtual void repeat() = 0;
    // The audio clock now.
    virtual qint64 nowMs() const = 0;
    // The voice in use, as the options dialog names it.
    virtual QString voiceName() const = 0;
    // The voice's timing.tsv (it may be missing).
    virtual QString timingFile() const = 0;

signals:
    // The verse's first sample left the device at startMs. trimmedLeadMs is
    // how much of the file's start the trimming cut off (0 without trimming),
    // speed the reading speed it is played at (1.0 as recorded).
    void verseStarted(int card, int half, qint64 startMs, qint64 trimmedLeadMs, double speed);
    // The verse's last sample left the device (not sent when cut short).
    void verseEnded(int card, int half);
};

#endif
