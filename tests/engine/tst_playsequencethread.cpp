#include "SequenceRig.h"

#include <QDir>
#include <QFile>

#include <algorithm>

// The reading thread on the real player, in virtual time (one reading also
// in real time): the order and the pauses of a reading, the verse files it
// opens, pause, resume and stop.
class TestPlaySequenceThread : public SequenceRig
{
    Q_OBJECT

public:
    TestPlaySequenceThread()
        : SequenceRig(true)
    {
    }

private slots:
    void readings_data();
    void readings();
    void filePaths_data();
    void filePaths();
    void pauseAndResume_data();
    void pauseAndResume();
    void quickPauseAndResume_readVerseOnceMore();
    void stop_data();
    void stop();
    void badVerseFile_readingGoesOn();
    void missingLowerVerse_keepsItsPauses();
    void measurePauses();
};

void TestPlaySequenceThread::readings_data()
{
    QTest::addColumn<QList<int>>("list");
    QTest::addColumn<int>("wait1");
    QTest::addColumn<int>("wait2");
    QTest::addColumn<bool>("realTime");
    QTest::newRow("preamble and a card") << QList<int> {0, 7} << 1 << 2 << false;
    QTest::newRow("zero and negative pauses") << QList<int> {7, 12} << 0 << -3 << false;
    // One pause timed by the wiring to SDL, as short as that can be.
    QTest::newRow("real time: SDL's clock") << QList<int> {7} << 1 << 1 << true;
}

// Order of the signals, and the pause after an upper verse (wait1) and after
// a lower verse (wait2): W seconds plus two passes, plus the player's polling.
void TestPlaySequenceThread::readings()
{
    QFETCH(QList<int>, list);
    QFETCH(int, wait1);
    QFETCH(int, wait2);
    QFETCH(bool, realTime);
    if (realTime)
        useRealTime();
    makeThread(shortDir);
    startReading(list, 0, wait1, wait2);
    waitFor(End, 0, 20000);
    pass(250); // nothing follows the end
    QCOMPARE(log->names(), plainReading(list));
    QCOMPARE(seq->GetState(), int(Seq::STAT_STOP));

    const QList<EventLog::Event> &events = log->events;
    for (qsizetype i = 1; i < events.size(); ++i) {
        const qint64 gap = events.at(i).ms - events.at(i - 1).ms;
        const QString pair = events.at(i - 1).name + QStringLiteral(" -> ") + events.at(i).name;
        int expectedMs = -1;
        if (events.at(i - 1).name == M1E)
            expectedMs = 1000 * std::max(wait1, 0) + 200;
        else if (events.at(i - 1).name == M2E && events.at(i).name != End)
            expectedMs = 1000 * std::max(wait2, 0) + 200;
        else if (events.at(i).name == End)
            expectedMs = 100; // at once: the pass that takes the end
        if (expectedMs < 0)
            continue;
        QVERIFY2(gap >= expectedMs - 100 && gap <= expectedMs + 600,
                 qPrintable(QStringLiteral("%1 took %2 ms").arg(pair).arg(gap)));
    }
}

void TestPlaySequenceThread::filePaths_data()
{
    QTest::addColumn<QString>("folder"); // relative to the temporary root
    QTest::addColumn<int>("voice");
    QTest::addColumn<int>("card");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");
    // Music holds 1.0 s verses, Music2 0.5 s verses: the length of the verse
    // read tells which file was opened; a wrong name plays about 100 ms.
    QTest::newRow("voice 0, preamble") << "names" << 0 << 0 << 850 << 1600;
    QTest::newRow("voice 1, card 7") << "names" << 1 << 7 << 380 << 800;
    QTest::newRow("application folder with Japanese name")
        << "読手/カルタ" << 0 << 7 << 850 << 1600;
}

void TestPlaySequenceThread::filePaths()
{
    QFETCH(QString, folder);
    QFETCH(int, voice);
    QFETCH(int, card);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);
    const QString appDir = root.filePath(folder);
    if (!QDir(appDir).exists()) {
        QVERIFY(ToneFiles::WriteVoiceFolder(appDir, {0, 7, 100}, 1.0, false));
        const QString second = root.filePath(QStringLiteral("second"));
        QVERIFY(ToneFiles::WriteVoiceFolder(second, {0, 7, 100}, 0.5, true));
        QVERIFY(
            QDir().rename(second + QStringLiteral("/Music2"), appDir + QStringLiteral("/Music2")));
    }
    makeThread(appDir);
    startReading({card}, voice, 1, 1);
    const QString started = card == 0 ? m2s(0) : m1s(card);
    const QString ended = card == 0 ? M2E : M1E;
    waitFor(ended);
    const qint64 length = log->time(ended) - log->time(started);
    QVERIFY2(length >= minMs && length <= maxMs, qPrintable(QString::number(length)));
    seq->RequestStop();
    waitFor(End);
}

void TestPlaySequenceThread::pauseAndResume_data()
{
    QTest::addColumn<QList<int>>("list");
    QTest::addColumn<QString>("pauseAfter"); // the event after which the pause is taken
    QTest::addColumn<int>("pausedIn");
    QTest::addColumn<QString>(
        "stopAfter"); // stop once this is seen after the resume; empty: read to the end
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("upper verse: read again from its beginning")
        << QList<int> {7, 12} << m1s(7) << int(Seq::STAT_MUSIC1) << m1s(7)
        << QStringList {Started, m1s(7), m1s(7), End};
    QTest::newRow("pause after upper verse: lower verse at once")
        << QList<int> {7, 12} << M1E << int(Seq::STAT_WAIT1) << m2s(7)
        << QStringList {Started, m1s(7), M1E, m2s(7), End};
}

void TestPlaySequenceThread::pauseAndResume()
{
    QFETCH(QList<int>, list);
    QFETCH(QString, pauseAfter);
    QFETCH(int, pausedIn);
    QFETCH(QString, stopAfter);
    QFETCH(QStringList, expected);

    makeThread(longDir);
    // A long pause after the upper verse shows that a resume skips its rest.
    startReading(list, 0, 3, 1);
    waitFor(pauseAfter);
    QVERIFY(passUntil([&] { return seq->GetState() == pausedIn; }, 500));
    seq->RequestPause();
    QVERIFY(passUntil([&] { return seq->GetState() == int(Seq::STAT_PAUSE); }, 1000));
    QVERIFY(passUntil([this] { return !musicPlaying(); }, 300));
    // Paused: the verse cut short reports no end, and nothing goes on.
    pass(500);
    QCOMPARE(log->names(), expected.mid(0, log->names().size()));
    const qsizetype beforeResume = log->events.size();
    QCOMPARE(seq->GetState(), int(Seq::STAT_PAUSE));

    const qint64 resumedAt = log->now();
    seq->RequestStart();
    if (stopAfter.isEmpty()) {
        waitFor(End, 0, 20000);
    } else {
        QVERIFY(passUntil([&] { return log->events.size() > beforeResume; }, 3000));
        QVERIFY2(log->events.at(beforeResume).ms - resumedAt <= 700,
                 qPrintable(QString::number(log->events.at(beforeResume).ms - resumedAt)));
        QVERIFY(musicPlaying());
        seq->RequestStop();
        waitFor(End);
    }
    QCOMPARE(log->names(), expected);
}

// Requests in quick succession, faster than the player's own passes: a
// verse cut short before or just after it began must not sound on while
// paused, and its late reports must not be taken for the resumed verse's.
void TestPlaySequenceThread::quickPauseAndResume_readVerseOnceMore()
{
    makeThread(longDir);
    startReading({7}, 0, 1, 1);
    QVERIFY(passUntil([&] { return seq->GetState() == int(Seq::STAT_MUSIC1); }, 1000));
    seq->RequestPause(); // the player may not have begun the verse yet
    QVERIFY(passUntil([&] { return seq->GetState() == int(Seq::STAT_PAUSE); }, 1000));
    QVERIFY(passUntil([this] { return !musicPlaying(); }, 300));
    pass(300);
    QVERIFY(!musicPlaying());
    QVERIFY(!log->contains(M1E));

    // A busy machine may have let the first verse start before the pause.
    const qsizetype before = log->count(m1s(7));
    seq->RequestStart();
    waitFor(m1s(7), int(before));
    const qsizetype started = log->count(m1s(7));
    seq->RequestPause(); // the verse has just begun
    QVERIFY(passUntil([&] { return seq->GetState() == int(Seq::STAT_PAUSE); }, 1000));
    seq->RequestStart(); // at once, while the player is still ending it
    waitFor(End, 0, 10000);
    QCOMPARE(log->count(m1s(7)), started + 1);
    QCOMPARE(log->names().mid(log->names().indexOf(M1E)), plainReading({7}).mid(2));
    // The resumed verse was read whole, not ended by the report of the one cut short.
    const qint64 verse = log->time(M1E) - log->time(m1s(7), int(started));
    QVERIFY2(verse >= 850, qPrintable(QString::number(verse)));
}

void TestPlaySequenceThread::stop_data()
{
    QTest::addColumn<QString>("stopAfter");
    QTest::addColumn<int>("stoppedIn");
    QTest::addColumn<bool>("pauseFirst");
    QTest::newRow("upper verse") << m1s(7) << int(Seq::STAT_MUSIC1) << false;
    QTest::newRow("pause after upper verse") << M1E << int(Seq::STAT_WAIT1) << false;
    QTest::newRow("paused") << m2s(7) << int(Seq::STAT_MUSIC2) << true;
}

void TestPlaySequenceThread::stop()
{
    QFETCH(QString, stopAfter);
    QFETCH(int, stoppedIn);
    QFETCH(bool, pauseFirst);

    makeThread(longDir);
    startReading({7, 12}, 0, 1, 1);
    waitFor(stopAfter);
    QVERIFY(passUntil([&] { return seq->GetState() == stoppedIn; }, 500));
    if (pauseFirst) {
        seq->RequestPause();
        QVERIFY(passUntil([&] { return seq->GetState() == int(Seq::STAT_PAUSE); }, 1000));
    }
    const qint64 stoppedAt = log->now();
    seq->RequestStop();
    waitFor(End, 0, 1000);
    QVERIFY(log->time(End) - stoppedAt <= 400);
    QVERIFY(passUntil([this] { return !musicPlaying(); }, 300));
    QCOMPARE(seq->GetState(), int(Seq::STAT_STOP));
    const QStringList atStop = log->names();

    // The list went with the stop: a start without a new list does nothing,
    // and the verse cut short reports no end.
    seq->RequestStart();
    pass(500);
    QCOMPARE(seq->GetState(), int(Seq::STAT_STOP));
    QCOMPARE(log->names(), atStop);
    QCOMPARE(log->count(End), 1);

    // A new list reads from its first card.
    startReading({12}, 0, 1, 1);
    waitFor(m1s(12), 0, 3000);
    QCOMPARE(log->names().mid(atStop.size()), (QStringList {Started, m1s(12)}));
}

// A verse the player cannot play (the kinds are the player's test's) is
// about 100 ms of silence, and the reading goes on with its pauses.
void TestPlaySequenceThread::badVerseFile_readingGoesOn()
{
    QTemporaryDir appDir;
    QVERIFY(appDir.isValid());
    QVERIFY(QDir(appDir.path()).mkpath(QStringLiteral("Music")));
    QVERIFY(QFile::copy(shortDir + QStringLiteral("/Music/rindou_007_2.ogg"),
                        appDir.filePath(QStringLiteral("Music/rindou_007_2.ogg"))));

    makeThread(appDir.path());
    startReading({7}, 0, 1, 1);
    waitFor(End);
    QCOMPARE(log->names(), plainReading({7}));
    const qint64 verse = log->time(M1E) - log->time(m1s(7));
    QVERIFY2(verse <= 400, qPrintable(QString::number(verse)));
    const qint64 pause = log->time(m2s(7)) - log->time(M1E);
    QVERIFY2(pause >= 1100 && pause <= 1800, qPrintable(QString::number(pause)));
}

// A missing lower verse is a verse of 100 ms on the clock: the pauses on
// both sides of it are whole.
void TestPlaySequenceThread::missingLowerVerse_keepsItsPauses()
{
    QTemporaryDir appDir;
    QVERIFY(appDir.isValid());
    QVERIFY(QDir(appDir.path()).mkpath(QStringLiteral("Music")));
    for (const char *name : {"rindou_007_1.ogg", "rindou_012_1.ogg", "rindou_012_2.ogg"})
        QVERIFY(QFile::copy(shortDir + QStringLiteral("/Music/") + QLatin1String(name),
                            appDir.filePath(QStringLiteral("Music/") + QLatin1String(name))));
    makeThread(appDir.path());
    startReading({7, 12}, 0, 1, 1);
    waitFor(End);
    QCOMPARE(log->names(), plainReading({7, 12}));
    const qint64 before = log->time(m2s(7)) - log->time(M1E);
    const qint64 verse = log->time(M2E) - log->time(m2s(7));
    const qint64 after = log->time(m1s(12)) - log->time(M2E);
    QVERIFY2(qAbs(before - 1200) <= 20 && qAbs(verse - 100) <= 20 && qAbs(after - 1200) <= 20,
             qPrintable(QStringLiteral("%1 %2 %3").arg(before).arg(verse).arg(after)));
}

// Not a check: prints the silence after upper and lower verses. Run with
// QTUTAKAZE_MEASURE_PAUSES=1 (takes a few minutes).
void TestPlaySequenceThread::measurePauses()
{
    if (qEnvironmentVariableIsEmpty("QTUTAKAZE_MEASURE_PAUSES"))
        QSKIP("set QTUTAKAZE_MEASURE_PAUSES=1 to measure the pauses");
    useRealTime();
    const double verseMs = 300; // the length of the short fixtures
    for (int w : {1, 3}) {
        makeThread(shortDir);
        QList<int> list;
        for (int i = 0; i < 11; ++i)
            list << (i % 2 == 0 ? 7 : 12);
        startReading(list, 0, w, w);
        waitFor(End, 0, 11 * (2 * w + 4) * 1000);
        QList<qint64> afterUpper, afterLower;
        const QList<EventLog::Event> &events = log->events;
        qint64 lastStart = -1;
        for (qsizetype i = 0; i < events.size(); ++i) {
            const QString &name = events.at(i).name;
            if (name.startsWith(u"M1S") || name.startsWith(u"M2S")) {
                // Silence: from the sound's end (start + its length) to the next start.
                if (lastStart >= 0) {
                    const qint64 silence = events.at(i).ms - lastStart - qint64(verseMs);
                    (name.startsWith(u"M2S") ? afterUpper : afterLower).append(silence);
                }
                lastStart = events.at(i).ms;
            }
        }
        for (auto *series : {&afterUpper, &afterLower}) {
            std::sort(series->begin(), series->end());
            const qint64 median = series->at(series->size() / 2);
            qInfo("W=%d silence after %s verse: n=%lld median=%lld ms min=%lld max=%lld", w,
                  series == &afterUpper ? "upper" : "lower", qlonglong(series->size()),
                  qlonglong(median), qlonglong(series->first()), qlonglong(series->last()));
        }
        cleanup();
    }
}

QTEST_GUILESS_MAIN(TestPlaySequenceThread)
#include "tst_playsequencethread.moc"
