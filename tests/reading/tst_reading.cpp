#include "DeadCardDraw.h"
#include "ReadingOrder.h"
#include "ReadingPlan.h"
#include "ReadingSequence.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

using Action = ReadingSequence::Action;
using Phase = ReadingSequence::Phase;

namespace {

ReadingStep step(int card, int half, int pause, bool take = false, bool counted = true)
{
    ReadingStep s;
    s.card = card;
    s.half = half;
    s.pauseSeconds = pause;
    s.take = take;
    s.counted = counted;
    return s;
}

// "card.half" of each step, e.g. "0.2 7.1 7.2".
QString shape(const ReadingPlan &plan)
{
    QStringList parts;
    for (const ReadingStep &s : plan)
        parts << QStringLiteral("%1.%2").arg(s.card).arg(s.half);
    return parts.join(QLatin1Char(' '));
}

// Drives a sequence as a player and a clock would: every verse ends and every
// timed pause runs out, until the reading ends or `limit` verses were played.
// Returns the steps played, in order.
QList<int> runToEnd(ReadingSequence &sequence, ReadingSequence::Actions actions, int limit = 100)
{
    QList<int> played;
    while (!actions.isEmpty() && played.size() < limit) {
        const Action last = actions.last();
        if (last.kind == Action::PlayVerse) {
            played.append(last.step);
            actions = sequence.verseEnded();
        } else if (last.kind == Action::CountPause) {
            actions = last.untilNext ? sequence.next() : sequence.pauseElapsed();
        } else {
            break;
        }
    }
    return played;
}

} // namespace

class TestReading : public QObject
{
    Q_OBJECT

private slots:
    void standardPlan();
    void stylesAndAdvance_data();
    void stylesAndAdvance();
    void deadCardsAndCounting();

    void walksEveryStepInOrder();
    void pauseAndResume_data();
    void pauseAndResume();
    void stopEndsFromEveryPhase();
    void requestsThatDoNotFit_doNothing();
    void manualTake_waitsForNext();
    void nextAndRepeat();

    void deadCardDraw();
    void readingOrder();
};

void TestReading::standardPlan()
{
    const ReadingPlan plan = ReadingPlanBuilder::standard({0, 12, 34}, 5, 2);
    const ReadingPlan expected {step(0, 2, 2, false, false), step(12, 1, 5, true), step(12, 2, 2),
                                step(34, 1, 5, true), step(34, 2, ReadingStep::NoPause)};
    QCOMPARE(plan, expected);

    // Without the preamble, and a duplicate adjacent card is read twice.
    QCOMPARE(shape(ReadingPlanBuilder::standard({7, 7}, 1, 1)), QStringLiteral("7.1 7.2 7.1 7.2"));
    QCOMPARE(ReadingPlanBuilder::standard({0}, 1, 1),
             ReadingPlan {step(0, 2, ReadingStep::NoPause, false, false)});
    QVERIFY(ReadingPlanBuilder::standard({}, 1, 1).isEmpty());
    // The default options build the standard plan.
    QCOMPARE(ReadingPlanBuilder::build({0, 3, 9}, PlanOptions {}),
             ReadingPlanBuilder::standard({0, 3, 9}, 10, 3));
}

void TestReading::stylesAndAdvance_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("upperAvailable");
    QTest::addColumn<bool>("manual");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QList<int>>("pauses");

    constexpr int U = ReadingStep::UntilNext;
    constexpr int E = ReadingStep::NoPause;
    QTest::newRow("competitive, full preamble")
        << int(ReadingStyle::Competitive) << true << false
        << QStringLiteral("0.1 0.2 0.2 5.1 5.2 6.1 6.2") << QList<int> {3, 3, 3, 8, 3, 8, E};
    QTest::newRow("competitive, no preamble upper verse: as standard")
        << int(ReadingStyle::Competitive) << false << false << QStringLiteral("0.2 5.1 5.2 6.1 6.2")
        << QList<int> {3, 8, 3, 8, E};
    QTest::newRow("beginner") << int(ReadingStyle::Beginner) << true << false
                              << QStringLiteral("0.2 5.1 5.2 5.2 6.1 6.2 6.2")
                              << QList<int> {3, 1, 8, 3, 1, 8, E};
    QTest::newRow("standard, manual take")
        << int(ReadingStyle::Standard) << true << true << QStringLiteral("0.2 5.1 5.2 6.1 6.2")
        << QList<int> {3, U, 3, U, E};
    QTest::newRow("beginner, manual take after the first lower verse")
        << int(ReadingStyle::Beginner) << false << true
        << QStringLiteral("0.2 5.1 5.2 5.2 6.1 6.2 6.2") << QList<int> {3, 1, U, 3, 1, U, E};
}

void TestReading::stylesAndAdvance()
{
    QFETCH(int, style);
    QFETCH(bool, upperAvailable);
    QFETCH(bool, manual);
    QFETCH(QString, shape);
    QFETCH(QList<int>, pauses);

    PlanOptions options;
    options.style = static_cast<ReadingStyle>(style);
    options.preambleUpperAvailable = upperAvailable;
    options.advance = manual ? AdvanceMode::Manual : AdvanceMode::Auto;
    options.wait1Seconds = 8;
    options.wait2Seconds = 3;
    const ReadingPlan plan = ReadingPlanBuilder::build({0, 5, 6}, options);
    QCOMPARE(::shape(plan), shape);
    QList<int> planPauses;
    for (const ReadingStep &s : plan)
        planPauses << s.pauseSeconds;
    QCOMPARE(planPauses, pauses);
    for (const ReadingStep &s : plan) {
        QCOMPARE(s.counted, s.card != 0);
        QVERIFY(!s.take || s.card != 0);
    }
}

void TestReading::deadCardsAndCounting()
{
    PlanOptions options;
    options.style = ReadingStyle::Beginner;
    options.deadCards = {40, 41};
    const ReadingPlan plan = ReadingPlanBuilder::build({0, 40, 7, 41}, options);
    for (const ReadingStep &s : plan)
        QCOMPARE(s.dead, s.card == 40 || s.card == 41);
    QList<int> upperVerses;
    for (const ReadingStep &s : plan) {
        if (s.card != 0 && s.half == 1)
            upperVerses.append(s.card);
    }
    QCOMPARE(upperVerses, (QList<int> {40, 7, 41}));
    QCOMPARE(ReadingPlanBuilder::countedCards(plan), 3);
    QCOMPARE(ReadingPlanBuilder::countedCards(ReadingPlanBuilder::standard({0}, 1, 1)), 0);
}

void TestReading::walksEveryStepInOrder()
{
    ReadingSequence sequence;
    QVERIFY(sequence.setPlan(ReadingPlanBuilder::standard({0, 4, 4, 9}, 2, 1)));
    QCOMPARE(sequence.phase(), Phase::Idle);

    ReadingSequence::Actions actions = sequence.start();
    QCOMPARE(actions, (ReadingSequence::Actions {Action {Action::PlayVerse, 0}}));
    actions = sequence.verseEnded();
    QCOMPARE(actions, ReadingSequence::Actions {(Action {Action::CountPause, 0, 1})});
    QCOMPARE(sequence.phase(), Phase::Pause);
    actions = sequence.pauseElapsed();
    QCOMPARE(sequence.currentHalf(), 1);
    QCOMPARE(runToEnd(sequence, actions), (QList<int> {1, 2, 3, 4, 5, 6}));
    QCOMPARE(sequence.phase(), Phase::Idle);
    QVERIFY(sequence.plan().isEmpty()); // every reading needs a plan of its own
    QVERIFY(sequence.start().isEmpty());

    // A pause of 0 s (or less) is still a pause, counted as 0.
    ReadingSequence zero;
    zero.setPlan(ReadingPlanBuilder::standard({1, 2}, -4, 0));
    zero.start();
    QCOMPARE(zero.verseEnded(), ReadingSequence::Actions {(Action {Action::CountPause, 0, 0})});
}

void TestReading::pauseAndResume_data()
{
    QTest::addColumn<QList<int>>("playList");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("versesBefore"); // verses that end before the pause
    QTest::addColumn<bool>(
        "inPause"); // pause taken in the pause after them, else in the next verse
    QTest::addColumn<int>("resumedStep");
    QTest::addColumn<QList<int>>("rest"); // the steps read after the resumed one

    const int standard = int(ReadingStyle::Standard);
    const int beginner = int(ReadingStyle::Beginner);
    // Standard plan of [0, 4, 9]: 0:(0,2) 1:(4,1) 2:(4,2) 3:(9,1) 4:(9,2)
    QTest::newRow("in the preamble: the preamble again")
        << QList<int> {0, 4, 9} << standard << 0 << false << 0 << QList<int> {1, 2, 3, 4};
    QTest::newRow("in the pause after the preamble: the preamble again")
        << QList<int> {0, 4, 9} << standard << 1 << true << 0 << QList<int> {1, 2, 3, 4};
    QTest::newRow("in an upper verse: that upper verse again")
        << QList<int> {0, 4, 9} << standard << 1 << false << 1 << QList<int> {2, 3, 4};
    QTest::newRow("after an upper verse: the lower verse at once")
        << QList<int> {0, 4, 9} << standard << 2 << true << 2 << QList<int> {3, 4};
    QTest::newRow("in a lower verse: that lower verse again")
        << QList<int> {0, 4, 9} << standard << 2 << false << 2 << QList<int> {3, 4};
    QTest::newRow("after a lower verse: that lower verse again, then on")
        << QList<int> {0, 4, 9} << standard << 3 << true << 2 << QList<int> {3, 4};
    QTest::newRow("duplicate adjacent card: the second reading's upper verse")
        << QList<int> {4, 4} << standard << 2 << false << 2 << QList<int> {3};
    // Beginner plan of [4, 9]: 0:(4,1) 1:(4,2) 2:(4,2) 3:(9,1) 4:(9,2) 5:(9,2)
    QTest::newRow("beginner, in the gap after the upper verse: the lower verse at once")
        << QList<int> {4, 9} << beginner << 1 << true << 1 << QList<int> {2, 3, 4, 5};
    QTest::newRow("beginner, in the take: that lower verse again")
        << QList<int> {4, 9} << beginner << 2 << true << 1 << QList<int> {2, 3, 4, 5};
    QTest::newRow("beginner, in the repeated lower verse: it again")
        << QList<int> {4, 9} << beginner << 2 << false << 2 << QList<int> {3, 4, 5};
    QTest::newRow("beginner, after the repeated lower verse: it again")
        << QList<int> {4, 9} << beginner << 3 << true << 2 << QList<int> {3, 4, 5};
}

void TestReading::pauseAndResume()
{
    QFETCH(QList<int>, playList);
    QFETCH(int, style);
    QFETCH(int, versesBefore);
    QFETCH(bool, inPause);
    QFETCH(int, resumedStep);
    QFETCH(QList<int>, rest);

    PlanOptions options;
    options.style = static_cast<ReadingStyle>(style);
    ReadingSequence sequence;
    QVERIFY(sequence.setPlan(ReadingPlanBuilder::build(playList, options)));
    ReadingSequence::Actions actions = sequence.start();
    for (int i = 0; i < versesBefore; ++i) {
        actions = sequence.verseEnded();
        if (i + 1 < versesBefore || !inPause)
            actions = sequence.pauseElapsed();
    }
    QCOMPARE(sequence.phase(), inPause ? Phase::Pause : Phase::Verse);

    const ReadingSequence::Actions paused = sequence.pause();
    QCOMPARE(sequence.phase(), Phase::Paused);
    QCOMPARE(paused.isEmpty(), inPause);
    if (!inPause)
        QCOMPARE(paused.first().kind, Action::CancelVerse);
    // Nothing reaches a paused reading but a resume or a stop.
    QVERIFY(sequence.verseEnded().isEmpty());
    QVERIFY(sequence.pauseElapsed().isEmpty());
    QVERIFY(sequence.pause().isEmpty());

    actions = sequence.start();
    QCOMPARE(actions, ReadingSequence::Actions {(Action {Action::PlayVerse, resumedStep})});
    QCOMPARE(runToEnd(sequence, actions).mid(1), rest);
    QCOMPARE(sequence.phase(), Phase::Idle);
}

void TestReading::stopEndsFromEveryPhase()
{
    const ReadingPlan plan = ReadingPlanBuilder::standard({0, 1, 2}, 1, 1);
    const ReadingSequence::Actions ended {Action {Action::Ended}};
    for (const Phase phase : {Phase::Verse, Phase::Pause, Phase::Paused}) {
        ReadingSequence sequence;
        sequence.setPlan(plan);
        sequence.start();
        if (phase != Phase::Verse)
            sequence.verseEnded();
        if (phase == Phase::Paused)
            sequence.pause();
        QCOMPARE(sequence.phase(), phase);
        ReadingSequence::Actions expected = ended;
        if (phase == Phase::Verse)
            expected.prepend(Action {Action::CancelVerse, 0});
        QCOMPARE(sequence.stop(), expected);
        QCOMPARE(sequence.phase(), Phase::Idle);
        QCOMPARE(sequence.currentStep(), -1);
        QVERIFY(sequence.stop().isEmpty());
        QVERIFY(sequence.start().isEmpty()); // the plan went with the reading
    }
}

void TestReading::requestsThatDoNotFit_doNothing()
{
    ReadingSequence sequence;
    QVERIFY(!sequence.setPlan({}));
    for (auto input : {&ReadingSequence::start, &ReadingSequence::pause, &ReadingSequence::stop,
                       &ReadingSequence::verseEnded, &ReadingSequence::pauseElapsed,
                       &ReadingSequence::next, &ReadingSequence::repeat})
        QVERIFY((sequence.*input)().isEmpty());

    QVERIFY(sequence.setPlan(ReadingPlanBuilder::standard({1, 2}, 1, 1)));
    sequence.start();
    QVERIFY(!sequence.setPlan(ReadingPlanBuilder::standard({3}, 1, 1))); // not during a reading
    QVERIFY(sequence.start().isEmpty()); // a second start
    QVERIFY(sequence.pauseElapsed().isEmpty()); // a late clock during a verse
    sequence.verseEnded();
    QVERIFY(sequence.verseEnded().isEmpty()); // a late end during a pause
    QCOMPARE(sequence.plan().first().card, 1);
}

void TestReading::manualTake_waitsForNext()
{
    PlanOptions options;
    options.advance = AdvanceMode::Manual;
    ReadingSequence sequence;
    sequence.setPlan(ReadingPlanBuilder::build({0, 6, 8}, options));
    sequence.start();
    sequence.verseEnded();
    sequence.pauseElapsed(); // after the preamble: timed
    QCOMPARE(sequence.currentStep(), 1);
    QCOMPARE(sequence.verseEnded(),
             ReadingSequence::Actions {(Action {Action::CountPause, 1, 0, true})});
    for (int i = 0; i < 1000; ++i)
        QVERIFY(sequence.pauseElapsed().isEmpty());
    QCOMPARE(sequence.phase(), Phase::Pause);
    QCOMPARE(sequence.next(), ReadingSequence::Actions {(Action {Action::PlayVerse, 2})});
    // The pause after the lower verse stays timed.
    QCOMPARE(sequence.verseEnded(), ReadingSequence::Actions {(Action {Action::CountPause, 2, 3})});
    QCOMPARE(sequence.pauseElapsed(), ReadingSequence::Actions {(Action {Action::PlayVerse, 3})});
}

void TestReading::nextAndRepeat()
{
    // Standard plan of [0, 4, 9]: 0:(0,2) 1:(4,1) 2:(4,2) 3:(9,1) 4:(9,2)
    ReadingSequence sequence;
    sequence.setPlan(ReadingPlanBuilder::standard({0, 4, 9}, 10, 3));
    sequence.start();
    QVERIFY(sequence.next().isEmpty()); // Next during a verse: nothing
    QCOMPARE(sequence.repeat(),
             (ReadingSequence::Actions {Action {Action::CancelVerse, 0},
                                        Action {Action::PlayVerse, 0}}));
    sequence.verseEnded();
    QCOMPARE(sequence.next(),
             ReadingSequence::Actions {(Action {Action::PlayVerse, 1})}); // a timed pause ends now
    sequence.verseEnded();
    // Repeat in the take: the upper verse again, then the take again, then on.
    QCOMPARE(sequence.repeat(), ReadingSequence::Actions {(Action {Action::PlayVerse, 1})});
    QCOMPARE(sequence.verseEnded(),
             ReadingSequence::Actions {(Action {Action::CountPause, 1, 10})});
    sequence.pauseElapsed();
    sequence.verseEnded();
    // Repeat after a lower verse: that lower verse again.
    QCOMPARE(sequence.repeat(), ReadingSequence::Actions {(Action {Action::PlayVerse, 2})});
    QCOMPARE(runToEnd(sequence, {Action {Action::PlayVerse, 2}}), (QList<int> {2, 3, 4}));

    // While paused, Next and Repeat wait for the resume.
    ReadingSequence paused;
    paused.setPlan(ReadingPlanBuilder::standard({4}, 1, 1));
    paused.start();
    paused.pause();
    QVERIFY(paused.next().isEmpty());
    QVERIFY(paused.repeat().isEmpty());
    QCOMPARE(paused.phase(), Phase::Paused);
}

void TestReading::deadCardDraw()
{
    QRandomGenerator random(1234);
    const QList<int> selected {1, 2, 3, 50, 100};
    const QSet<int> selectedSet(selected.cbegin(), selected.cend());
    QSet<QList<int>> distinct;
    for (int round = 0; round < 50; ++round) {
        const QList<int> drawn = DeadCardDraw::draw(selected, 7, random);
        QCOMPARE(drawn.size(), 7);
        const QSet<int> drawnSet(drawn.cbegin(), drawn.cend());
        QCOMPARE(drawnSet.size(), 7); // each card once
        QVERIFY(!drawnSet.intersects(selectedSet));
        for (int card : drawn)
            QVERIFY(card >= 1 && card <= 100);
        distinct.insert(drawn);
    }
    QVERIFY(distinct.size() > 40); // drawn at random, not the same few

    QVERIFY(DeadCardDraw::draw(selected, 0, random).isEmpty());
    QVERIFY(DeadCardDraw::draw(selected, -3, random).isEmpty());
    QList<int> all = DeadCardDraw::draw(selected, 100, random);
    QCOMPARE(all.size(), 95);
    std::sort(all.begin(), all.end());
    QCOMPARE(all.first(), 4);
    QCOMPARE(all.last(), 99);
    QList<int> everything;
    for (int card = 1; card <= 100; ++card)
        everything << card;
    QVERIFY(DeadCardDraw::draw(everything, 5, random).isEmpty());
}

void TestReading::readingOrder()
{
    QRandomGenerator random(7);
    const QList<int> selected {9, 3, 3, 41};
    const ReadingSetup setup = ReadingOrder::shuffled(selected, 2, true, random);
    QCOMPARE(setup.playList.first(), 0);
    QCOMPARE(setup.cardCount, 6);
    QCOMPARE(setup.playList.size(), 7);
    QCOMPARE(setup.deadCards.size(), 2);
    QList<int> rest = setup.playList.mid(1);
    for (int card : setup.deadCards) {
        QVERIFY(!selected.contains(card));
        QCOMPARE(rest.removeAll(card), 1);
    }
    std::sort(rest.begin(), rest.end());
    QCOMPARE(rest, (QList<int> {3, 3, 9, 41})); // every selected card, duplicates kept

    const ReadingSetup plain = ReadingOrder::shuffled(selected, 0, false, random);
    QVERIFY(plain.deadCards.isEmpty());
    QCOMPARE(plain.cardCount, 4);
    QVERIFY(!plain.playList.contains(0));

    // Nothing selected: no dead cards, so the preamble alone or nothing at all.
    const ReadingSetup preambleOnly = ReadingOrder::shuffled({}, 5, true, random);
    QCOMPARE(preambleOnly.playList, QList<int> {0});
    QCOMPARE(preambleOnly.cardCount, 0);
    QVERIFY(ReadingOrder::shuffled({}, 5, false, random).playList.isEmpty());

    // Read again: exactly this order; only dead cards that are in it count.
    const ReadingSetup again = ReadingOrder::fixed({5, 77, 2}, {77, 90}, true);
    QCOMPARE(again.playList, (QList<int> {0, 5, 77, 2}));
    QCOMPARE(again.deadCards, QSet<int> {77});
    QCOMPARE(again.cardCount, 3);
}

QTEST_APPLESS_MAIN(TestReading)
#include "tst_reading.moc"
