#include "ReadingPlan.h"
#include "SequenceRig.h"

#include <QElapsedTimer>

#include <functional>

// The reading thread's handling of requests, in virtual time except the
// wiring of quitting and waking, which is in real time: requests and changes
// it must ignore, quitting, a plan with a manual take, and loops that must
// wake at once.
class TestSequenceRequests : public SequenceRig
{
    Q_OBJECT

public:
    TestSequenceRequests()
        : SequenceRig(true)
    {
    }

private slots:
    void requestsWhileIdle_areIgnored();
    void changesDuringReading_areIgnored();
    void quitDuringReading_endsOnceAndQuickly();
    void quitWhileIdle_emitsNothing();
    void anyPlan_manualTakeWithRepeatAndNext();
    void requestsAfterLongIdle_takeEffectAtOnce();
};

void TestSequenceRequests::requestsWhileIdle_areIgnored()
{
    makeThread(shortDir);
    seq->RequestPause();
    seq->RequestStop();
    seq->RequestStart(); // no list yet
    QList<int> empty;
    seq->SetFudaList(&empty);
    seq->SetFudaList(nullptr);
    seq->RequestStart();
    pass(500);
    QCOMPARE(seq->GetState(), int(Seq::STAT_STOP));
    QVERIFY(log->events.isEmpty());

    // None of it got in the way of the next reading.
    startReading({7}, 0, 1, 1);
    waitFor(End);
    QCOMPARE(log->names(), plainReading({7}));
}

void TestSequenceRequests::changesDuringReading_areIgnored()
{
    makeThread(longDir); // has no second voice: a switch to it would read 100 ms verses
    startReading({7, 12}, 0, 1, 1);
    waitFor(m1s(7));
    QList<int> other {12};
    seq->SetParameters(1, 6, 6);
    seq->SetFudaList(&other);
    seq->RequestStart();

    waitFor(m2s(7));
    seq->RequestPause();
    QVERIFY(passUntil([&] { return seq->GetState() == int(Seq::STAT_PAUSE); }, 1000));
    seq->SetParameters(1, 6, 6);
    seq->SetFudaList(&other);
    seq->RequestPause();
    seq->RequestStart();
    waitFor(End, 0, 20000);

    QCOMPARE(log->names(),
             (QStringList {Started, m1s(7), M1E, m2s(7)} + plainReading({7, 12}).mid(3)));
    // Same voice (whole verses) and same pauses (1 s) as at the start.
    const qint64 lower = log->time(M2E) - log->time(m2s(7), 1);
    QVERIFY2(lower >= 850, qPrintable(QString::number(lower)));
    const qint64 wait1 = log->time(m2s(7)) - log->time(M1E);
    const qint64 wait2 = log->time(m1s(12)) - log->time(M2E);
    QVERIFY2(wait1 <= 1800 && wait2 <= 1800,
             qPrintable(QStringLiteral("%1 %2").arg(wait1).arg(wait2)));
}

void TestSequenceRequests::quitDuringReading_endsOnceAndQuickly()
{
    useRealTime();
    makeThread(longDir);
    startReading({7, 12}, 0, 1, 1);
    waitFor(m1s(7));
    QElapsedTimer clock;
    clock.start();
    seq->RequestQuit();
    QVERIFY(seq->wait(2000));
    QVERIFY2(clock.elapsed() <= 300, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(passUntil([this] { return !musicPlaying(); }, 300));
    waitFor(End, 0, 1000);
    pass(300); // the player's end of the verse cut short is not reported
    QCOMPARE(log->names(), (QStringList {Started, m1s(7), End}));
}

void TestSequenceRequests::quitWhileIdle_emitsNothing()
{
    makeThread(shortDir);
    startReading({7}, 0, 1, 1);
    waitFor(End); // idle again after a reading
    seq->RequestQuit();
    QVERIFY(seq->wait(2000));
    pass(200);
    QCOMPARE(log->names(), plainReading({7}));
}

// A plan given as it is: a manual take waits for Next, Repeat reads the
// verse again, and each verse's plan index comes just before its start.
void TestSequenceRequests::anyPlan_manualTakeWithRepeatAndNext()
{
    makeThread(shortDir);
    EventLog *events = log.get();
    connect(seq.get(), &Seq::StepStarted, events,
            [events](int step) { events->add(QStringLiteral("STEP %1").arg(step)); });
    PlanOptions options;
    options.advance = AdvanceMode::Manual;
    const ReadingPlan plan = ReadingPlanBuilder::build({7}, options);
    QVERIFY(seq->SetPlan(plan));
    seq->RequestStart();
    waitFor(M1E);
    QCOMPARE(seq->GetState(), int(Seq::STAT_WAIT1));
    QVERIFY(!seq->SetPlan(plan)); // not during a reading
    QCOMPARE(seq->GetPlan(), plan);
    pass(1500); // the take has no length
    QCOMPARE(seq->GetState(), int(Seq::STAT_WAIT1));

    seq->RequestRepeat();
    waitFor(M1E, 1);
    seq->RequestNext();
    waitFor(End);
    QCOMPARE(log->names(),
             (QStringList {Started, "STEP 0", m1s(7), M1E, "STEP 0", m1s(7), M1E, "STEP 1", m2s(7),
                           M2E, End}));
    QVERIFY(seq->GetPlan().isEmpty());
}

// Idle and paused loops sleep until woken; a request must still reach
// both of them at once, in real time.
void TestSequenceRequests::requestsAfterLongIdle_takeEffectAtOnce()
{
    // Lets the loops fall asleep (longer than any pass a loop could make),
    // makes the request, and checks that the event it should cause comes
    // within 250 ms.
    const auto verifyPromptAfterQuiet = [&](const std::function<void()> &request,
                                            const QString &event, int occurrence) {
        pass(150);
        const qint64 asked = log->now();
        request();
        waitFor(event, occurrence, 2000);
        const qint64 delay = log->time(event, occurrence) - asked;
        QVERIFY2(delay <= 250, qPrintable(QStringLiteral("%1 after %2 ms").arg(event).arg(delay)));
    };
    useRealTime();
    makeThread(shortDir);
    // No pause after the upper verse: its length is not what is tested here.
    verifyPromptAfterQuiet([this] { startReading({7}, 0, 0, 0); }, m1s(7), 0);

    seq->RequestPause();
    QVERIFY(passUntil([&] { return seq->GetState() == int(Seq::STAT_PAUSE); }, 1000));
    verifyPromptAfterQuiet([this] { seq->RequestStart(); }, m1s(7), 1);
    waitFor(End);

    // After a reading has ended, the next one starts as promptly.
    verifyPromptAfterQuiet([this] { startReading({12}, 0, 1, 1); }, m1s(12), 0);
    seq->RequestStop();
    waitFor(End, 1);
}

QTEST_GUILESS_MAIN(TestSequenceRequests)
#include "tst_sequencerequests.moc"
