#include "AudioShapingStore.h"
#include "EngineDrillReader.h"
#include "FixtureAudio.h"
#include "ScopedAppFolder.h"
#include "TimingTable.h"
#include "VirtualTime.h"
#include "Voices.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <cmath>
#include <memory>
#include <optional>

namespace {

struct Report
{
    QString what; // "start card/half" or "end card/half"
    qint64 atMs = 0; // the output clock when it came
    qint64 startMs = -1;
    qint64 trimmedLeadMs = -1;
    double speed = 0;
};

} // namespace

// The drill's reader on the engine, in virtual time (a FakeAudioDevice under
// the output): what it plays, when, and what it reports of it.
class TestEngineDrillReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void verses_startOnTheClockAfterExactPauses_andReportTheirSound();
    void trimmedAndFaster_reportTheCutLeadAndTheSpeed();
    void stopNextRepeat_andMissingFiles_neverHangTheDrill();
    void listening_verseEndsRightAfterItsDecidingSyllables();

private:
    bool waitFor(const QString &what, qint64 limitMs = 5000);
    QStringList names() const;
    // A copy: the list grows, and moves, as reports come in.
    std::optional<Report> find(const QString &what, int nth = 0) const;
    // The first heard frame louder than a quiet tone's noise, at or after `from`.
    qint64 firstSoundMs(qint64 fromMs) const;

    VirtualTime clock; // its output outlives the reader
    std::unique_ptr<ScopedAppFolder> app;
    std::unique_ptr<EngineDrillReader> reader;
    QList<Report> reports;
};

void TestEngineDrillReader::initTestCase()
{
    clock.install();
}

void TestEngineDrillReader::init()
{
    app = std::make_unique<ScopedAppFolder>();
    QVERIFY(FixtureAudio::MakeVoiceFolder(app->path(), {1, 2}, 0.3, false));
    reports.clear();
    reader = std::make_unique<EngineDrillReader>(Voices::First, clock.output, app->voices(),
                                                 app->shaping);
    connect(reader.get(), &DrillReader::verseStarted, this,
            [this](int card, int half, qint64 startMs, qint64 leadMs, double speed) {
                reports.append({QStringLiteral("start %1/%2").arg(card).arg(half), clock.nowMs(),
                                startMs, leadMs, speed});
            });
    connect(reader.get(), &DrillReader::verseEnded, this, [this](int card, int half) {
        reports.append({QStringLiteral("end %1/%2").arg(card).arg(half), clock.nowMs()});
    });
}

void TestEngineDrillReader::cleanup()
{
    reader.reset(); // joins the player's thread
    app.reset();
}

bool TestEngineDrillReader::waitFor(const QString &what, qint64 limitMs)
{
    return clock.advanceUntil([&] { return names().contains(what); }, limitMs);
}

QStringList TestEngineDrillReader::names() const
{
    QStringList all;
    for (const Report &report : reports)
        all.append(report.what);
    return all;
}

std::optional<Report> TestEngineDrillReader::find(const QString &what, int nth) const
{
    for (const Report &report : reports) {
        if (report.what == what && nth-- == 0)
            return report;
    }
    return std::nullopt;
}

qint64 TestEngineDrillReader::firstSoundMs(qint64 fromMs) const
{
    const std::vector<float> &heard = clock.device->heard;
    for (size_t frame = size_t(fromMs * AudioClip::Rate / 1000); frame < heard.size(); ++frame) {
        if (std::fabs(heard[frame]) > 0.05f)
            return qint64(frame) * 1000 / AudioClip::Rate;
    }
    return -1;
}

void TestEngineDrillReader::verses_startOnTheClockAfterExactPauses_andReportTheirSound()
{
    // What the fake device heard is indexed by the output clock's frames.
    QCOMPARE(qint64(clock.device->heard.size()), clock.output.PlayedFrames());
    const qint64 heardFrom = clock.nowMs();

    reader->readVerse(1, 1, 0);
    QVERIFY(waitFor(QStringLiteral("end 1/1")));
    const std::optional<Report> upper = find(QStringLiteral("start 1/1"));
    QVERIFY(upper);
    QCOMPARE(upper->trimmedLeadMs, 0);
    QCOMPARE(upper->speed, 1.0);
    // The start is the verse's first sample on the clock, reported within a step of it.
    QVERIFY2(
        std::abs(firstSoundMs(heardFrom) - upper->startMs) <= 2,
        qPrintable(QStringLiteral("%1 vs %2").arg(firstSoundMs(heardFrom)).arg(upper->startMs)));
    QVERIFY(upper->atMs - upper->startMs <= 10);
    QVERIFY(std::abs(reader->nowMs() - clock.nowMs()) <= 1);

    reader->readVerse(1, 2, 700);
    QVERIFY(waitFor(QStringLiteral("end 1/2")));
    const std::optional<Report> lower = find(QStringLiteral("start 1/2"));
    QVERIFY(lower);
    const qint64 upperEnd = upper->startMs + 300;
    QVERIFY2(std::abs(lower->startMs - (upperEnd + 700)) <= 2,
             qPrintable(QString::number(lower->startMs)));
    QVERIFY(std::abs(firstSoundMs(upperEnd + 100) - lower->startMs) <= 2);
    QCOMPARE(names(),
             (QStringList {QStringLiteral("start 1/1"), QStringLiteral("end 1/1"),
                           QStringLiteral("start 1/2"), QStringLiteral("end 1/2")}));

    QCOMPARE(reader->timingFile(), QDir(app->path()).filePath(QStringLiteral("Music/timing.tsv")));
    QVERIFY(!reader->voiceName().isEmpty());
}

void TestEngineDrillReader::trimmedAndFaster_reportTheCutLeadAndTheSpeed()
{
    // A verse with 400 ms of silence before its sound.
    const QString wav = app->filePath(QStringLiteral("Music/rindou_002_1.wav"));
    QVERIFY(QFile::remove(app->filePath(QStringLiteral("Music/rindou_002_1.ogg"))));
    QCOMPARE(
        QProcess::execute(QStringLiteral("sox"),
                          {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                           QStringLiteral("-c"), QStringLiteral("1"), wav, QStringLiteral("synth"),
                           QStringLiteral("0.5"), QStringLiteral("sine"), QStringLiteral("500"),
                           QStringLiteral("pad"), QStringLiteral("0.4"), QStringLiteral("0")}),
        0);
    AudioShaping shaping;
    shaping.trimSilence = true;
    shaping.speed = 1.25;
    app->shaping.set(shaping);
    reader->readVerse(2, 1, 0);
    QVERIFY(waitFor(QStringLiteral("end 2/1")));
    const std::optional<Report> start = find(QStringLiteral("start 2/1"));
    QVERIFY(start);
    // Trimming keeps 10 ms before the sound.
    QVERIFY2(std::abs(start->trimmedLeadMs - 390) <= 2,
             qPrintable(QString::number(start->trimmedLeadMs)));
    QCOMPARE(start->speed, 1.25);
}

void TestEngineDrillReader::stopNextRepeat_andMissingFiles_neverHangTheDrill()
{
    // Stop in a pause: nothing is heard or reported, and the reader goes on.
    reader->readVerse(1, 1, 0);
    QVERIFY(waitFor(QStringLiteral("end 1/1")));
    reader->readVerse(1, 2, 3000);
    clock.advance(500);
    reader->stop();
    clock.advance(3500);
    QCOMPARE(names().size(), 2);

    // Next ends a pause at once.
    reader->readVerse(2, 1, 5000);
    clock.advance(200);
    const qint64 nextAt = clock.nowMs();
    reader->next();
    QVERIFY(waitFor(QStringLiteral("start 2/1"), 1000));
    QVERIFY(find(QStringLiteral("start 2/1"))->startMs - nextAt <= 30);

    // Repeat in a verse reads it from its start again, with one end.
    clock.advance(100);
    reader->repeat();
    QVERIFY(waitFor(QStringLiteral("end 2/1")));
    QCOMPARE(names().count(QStringLiteral("start 2/1")), 2);
    QCOMPARE(names().count(QStringLiteral("end 2/1")), 1);

    // Repeat in a pause: the verse just heard, then the one that waited, after its pause.
    reader->readVerse(2, 2, 1000);
    clock.advance(100);
    reader->repeat();
    QVERIFY(waitFor(QStringLiteral("end 2/2")));
    QCOMPARE(names().mid(5),
             (QStringList {QStringLiteral("start 2/1"), QStringLiteral("end 2/1"),
                           QStringLiteral("start 2/2"), QStringLiteral("end 2/2")}));
    const qint64 repeatedEnd = find(QStringLiteral("start 2/1"), 2)->startMs + 300;
    QVERIFY(std::abs(find(QStringLiteral("start 2/2"))->startMs - (repeatedEnd + 1000)) <= 2);

    // A missing verse takes a short place on the clock and is reported all the same.
    reader->readVerse(9, 1, 0);
    QVERIFY(waitFor(QStringLiteral("end 9/1"), 2000));
    QVERIFY(find(QStringLiteral("start 9/1")));
}

void TestEngineDrillReader::listening_verseEndsRightAfterItsDecidingSyllables()
{
    // Card 2 (はるすぎて, decided by はるす): 400 ms of silence, then a second
    // of tone; its timing says the third mora ends 900 ms into the file.
    const QString wav = app->filePath(QStringLiteral("Music/rindou_002_1.wav"));
    QVERIFY(QFile::remove(app->filePath(QStringLiteral("Music/rindou_002_1.ogg"))));
    QCOMPARE(
        QProcess::execute(QStringLiteral("sox"),
                          {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                           QStringLiteral("-c"), QStringLiteral("1"), wav, QStringLiteral("synth"),
                           QStringLiteral("1.0"), QStringLiteral("sine"), QStringLiteral("500"),
                           QStringLiteral("pad"), QStringLiteral("0.4"), QStringLiteral("0")}),
        0);
    QFile timing(reader->timingFile());
    QVERIFY(timing.open(QIODevice::WriteOnly));
    timing.write("card\thalf\tends_ms\n2\t1\t500,700,900,1100,1300\n");
    timing.close();
    const std::optional<qint64> decidedMs = TimingTable::endOfKana(
        TimingTable::load(reader->timingFile()).ends(2, 1), QStringLiteral("はるすぎて"), 3);
    QCOMPARE(decidedMs, 900);
    // Trimmed and faster, as a player may read.
    AudioShaping shaping;
    shaping.trimSilence = true;
    shaping.speed = 1.25;
    app->shaping.set(shaping);

    QVERIFY(reader->canStopVerses());
    reader->readVerseUntil(2, 1, 0, *decidedMs);
    QVERIFY(waitFor(QStringLiteral("end 2/1")));
    const std::optional<Report> start = find(QStringLiteral("start 2/1"));
    QVERIFY(start);
    const qint64 decidedAt =
        start->startMs + TimingTable::toPlayedMs(*decidedMs, start->trimmedLeadMs, start->speed);
    // What the device rendered: the tone up to the deciding syllables' end,
    // silence within 50 ms after it.
    const std::vector<float> &heard = clock.device->heard;
    qint64 lastSound = -1;
    float loudBefore = 0.0f;
    for (size_t frame = size_t(start->startMs * AudioClip::Rate / 1000); frame < heard.size();
         ++frame) {
        const qint64 atMs = qint64(frame) * 1000 / AudioClip::Rate;
        if (std::fabs(heard[frame]) > 0.001f)
            lastSound = atMs;
        if (atMs >= decidedAt - 20 && atMs < decidedAt)
            loudBefore = std::max(loudBefore, std::fabs(heard[frame]));
    }
    qInfo("deciding syllables end at %lld ms; last sound at %lld ms", decidedAt, lastSound);
    QVERIFY(loudBefore > 0.1f);
    QVERIFY2(lastSound >= decidedAt && lastSound <= decidedAt + 50,
             qPrintable(QStringLiteral("%1 vs %2").arg(lastSound).arg(decidedAt)));
}

QTEST_GUILESS_MAIN(TestEngineDrillReader)
#include "tst_enginedrillreader.moc"
