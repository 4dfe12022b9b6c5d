#include "AppSettings.h"
#include "AudioOutput.h"
#include "FakeAudioDevice.h"
#include "KimarijiChanges.h"
#include "PlaySequenceThread.h"
#include "ReaderInUse.h"
#include "ReadingHistory.h"
#include "ReadingSession.h"
#include "ScopedAppFolder.h"
#include "SequenceThreadEngine.h"
#include "TestData.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// An engine that records what it was asked and reports what the test says.
class FakeEngine : public ReadingEngine
{
public:
    bool output = true;
    bool preambleUpper = false;
    QList<int> cardList; // the standard reading handed over, or
    ReadingPlan plan; // the plan handed over
    QStringList requests;

    bool openOutput() override { return output; }
    bool hasPreambleUpper(int) const override { return preambleUpper; }
    bool busy = false; // still ending another reading: refuses the next
    bool setCardList(int voice, int wait1, int wait2, const QList<int> &cards) override
    {
        if (busy)
            return false;
        requests << QStringLiteral("list %1 %2 %3").arg(voice).arg(wait1).arg(wait2);
        cardList = cards;
        return true;
    }
    bool setPlan(int voice, int wait1, int wait2, const ReadingPlan &newPlan) override
    {
        if (busy)
            return false;
        requests << QStringLiteral("plan %1 %2 %3").arg(voice).arg(wait1).arg(wait2);
        plan = newPlan;
        return true;
    }
    void requestStart() override { requests << QStringLiteral("start"); }
    void requestPause() override { requests << QStringLiteral("pause"); }
    void requestStop() override { requests << QStringLiteral("stop"); }
    void requestNext() override { requests << QStringLiteral("next"); }
    void requestRepeat() override { requests << QStringLiteral("repeat"); }

    // Reports one card as the reading thread would.
    void readCard(int card)
    {
        emit stateChanged(Upper);
        emit upperStarted(card);
        emit upperEnded();
        emit stateChanged(AfterUpper);
        emit lowerStarted(card);
        emit lowerEnded();
        emit stateChanged(AfterLower);
    }
    void end()
    {
        emit sequenceEnded();
        emit stateChanged(Stopped);
    }
};

AppSettings settingsWith(const QList<int> &cards, bool preamble, int deadCards = 0)
{
    AppSettings settings;
    settings.main.setFudaList(cards);
    settings.main.setChkJoka(preamble);
    settings.main.setWait1Time(2);
    settings.main.setWait2Time(4);
    settings.practice.deadCards = deadCards;
    return settings;
}

} // namespace

// The reading session on a fake engine: what it hands over, what it counts
// and records, and what it refuses, without a thread or a sound.
class TestReadingSession : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    FakeEngine engine;
    AppSettings settings;
    QRandomGenerator random {7};
    std::unique_ptr<ReadingSession> session;

    QString historyFolder() const { return folder.filePath(QStringLiteral("history")); }

private slots:
    void init()
    {
        engine.requests.clear();
        engine.output = true;
        engine.preambleUpper = false;
        engine.busy = false;
        session = std::make_unique<ReadingSession>(&engine);
        session->setSettings(&settings);
        session->setVoiceAvailable(true);
        session->setHistoryFolder(historyFolder());
        session->setRandomGenerator(&random);
        QDir(historyFolder()).removeRecursively();
    }

    void start_namesTheCardsWithoutRecordingsBeforeItReads()
    {
        // A reader with every verse of cards 1 to 5 but 2's upper one, and
        // an 8-byte upper verse for 4 (a header at most: it cannot sound).
        ScopedAppFolder app;
        QVERIFY(app.isValid());
        const QString reader = app.filePath(QStringLiteral("voices/r"));
        QVERIFY(QDir().mkpath(reader));
        for (int card = 0; card <= 5; ++card) {
            for (int half = 1; half <= 2; ++half) {
                const QString name = QString::asprintf("r_%03d_%d.ogg", card, half);
                const QByteArray bytes(card == 4 && half == 1 ? 8 : 2048, 'x');
                if (card != 2 || half != 1)
                    QVERIFY(TestData::writeFile(QDir(reader).filePath(name), bytes));
            }
        }
        app.reader.set({reader, QStringLiteral("r")});
        session->setVoices(&app.voices());
        settings = settingsWith({5, 4, 3, 2, 1, 7}, true);
        QSignalSpy gaps(session.get(), &ReadingSession::cardsWithoutRecordings);
        QSignalSpy started(session.get(), &ReadingSession::readingStarted);
        connect(session.get(), &ReadingSession::cardsWithoutRecordings, this,
                [this] { QVERIFY(!engine.requests.contains(QStringLiteral("start"))); });
        session->startOrPause();
        session->setVoices(nullptr);
        QCOMPARE(started.count(), 1);
        QCOMPARE(gaps.count(), 1);
        QCOMPARE(gaps.first().first().value<QList<int>>(), (QList<int> {2, 4, 7}));
        QVERIFY(engine.requests.contains(QStringLiteral("start"))); // it reads all the same
        session->stop();
        engine.end();
    }

    void classicReading_countsFollowsTheEngineAndLeavesItsHistory()
    {
        settings = settingsWith({1, 2, 3}, true);
        QSignalSpy playing(session.get(), &ReadingSession::playingChanged);
        QSignalSpy cardRead(session.get(), &ReadingSession::cardRead);
        QSignalSpy upper(session.get(), &ReadingSession::upperVerseStarted);
        QSignalSpy ended(session.get(), &ReadingSession::readingEnded);

        session->startOrPause();
        QCOMPARE(engine.requests, QStringList({"list 0 2 4", "start"}));
        QCOMPARE(engine.cardList.first(), 0); // the preamble first
        QCOMPARE(QSet<int>(engine.cardList.begin() + 1, engine.cardList.end()),
                 QSet<int>({1, 2, 3}));
        QCOMPARE(session->playList(), engine.cardList);
        QCOMPARE(session->cardCount(), 3);
        // Reading, but not playing until the engine says so.
        QVERIFY(session->isReading());
        QVERIFY(!session->isPlaying());
        QVERIFY(!session->canStart());

        emit engine.sequenceStarted();
        emit engine.lowerStarted(0);
        emit engine.lowerEnded();
        const QList<int> order = engine.cardList.mid(1);
        engine.readCard(order.at(0));
        QVERIFY(session->isPlaying());
        QCOMPARE(playing.count(), 1);

        // Pause and resume: the upper verse read again is not counted again.
        session->startOrPause();
        emit engine.stateChanged(ReadingEngine::Paused);
        QVERIFY(!session->isPlaying());
        session->startOrPause();
        QCOMPARE(engine.requests.mid(2), QStringList({"pause", "start"}));
        engine.readCard(order.at(1));
        engine.readCard(order.at(1));
        engine.readCard(order.at(2));
        QCOMPARE(session->playCount(), 3);
        QCOMPARE(session->lastCard(), order.at(2));
        QCOMPARE(cardRead.count(), 3);
        QCOMPARE(upper.count(), 4);
        engine.end();
        QCOMPARE(ended.count(), 1);
        QVERIFY(!session->isReading());
        QVERIFY(!session->isPlaying());

        const ReadingHistory history(historyFolder());
        QCOMPARE(history.files().size(), 1);
        const QList<HistoryEntry> rows =
            ReadingHistory::load(history.filePath(history.files().first()));
        QCOMPARE(rows.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(rows.at(i).card, order.at(i));
            QCOMPARE(rows.at(i).kimariji.size(), cardRead.at(i).at(1).toInt());
            QVERIFY(!rows.at(i).dead);
        }
        // The last card read has only itself left: one kana decides it.
        QCOMPARE(cardRead.at(2).at(1).toInt(), 1);
    }

    // Endless: a round read to its end is kept and the cards are shuffled
    // into the next round (no preamble, same hand-over); a stop ends it all,
    // also between two rounds while the engine is still ending the last one.
    void endless_goesOnRoundAfterRoundUntilStopped()
    {
        settings = settingsWith({1, 2, 3}, true);
        settings.practice.endless = true;
        QSignalSpy rounds(session.get(), &ReadingSession::roundStarted);
        QSignalSpy ended(session.get(), &ReadingSession::readingEnded);
        const ReadingHistory history(historyFolder());
        const auto readRound = [this] {
            for (int card : session->playList())
                engine.readCard(card);
        };
        session->startOrPause();
        readRound();
        engine.end();
        QCOMPARE(rounds.count(), 1);
        QCOMPARE(session->round(), 2);
        QCOMPARE(engine.requests, QStringList({"list 0 2 4", "start", "list 0 2 4", "start"}));
        QCOMPARE(QSet<int>(engine.cardList.begin(), engine.cardList.end()), QSet<int>({1, 2, 3}));
        QCOMPARE(history.files().size(), 1);

        engine.readCard(engine.cardList.first());
        session->stop();
        engine.end();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(history.stoppedEarly().size(), 1); // the second round, its one card kept

        session->startOrPause();
        readRound();
        engine.busy = true;
        engine.end(); // the next round waits for the engine's idle report
        engine.busy = false;
        emit engine.stateChanged(ReadingEngine::Stopped);
        QCOMPARE(rounds.count(), 2);
        readRound();
        engine.busy = true;
        engine.end();
        session->stop(); // between rounds: the waiting one never starts
        engine.busy = false;
        emit engine.stateChanged(ReadingEngine::Stopped);
        QCOMPARE(ended.count(), 2);
        QCOMPARE(rounds.count(), 2);
        QCOMPARE(history.files().size(), 4);
    }

    void practiceAndDeadCards_handOverAPlanAndMarkTheDead()
    {
        settings = settingsWith({1, 2}, true, 2);
        settings.practice.style = ReadingStyle::Competitive;
        engine.preambleUpper = true;
        session->startOrPause();
        QCOMPARE(engine.requests, QStringList({"plan 0 2 4", "start"}));
        QCOMPARE(session->cardCount(), 4);
        QCOMPARE(session->deadCards().size(), 2);
        QCOMPARE(engine.plan.at(0).card, 0);
        QCOMPARE(engine.plan.at(0).half, 1); // the preamble read in full

        const QList<int> order = session->playList().mid(1);
        for (int card : order)
            engine.readCard(card);
        engine.end();
        const ReadingHistory history(historyFolder());
        const QList<HistoryEntry> rows =
            ReadingHistory::load(history.filePath(history.files().first()));
        QCOMPARE(rows.size(), 4);
        int dead = 0;
        for (const HistoryEntry &row : rows) {
            QCOMPARE(row.dead, session->deadCards().contains(row.card));
            dead += row.dead ? 1 : 0;
        }
        QCOMPARE(dead, 2);
    }

    void refusals_leaveTheEngineAlone()
    {
        QSignalSpy refused(session.get(), &ReadingSession::startRefused);
        settings = settingsWith({}, false);
        session->startOrPause(); // nothing to read
        engine.output = false;
        settings = settingsWith({5}, false);
        session->startOrPause(); // no output
        QCOMPARE(refused.count(), 2);
        QCOMPARE(refused.at(0).at(0).value<ReadingSession::Refusal>(),
                 ReadingSession::Refusal::NothingSelected);
        QCOMPARE(refused.at(1).at(0).value<ReadingSession::Refusal>(),
                 ReadingSession::Refusal::NoOutput);
        session->setVoiceAvailable(false);
        engine.output = true;
        session->startOrPause();
        QVERIFY(!session->readInOrder({5}, {}));
        session->setVoiceAvailable(true);
        QVERIFY(!session->readInOrder({}, {}));
        // Requests outside a reading go nowhere.
        session->stop();
        session->next();
        session->repeat();
        QCOMPARE(engine.requests, QStringList());

        QVERIFY(session->readInOrder({9, 4}, {4}));
        QVERIFY(!session->readInOrder({1}, {})); // one reading at a time
        QCOMPARE(session->playList(), QList<int>({9, 4}));
        session->next();
        session->repeat();
        session->stop();
        QCOMPARE(engine.requests.mid(2), QStringList({"next", "repeat", "stop"}));
    }

    void cardRead_listsShortenedSyllables_stoppedReadingMarked()
    {
        settings = settingsWith({}, false);
        QSignalSpy cardRead(session.get(), &ReadingSession::cardRead);
        QVERIFY(session->readInOrder({65, 74, 3}, {3}));
        engine.readCard(65); // 74 うか -> う, but a dead card is unread too
        engine.readCard(3);
        engine.end(); // 74 never read: stopped early
        QCOMPARE(cardRead.count(), 2);
        const auto changes = cardRead.at(0).at(2).value<QList<KimarijiChange>>();
        QCOMPARE(changes, QList<KimarijiChange>({{74, 2, 1}}));
        QVERIFY(cardRead.at(1).at(2).value<QList<KimarijiChange>>().isEmpty());
        const ReadingHistory history(historyFolder());
        QCOMPARE(history.stoppedEarly(), QSet<QString>({history.files().first()}));
        // The history lists the changes the live reading showed, though 74
        // is in none of its rows.
        const QString name = history.files().first();
        const QList<QList<KimarijiChange>> kept = KimarijiChanges::ofHistory(
            session->record().kimariji(), ReadingHistory::load(history.filePath(name)),
            history.startOf(name).value());
        QCOMPARE(kept, QList<QList<KimarijiChange>>({{{74, 2, 1}}, {}}));

        QVERIFY(session->readInOrder({65}, {}));
        engine.readCard(65);
        engine.end();
        QCOMPARE(history.stoppedEarly().size(), 1); // read to the end: no mark
        QVERIFY(history.remove(name));
        QVERIFY(!history.startOf(name)); // forgotten with the reading
    }

    void order_comesFromTheSecondNotTheGenerator()
    {
        // The generator draws dead cards only: two of them give one order
        // within one second (of two pairs of starts, one pair shares its second).
        settings = settingsWith({1, 2, 3, 4, 5, 6, 7, 8}, false);
        QRandomGenerator other {99};
        QList<QList<int>> orders;
        for (QRandomGenerator *generator : {&random, &other, &random, &other}) {
            session->setRandomGenerator(generator);
            session->startOrPause();
            orders << session->playList();
            engine.end();
        }
        QVERIFY(orders.at(0) == orders.at(1) || orders.at(2) == orders.at(3));
    }

    void engineStillEndingTheSample_startWaitsForItsEnd()
    {
        settings = settingsWith({5}, false);
        QSignalSpy ended(session.get(), &ReadingSession::readingEnded);
        engine.busy = true;
        session->startOrPause();
        QVERIFY(!session->isReading() && engine.requests.isEmpty());
        engine.busy = false;
        engine.end(); // the sample's: the reading begins after it
        QCOMPARE(engine.requests, QStringList({"list 0 2 4", "start"}));
        QVERIFY(session->isReading());
        QCOMPARE(ended.count(), 0);
        engine.end();
        // A stop while waiting gives the start up.
        engine.busy = true;
        session->startOrPause();
        session->stop();
        engine.busy = false;
        engine.end();
        QVERIFY(!session->isReading());
    }

    void threadEngine_refusesWhileAReadingsEndIsOnItsWay()
    {
        ScopedAppFolder app;
        // A device without sound: opening and closing the system's took a
        // quarter of a second, and nothing here is heard.
        AudioOutput output([] { return std::make_unique<FakeAudioDevice>(); });
        // Never started: it only reports what the test says.
        PlaySequenceThread thread(0, output, app.voices(), app.shaping);
        SequenceThreadEngine threadEngine(&thread, app.voices());
        emit thread.SequencStartded(); // the options dialog's sample
        QVERIFY(!threadEngine.setCardList(0, 1, 3, {0}));
        QVERIFY(!threadEngine.setPlan(0, 1, 3, ReadingPlan {ReadingStep {0, 2, 0}}));
        emit thread.SequenceEnded(0);
        QVERIFY(threadEngine.setCardList(0, 1, 3, {0}));
        QVERIFY(!threadEngine.setCardList(0, 1, 3, {}));
    }

    void reportsOutsideAReading_areNotOne()
    {
        // The options dialog's sample uses the same engine.
        QSignalSpy any(session.get(), &ReadingSession::readingEnded);
        QSignalSpy cards(session.get(), &ReadingSession::upperVerseStarted);
        QSignalSpy playing(session.get(), &ReadingSession::playingChanged);
        emit engine.sequenceStarted();
        engine.readCard(3);
        engine.end();
        QCOMPARE(any.count() + cards.count() + playing.count(), 0);
        QVERIFY(!QDir(historyFolder()).exists());
    }

    void quitOrUnwritableFolder_keepOrReport()
    {
        settings = settingsWith({8}, false);
        session->startOrPause();
        engine.readCard(8);
        session->endOnQuit();
        QVERIFY(!session->isReading());
        QCOMPARE(ReadingHistory(historyFolder()).files().size(), 1);

        QVERIFY(writeBlocker());
        QSignalSpy notSaved(session.get(), &ReadingSession::historyNotSaved);
        QSignalSpy ended(session.get(), &ReadingSession::readingEnded);
        session->setHistoryFolder(folder.filePath(QStringLiteral("blocker/history")));
        session->startOrPause();
        engine.readCard(8);
        engine.end();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(notSaved.count(), 1);
    }

private:
    // A file where the history folder's parent should be.
    bool writeBlocker()
    {
        QFile file(folder.filePath(QStringLiteral("blocker")));
        return file.open(QIODevice::WriteOnly);
    }
};

QTEST_GUILESS_MAIN(TestReadingSession)
#include "tst_readingsession.moc"
