#ifndef ENGINEDRILLREADER_H
#define ENGINEDRILLREADER_H

#include "DrillReader.h"

#include <QList>
#include <QMutex>

#include <memory>
#include <optional>

class AudioOutput;
class AudioShapingStore;
class PlayMusicThread;
class Voices;

// The take drill's reader over the program's engine: a player of its own on
// the shared audio output reads the verse files of the voice in use (or of
// the library's reader in use) with the shaping in force, as a reading does.
// The player's reports reach it directly on the player's thread, so a verse's
// start is taken from the output clock there, never after a trip through the
// GUI's event loop; they go on to the drill as queued signals. One verse is
// with the player at a time: a verse asked for while another is still with
// it waits for that one's end, so a late report is never taken for the new
// verse's.
class EngineDrillReader : public DrillReader
{
    Q_OBJECT

public:
    // voice: Voices::First or Second (a reader of the library reads for both).
    // The voices and the shaping in force are borrowed: they must outlive it.
    EngineDrillReader(int voice, AudioOutput &output, const Voices &voices,
                      const AudioShapingStore &shaping, QObject *parent = nullptr);
    // Finishes and joins the player's thread.
    ~EngineDrillReader() override;

    void readVerse(int card, int half, int pauseMs) override;
    void readVerseUntil(int card, int half, int pauseMs, qint64 untilFileMs) override;
    bool canStopVerses() const override { return true; }
    void stop() override;
    void next() override;
    void repeat() override;
    qint64 nowMs() const override;
    QString voiceName() const override;
    QString timingFile() const override;

    static qint64 framesToMs(qint64 frames);

private:
    struct Verse
    {
        int card = 0;
        int half = 0;
        QString path;
        qint64 gapFrames = -1; // silence after the last verse's end; -1: at once
        double speed = 1.0;
        qint64 untilFileMs = -1; // -1: read whole; a repeat stops where the first hearing did
    };

    Verse verseOf(int card, int half, int pauseMs) const;
    // On the player's thread.
    void onStarted();
    void onEnded();
    // Under mutex: the verse with the player is cut short or withdrawn, and
    // its reports are not passed on.
    void dropOutstanding();
    // Under mutex: the next verse waiting goes to the player if it is free.
    void handOverNext();

    const int voice;
    const Voices &voices;
    AudioOutput &output;
    const AudioShapingStore &shapingInForce;
    std::unique_ptr<PlayMusicThread> player;

    // Shared with the player's thread, guarded by mutex.
    QMutex mutex;
    std::optional<Verse> outstanding; // with the player, its end not yet reported
    bool outstandingStarted = false;
    bool outstandingDropped = false;
    QList<Verse> waiting; // for the player, in order
    std::optional<Verse> lastStarted; // the verse heard last (Repeat in a pause)
};

#endif
