#include "EngineDrillReader.h"

#include "AudioOutput.h"
#include "AudioShapingStore.h"
#include "PlayMusicThread.h"
#include "ReaderInUse.h"
#include "Voices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>

EngineDrillReader::EngineDrillReader(int voiceInUse, AudioOutput &audioOutput, const Voices &voices,
                                     const AudioShapingStore &shaping, QObject *parent)
    : DrillReader(parent)
    , voice(voiceInUse)
    , voices(voices)
    , output(audioOutput)
    , shapingInForce(shaping)
    , player(std::make_unique<PlayMusicThread>(WId(0), output, shaping))
{
    connect(player.get(), &PlayMusicThread::MusicStarted, this, &EngineDrillReader::onStarted,
            Qt::DirectConnection);
    connect(player.get(), &PlayMusicThread::MusicEnded, this, &EngineDrillReader::onEnded,
            Qt::DirectConnection);
    player->start();
}

EngineDrillReader::~EngineDrillReader()
{
    player->RequestQuit();
    player->wait();
}

qint64 EngineDrillReader::framesToMs(qint64 frames)
{
    return frames * 1000 / AudioClip::Rate;
}

EngineDrillReader::Verse EngineDrillReader::verseOf(int card, int half, int pauseMs) const
{
    Verse verse;
    verse.card = card;
    verse.half = half;
    verse.path = voices.filePath(voice, card, half);
    verse.gapFrames = static_cast<qint64>(std::max(pauseMs, 0)) * AudioClip::Rate / 1000;
    verse.speed = AudioShaping::clampedSpeed(shapingInForce.get().speed);
    return verse;
}

void EngineDrillReader::readVerse(int card, int half, int pauseMs)
{
    readVerseUntil(card, half, pauseMs, -1);
}

void EngineDrillReader::readVerseUntil(int card, int half, int pauseMs, qint64 untilFileMs)
{
    Verse verse = verseOf(card, half, pauseMs); // looks for the file: not under the lock
    verse.untilFileMs = untilFileMs;
    const QMutexLocker locker(&mutex);
    waiting = {verse};
    dropOutstanding();
    handOverNext();
}

void EngineDrillReader::stop()
{
    const QMutexLocker locker(&mutex);
    waiting.clear();
    lastStarted.reset();
    dropOutstanding();
}

void EngineDrillReader::next()
{
    const QMutexLocker locker(&mutex);
    if (outstanding && !outstandingDropped && !outstandingStarted) {
        // In its pause: the verse is handed over again, to start at once.
        Verse now = *outstanding;
        now.gapFrames = -1;
        waiting.prepend(now);
        dropOutstanding();
    } else if (outstanding && outstandingDropped && !waiting.isEmpty()) {
        waiting.first().gapFrames = -1;
    }
    handOverNext();
}

void EngineDrillReader::repeat()
{
    const QMutexLocker locker(&mutex);
    if (outstanding && !outstandingDropped && outstandingStarted) {
        Verse again = *outstanding;
        again.gapFrames = -1;
        waiting.prepend(again);
        dropOutstanding();
    } else if (lastStarted) {
        // In a pause: the verse just heard, then the one that waited, after its pause.
        if (outstanding && !outstandingDropped) {
            waiting.prepend(*outstanding);
            dropOutstanding();
        }
        Verse again = *lastStarted;
        again.gapFrames = -1;
        waiting.prepend(again);
    }
    handOverNext();
}

void EngineDrillReader::dropOutstanding()
{
    if (!outstanding || outstandingDropped)
        return;
    outstandingDropped = true;
    if (player->CancelMusic())
        outstanding.reset(); // withdrawn before it began: it reports nothing
}

void EngineDrillReader::handOverNext()
{
    if (outstanding || waiting.isEmpty())
        return;
    outstanding = waiting.takeFirst();
    outstandingStarted = false;
    outstandingDropped = false;
    // The one place a verse goes to the player.
    if (outstanding->untilFileMs >= 0)
        player->SetMusicFileAfterGapUntil(outstanding->path, outstanding->gapFrames,
                                          outstanding->untilFileMs * AudioClip::Rate / 1000,
                                          outstanding->speed);
    else
        player->SetMusicFileAfterGap(outstanding->path, outstanding->gapFrames);
}

void EngineDrillReader::onStarted()
{
    // The play reported has begun and the next one cannot begin before its end.
    const PlayMusicThread::VerseStart start = player->LastStart();
    Verse verse;
    {
        const QMutexLocker locker(&mutex);
        if (!outstanding || outstandingDropped)
            return;
        outstandingStarted = true;
        lastStarted = *outstanding;
        verse = *outstanding;
    }
    emit verseStarted(verse.card, verse.half, framesToMs(start.frame),
                      framesToMs(start.trimmedLeadFrames), verse.speed);
}

void EngineDrillReader::onEnded()
{
    std::optional<Verse> ended;
    {
        const QMutexLocker locker(&mutex);
        if (!outstanding)
            return;
        if (!outstandingDropped)
            ended = outstanding;
        outstanding.reset();
        handOverNext();
    }
    if (ended)
        emit verseEnded(ended->card, ended->half);
}

qint64 EngineDrillReader::nowMs() const
{
    // The frame sounding now: the last one rendered, moved by how long
    // before or after now it is rendered, and by how long the sound server
    // holds it before it sounds. A verse's start is a rendered frame, so a
    // click is compared with the sound the player heard.
    const qint64 rendered = output.PlayedFrames();
    return framesToMs(rendered) - output.MsUntilFrame(rendered) - output.OutputLatencyMs();
}

QString EngineDrillReader::voiceName() const
{
    const LibraryReader library = voices.readerInUse().get();
    if (library.isSet())
        return QFileInfo(library.folder).fileName();
    // As the options dialog names the two voices.
    return voice == Voices::First ? QCoreApplication::translate("OptionDialog", "音声1　（女性）")
                                  : QCoreApplication::translate("OptionDialog", "音声2　（男性）");
}

QString EngineDrillReader::timingFile() const
{
    const LibraryReader library = voices.readerInUse().get();
    const QString folder =
        library.isSet() ? library.folder : QFileInfo(voices.filePath(voice, 0, 2)).absolutePath();
    return QDir(folder).filePath(QStringLiteral("timing.tsv"));
}
