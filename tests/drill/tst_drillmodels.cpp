#include "CardCatalog.h"
#include "DrillRecord.h"
#include "DrillRounds.h"
#include "DrillScore.h"
#include "DrillSettings.h"
#include "DrillStatistics.h"
#include "ScreenFit.h"
#include "TestData.h"
#include "TimingTable.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

KimarijiModel builtInKimariji()
{
    return KimarijiModel::fromCatalog(CardCatalog::builtIn());
}

// Card 74 (うかりける ...) with its first morae 100 ms apart in its file.
TimingTable timingFor74()
{
    return TimingTable::parse("card\thalf\tends_ms\n74\t1\t100,200,300,400,500\n");
}

DrillRow row(int position, int card, DrillResult result, std::optional<qint64> reaction,
             bool dead = false)
{
    return {position, card, dead, QStringLiteral("う"), DrillReference::Kimariji, reaction, result,
            std::nullopt};
}

} // namespace

class TestDrillModels : public QObject
{
    Q_OBJECT

private slots:
    void timingTable_parsesRowsAndSkipsBrokenOnes()
    {
        const TimingTable table = TimingTable::parse("card\thalf\tends_ms\r\n"
                                                     "74\t1\t100, 200,300\r\n"
                                                     "74\t2\t50\n"
                                                     "75\t3\t10\n" // no such half
                                                     "76\t1\t300,200\n" // not rising
                                                     "77\t1\t10,x\n"
                                                     "78\t1\n"
                                                     "\xff\xfe\n");
        QCOMPARE(table.size(), 2);
        QCOMPARE(table.ends(74, 1), (QList<qint64> {100, 200, 300}));
        QCOMPARE(table.ends(74, 2), QList<qint64> {50});
        QVERIFY(table.ends(76, 1).isEmpty());
        QVERIFY(TimingTable::load(QStringLiteral("/nonexistent/timing.tsv")).isEmpty());
    }

    void kanaToMorae_smallKanaJoinTheMoraBefore()
    {
        const QString koisu = QStringLiteral("こいすちょうわがな");
        QCOMPARE(TimingTable::moraeOf(koisu, 3), 3);
        QCOMPARE(TimingTable::moraeOf(koisu, 5), 4); // ちょ is one mora
        QCOMPARE(TimingTable::moraeOf(koisu, 6), 5);
        const QList<qint64> ends {100, 200, 300, 450, 550, 600};
        QCOMPARE(TimingTable::endOfKana(ends, koisu, 3), 300);
        // The deciding syllables ending on ち are heard with its ょ.
        QCOMPARE(TimingTable::endOfKana(ends, koisu, 4), 450);
        QCOMPARE(TimingTable::endOfKana(ends, koisu, 5), 450);
        QCOMPARE(TimingTable::endOfKana(ends, koisu, 6), 550);
        QCOMPARE(TimingTable::endOfKana({100}, koisu, 2), std::nullopt);
        QCOMPARE(TimingTable::endOfKana(ends, koisu, 0), std::nullopt);
        // Trimming removes the lead, the speed shortens what is left.
        QCOMPARE(TimingTable::toPlayedMs(450, 0, 1.0), 450);
        QCOMPARE(TimingTable::toPlayedMs(450, 150, 2.0), 150);
        QCOMPARE(TimingTable::toPlayedMs(450, 150, 0.5), 600);
        QCOMPARE(TimingTable::toPlayedMs(100, 150, 1.0), 0);
    }

    void record_roundTripAndBrokenRowsSkipped()
    {
        const QList<DrillRow> rows {
            {1, 65, false, QStringLiteral("うら"), DrillReference::Kimariji, 412,
             DrillResult::Taken, std::nullopt},
            {2, 3, true, QStringLiteral("あし"), DrillReference::Verse, -80, DrillResult::Fault, std::nullopt},
            {3, 74, false, QStringLiteral("う"), DrillReference::Kimariji, std::nullopt,
             DrillResult::Missed, std::nullopt},
            {4, 9, true, QStringLiteral("はなの"), DrillReference::Kimariji, std::nullopt,
             DrillResult::Passed, std::nullopt}};
        const QByteArray text = DrillRecord::format(rows);
        QCOMPARE(text,
                 QByteArray("position\tcard\tdead\tkimariji\treference\treaction_ms\tresult\tside\t"
                            "row\n"
                            "1\t65\t0\tうら\tkimariji\t412\ttaken\t\t\n"
                            "2\t3\t1\tあし\tverse\t-80\tfault\t\t\n"
                            "3\t74\t0\tう\tkimariji\t\tmissed\t\t\n"
                            "4\t9\t1\tはなの\tkimariji\t\tpassed\t\t\n"));
        QCOMPARE(DrillRecord::parse(text), rows);

        const QByteArray broken = text
            + "5\t101\t0\tx\tkimariji\t100\ttaken\n" // no such card
              "6\t5\t0\tx\tsomething\t100\ttaken\n" // reference
              "7\t5\t0\tx\tkimariji\t100\twon\n" // result
              "8\t5\t0\tx\tkimariji\t\ttaken\n" // a take without time
              "9\t5\t0\tx\tkimariji\t12\tmissed\n" // a miss with one
              "10\t5\t1\tx\tkimariji\t12\ttaken\n" // a dead card taken
              "11\t5\t0\tx\tkimariji\t12\n"
              "\xff\xfe\t\n";
        QCOMPARE(DrillRecord::parse(broken), rows);
    }

    void record_keepsTheNewestAndSkipsBrokenFiles()
    {
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("training"));
        const DrillRecord record(folder);
        const QList<DrillRow> one {row(1, 87, DrillResult::Taken, 300)};
        QCOMPARE(record.save(QDateTime(), {}), DrillRecord::SaveResult::NothingRead);
        const QDateTime start(QDate(2026, 12, 1), QTime(20, 0, 0));
        for (int i = 0; i < DrillRecord::Kept + 2; ++i)
            QCOMPARE(record.save(start.addSecs(i / 2), one), DrillRecord::SaveResult::Saved);
        QStringList files = record.files();
        QCOMPARE(files.size(), DrillRecord::Kept);
        QCOMPARE(files.first(), QStringLiteral("20261201-200140-2.tsv"));
        QCOMPARE(files.at(1), QStringLiteral("20261201-200140.tsv"));

        // A newer file broken throughout is skipped by recent(); a folder with
        // the name of a file is no drill.
        QVERIFY(TestData::writeFile(record.filePath(QStringLiteral("20261202-000000.tsv")),
                                    "\x00\x01garbage"));
        QVERIFY(QDir(folder).mkdir(QStringLiteral("20261203-000000.tsv")));
        const QList<QList<DrillRow>> recent = record.recent(3);
        QCOMPARE(recent.size(), 3);
        QCOMPARE(recent.first(), one);
        const DrillStatistics stats(recent);
        QCOMPARE(stats.cards(), (QList<CardDrillStats> {{87, 3, 3, 0, 0, 300}}));

        // A read-only folder fails without harm.
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const bool writable = QFileInfo(folder).isWritable(); // root writes anyway
        if (!writable)
            QCOMPARE(record.save(start.addDays(5), one), DrillRecord::SaveResult::Failed);
        QFile::setPermissions(
            folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void deal_drawsFieldAndDeadCardsApart()
    {
        QRandomGenerator random(7);
        const DrillDeal deal = DrillDeal::draw({1, 2, 3, 4, 5, 6, 2, 0, 101}, 4, 10, random);
        QCOMPARE(deal.field.size(), 4);
        QCOMPARE(deal.dead.size(), 10);
        QCOMPARE(deal.order.size(), 14);
        for (int card : deal.field) {
            QVERIFY(card >= 1 && card <= 6);
            QVERIFY(!deal.dead.contains(card));
            QVERIFY(deal.order.contains(card));
        }
        const DrillDeal few = DrillDeal::draw({8, 9}, 5, 0, random);
        QCOMPARE(few.order.size(), 2);
        QVERIFY(few.dead.isEmpty());
    }

    void rounds_takeFaultMissInReadingOrder()
    {
        // 65 is read before 74: 74's deciding syllables shorten from うか to う.
        DrillDeal deal {{74, 65, 87}, {65, 74, 87}, {}};
        DrillRounds rounds(builtInKimariji(), timingFor74(), deal, 10000);
        rounds.setPauses(1000, 2000);
        QCOMPARE(rounds.takeDueVerse(), (DrillVerse {65, 1, 0}));
        QCOMPARE(rounds.takeDueVerse(), std::nullopt);

        // 65 has no timing: counted from the verse's start (on the audio clock).
        QCOMPARE(rounds.take(65, 500), std::nullopt); // nothing read yet
        rounds.verseStarted(65, 1, 1000, 0, 1.0);
        QCOMPARE(rounds.deadlineMs(), 11000);
        std::optional<DrillRoundEnd> end = rounds.take(65, 1800);
        QVERIFY(end);
        QCOMPARE(end->row,
                 (DrillRow {1, 65, false, QStringLiteral("うら"), DrillReference::Verse, 800,
                            DrillResult::Taken, std::nullopt}));
        QCOMPARE(end->staticKimariji, QStringLiteral("うら"));
        QCOMPARE(rounds.take(74, 1900), std::nullopt); // the round is over
        QCOMPARE(rounds.takeDueVerse(), std::nullopt); // the upper verse still sounds
        rounds.verseEnded(65, 1);
        QCOMPARE(rounds.takeDueVerse(), (DrillVerse {65, 2, 1000}));
        rounds.verseEnded(65, 2);
        QCOMPARE(rounds.takeDueVerse(), (DrillVerse {74, 1, 2000}));

        // 74 with timing, trimmed by 50 ms and read at double speed: う ends
        // at 100 ms in the file, (100 - 50) / 2 = 25 ms into the sound. A
        // Repeat moves the reference to the new hearing; a take before it is a guess.
        rounds.verseStarted(74, 1, 20000, 50, 2.0);
        rounds.verseEnded(74, 1);
        rounds.verseStarted(74, 1, 30000, 50, 2.0);
        end = rounds.take(87, 30005);
        QVERIFY(end);
        QCOMPARE(end->row,
                 (DrillRow {2, 74, false, QStringLiteral("う"), DrillReference::Kimariji, -20,
                            DrillResult::Fault, std::nullopt}));
        QCOMPARE(end->touched, 87);
        QCOMPARE(end->staticKimariji, QStringLiteral("うか"));
        QCOMPARE(rounds.fieldCards(), QList<int> {87}); // 74 went with the fault
        rounds.verseEnded(74, 1);
        QCOMPARE(rounds.takeDueVerse(), (DrillVerse {74, 2, 1000}));
        rounds.verseEnded(74, 2);
        QCOMPARE(rounds.takeDueVerse(), (DrillVerse {87, 1, 2000}));

        // No take within the limit: missed, and the field is empty.
        rounds.verseStarted(87, 1, 40000, 0, 1.0);
        QCOMPARE(rounds.expire(49999), std::nullopt);
        end = rounds.expire(50000);
        QVERIFY(end);
        QCOMPARE(end->row.result, DrillResult::Missed);
        QCOMPARE(end->row.reactionMs, std::nullopt);
        QVERIFY(!rounds.isFinished()); // the last verse is heard out, not cut mid-word
        QCOMPARE(rounds.takeDueVerse(), std::nullopt);
        rounds.verseEnded(87, 1);
        QVERIFY(rounds.isFinished());
        QCOMPARE(rounds.rows().size(), 3);
    }

    void rounds_deadCardsAreFaultsOrPassed()
    {
        // With dead cards all hundred compete, as the poem panel counts them.
        DrillDeal deal {{74, 87}, {65, 3, 74, 87}, {65, 3}};
        DrillRounds rounds(builtInKimariji(), {}, deal);
        QCOMPARE(rounds.takeDueVerse()->card, 65);
        rounds.verseStarted(65, 1, 0, 0, 1.0);
        const std::optional<DrillRoundEnd> fault = rounds.take(74, 700);
        QVERIFY(fault);
        QCOMPARE(fault->row.result, DrillResult::Fault);
        QVERIFY(fault->row.dead);
        QCOMPARE(rounds.fieldCards(), (QList<int> {74, 87})); // a dead card takes nothing away
        rounds.verseEnded(65, 1);
        rounds.takeDueVerse();
        rounds.verseEnded(65, 2);
        QCOMPARE(rounds.takeDueVerse()->card, 3);
        rounds.verseStarted(3, 1, 9000, 0, 1.0);
        rounds.verseEnded(3, 1);
        const std::optional<DrillRoundEnd> passed = rounds.giveUp(); // Next during the take
        QVERIFY(passed);
        QCOMPARE(passed->row.result, DrillResult::Passed);
        QCOMPARE(rounds.takeDueVerse(), (DrillVerse {3, 2, DrillRounds::DefaultUpperPauseMs}));
        rounds.verseEnded(3, 2);
        QCOMPARE(rounds.takeDueVerse()->card, 74);
        rounds.verseStarted(74, 1, 20000, 0, 1.0);
        QCOMPARE(rounds.take(74, 20300)->row.kimariji, QStringLiteral("う")); // 65 has been read
        rounds.stop();
        QVERIFY(rounds.isFinished());
        QCOMPARE(rounds.takeDueVerse(), std::nullopt);
        QCOMPARE(rounds.rows().size(), 3);
    }

    // A drill of 15 cards, all taken 1.5 s into the upper verse, played on
    // a simulated audio clock with verses as long as the demo voices' (upper
    // 6 s, lower 7 s): with the main reading's pauses it borrowed before
    // (10 s and 3 s) and with its own defaults.
    void rounds_ownPaceShortensADrill()
    {
        const auto drillLengthMs = [](int beforeLowerMs, int beforeNextMs) {
            QList<int> cards;
            for (int card = 1; card <= 15; ++card)
                cards.append(card);
            DrillRounds rounds(builtInKimariji(), {}, DrillDeal {cards, cards, {}});
            rounds.setPauses(beforeLowerMs, beforeNextMs);
            qint64 now = 0;
            for (int verses = 0; !rounds.isFinished() && verses < 100; ++verses) {
                const std::optional<DrillVerse> verse = rounds.takeDueVerse();
                if (!verse)
                    return qint64(-1);
                const qint64 start = now + verse->pauseMs;
                rounds.verseStarted(verse->card, verse->half, start, 0, 1.0);
                if (verse->half == 1 && !rounds.take(verse->card, start + 1500))
                    return qint64(-1);
                now = start + (verse->half == 1 ? 6000 : 7000);
                rounds.verseEnded(verse->card, verse->half);
            }
            return rounds.rows().size() == 15 ? now : qint64(-1);
        };
        const qint64 before = drillLengthMs(10000, 3000);
        const DrillSettings pace;
        const qint64 after = drillLengthMs(pace.beforeLowerMs, pace.beforeNextMs);
        qInfo("15-card drill: %lld s with the reading's pauses, %lld s at the drill's own pace",
              before / 1000, after / 1000);
        // The last card's take ends the drill once its upper verse is over.
        QCOMPARE(before, 15 * 6000 + 14 * (10000 + 7000 + 3000));
        QCOMPARE(after, 15 * 6000 + 14 * (1000 + 7000 + 2000));
    }

    // A listening drill stops each upper verse right after its deciding
    // syllables of the moment; without timing for the verse it is read whole.
    void rounds_listeningStopsAfterTheDecidingSyllables()
    {
        DrillDeal deal {{74, 65, 87}, {65, 74, 87}, {}};
        DrillRounds rounds(builtInKimariji(), timingFor74(), deal);
        rounds.setListening(true);
        QCOMPARE(rounds.stopOf(*rounds.takeDueVerse()), std::nullopt); // 65 has no timing
        rounds.verseStarted(65, 1, 0, 0, 1.0);
        rounds.take(65, 900);
        rounds.verseEnded(65, 1);
        QCOMPARE(rounds.stopOf(*rounds.takeDueVerse()), std::nullopt); // lower verses whole
        rounds.verseEnded(65, 2);
        // うか before 65 was read, う now: the first mora ends at 100 ms.
        QCOMPARE(rounds.stopOf(*rounds.takeDueVerse()), 100);
        rounds.setListening(false);
        QCOMPARE(rounds.stopOf({74, 1, 0}), std::nullopt);
    }

    void score_countsTheDrillAndComparesWithTheLastOne()
    {
        const QList<DrillRow> last {row(1, 1, DrillResult::Taken, 400),
                                    row(2, 2, DrillResult::Fault, 100),
                                    row(3, 3, DrillResult::Missed, std::nullopt)};
        const QList<DrillRow> now {row(1, 1, DrillResult::Taken, 300),
                                   row(2, 2, DrillResult::Taken, -50), // before the syllables
                                   row(3, 3, DrillResult::Taken, 900),
                                   row(4, 4, DrillResult::Passed, std::nullopt, true)};
        const DrillScore score = DrillScore::of(now);
        QCOMPARE(score.taken, 3);
        QCOMPARE(score.faults + score.misses, 0);
        QCOMPARE(score.medianMs, 300);
        QCOMPARE(score.bestMs, -50);
        const std::optional<DrillScore::Change> change = DrillScore::lastChange({now, last});
        QVERIFY(change);
        QCOMPARE(change->taken, 2);
        QCOMPARE(change->faults, -1);
        QCOMPARE(change->misses, -1);
        QCOMPARE(change->medianMs, -100);
        QCOMPARE(DrillScore::lastChange({now}), std::nullopt);
        QCOMPARE(DrillScore::of({row(1, 1, DrillResult::Missed, std::nullopt)}).since(score).medianMs,
                 std::nullopt);
    }

    void settings_paceKeptOnlyWhenChanged_andWindowKeptOnScreen()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("QtUtakaze.ini"));
        {
            QSettings file(path, QSettings::IniFormat);
            DrillSettings().save(file);
            QVERIFY(file.childGroups().isEmpty()); // the defaults write nothing
            file.setValue(QStringLiteral("DRILL/BeforeLowerMs"), 99999);
            file.setValue(QStringLiteral("DRILL/BeforeNextMs"), QStringLiteral("soon"));
            file.setValue(QStringLiteral("DRILL/Window"), QStringLiteral("10,20,0,5"));
        }
        QSettings file(path, QSettings::IniFormat);
        DrillSettings drill = DrillSettings::load(file);
        QCOMPARE(drill.beforeLowerMs, DrillSettings::MaxPauseMs);
        QCOMPARE(drill.beforeNextMs, DrillSettings::DefaultBeforeNextMs);
        QVERIFY(drill.window.isNull());
        drill.listening = true;
        drill.window = QRect(-40, 500, 960, 845);
        drill.save(file);
        QCOMPARE(DrillSettings::load(file), drill);

        // Saved on a wider, taller screen; reopened on 1280x720 less a 32 px panel.
        const QRect laptop(0, 32, 1280, 688);
        QCOMPARE(keptOnScreen(drill.window, laptop), QRect(0, 32, 960, 688));
        QCOMPARE(keptOnScreen(QRect(1900, 40, 600, 400), laptop), QRect(680, 40, 600, 400));
        QVERIFY(keptOnScreen({}, laptop).isNull());
    }

    void statistics_weakestFirstAcrossDrills()
    {
        const QList<QList<DrillRow>> drills {
            {row(1, 10, DrillResult::Taken, 300), row(2, 20, DrillResult::Taken, 900),
             row(3, 30, DrillResult::Fault, 100), row(4, 40, DrillResult::Passed, {}, true)},
            {row(1, 10, DrillResult::Taken, 500), row(2, 20, DrillResult::Taken, 700),
             row(3, 30, DrillResult::Taken, 200), row(4, 50, DrillResult::Missed, {}),
             row(5, 10, DrillResult::Taken, -100)},
            {}};
        const DrillStatistics stats(drills);
        const QList<CardDrillStats> cards = stats.cards();
        QCOMPARE(cards.size(), 4); // 40 was only passed
        QCOMPARE(cards.at(0), (CardDrillStats {30, 2, 1, 1, 0, 200}));
        QCOMPARE(cards.at(1), (CardDrillStats {50, 1, 0, 0, 1, std::nullopt}));
        QCOMPARE(cards.at(2), (CardDrillStats {20, 2, 2, 0, 0, 800}));
        QCOMPARE(cards.at(3), (CardDrillStats {10, 3, 3, 0, 0, 300}));
        // All takes: -100 200 300 500 700 900, median 400: 10 is not weak.
        QCOMPARE(stats.weakCards(), (QList<int> {30, 50, 20}));
        QCOMPARE(stats.weakCards(2), (QList<int> {30, 50}));
        QVERIFY(DrillStatistics({}).weakCards().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDrillModels)
#include "tst_drillmodels.moc"
