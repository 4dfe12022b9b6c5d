#include "DeadCardDraw.h"
#include "ReadingOrder.h"

#include <QHash>
#include <QRandomGenerator>
#include <QTest>

namespace {

// Card 1 is the selected one, "abc"; card 2 shares two sounds with it, card 3
// one, every other card none.
QHash<int, QString> openings()
{
    QHash<int, QString> sounds;
    for (int card = 1; card <= 100; ++card)
        sounds.insert(card, QStringLiteral("z") + QString::number(card));
    sounds[1] = QStringLiteral("abc");
    sounds[2] = QStringLiteral("abx");
    sounds[3] = QStringLiteral("ay");
    return sounds;
}

} // namespace

class TestDeadCardBias : public QObject
{
    Q_OBJECT

private slots:
    void zeroBias_isExactlyTheUniformDraw()
    {
        QRandomGenerator plain(99);
        QRandomGenerator biased(99);
        for (int round = 0; round < 20; ++round) {
            QCOMPARE(DeadCardDraw::drawTempting({1, 5}, 10, 0, openings(), biased),
                     DeadCardDraw::draw({1, 5}, 10, plain));
        }
        QRandomGenerator a(5);
        QRandomGenerator b(5);
        const ReadingSetup uniform = ReadingOrder::shuffled({1, 5, 9}, 4, true, a);
        const ReadingSetup zero = ReadingOrder::shuffled({1, 5, 9}, 4, 0, openings(), true, b);
        QCOMPARE(zero.deadCards, uniform.deadCards);
        QCOMPARE(zero.cardCount, uniform.cardCount);
    }

    // Many single draws with a fixed seed follow the weights (1 - b) + b * t.
    void distribution_followsTheWeights_data()
    {
        QTest::addColumn<int>("bias");
        QTest::addColumn<double>("shareTwo"); // card 2
        QTest::addColumn<double>("shareOne"); // card 3
        // Weights in hundredths: 50 + 50 t; 97 cards share nothing.
        QTest::newRow("50") << 50 << 150.0 / 5100 << 100.0 / 5100;
        QTest::newRow("100") << 100 << 2.0 / 3 << 1.0 / 3;
        QTest::newRow("10") << 10 << 110.0 / 8940 << 100.0 / 8940;
    }

    void distribution_followsTheWeights()
    {
        QFETCH(int, bias);
        QFETCH(double, shareTwo);
        QFETCH(double, shareOne);
        constexpr int Draws = 8000;
        QRandomGenerator random(2024);
        const QHash<int, QString> sounds = openings();
        QHash<int, int> counts;
        for (int i = 0; i < Draws; ++i) {
            const QList<int> drawn = DeadCardDraw::drawTempting({1}, 1, bias, sounds, random);
            QCOMPARE(drawn.size(), 1);
            ++counts[drawn.first()];
        }
        QVERIFY(!counts.contains(1));
        // Within four standard deviations of the expected counts.
        const auto near = [](int count, double p) {
            const double expected = Draws * p;
            return std::abs(count - expected) <= 4 * std::sqrt(Draws * p * (1 - p)) + 1;
        };
        QVERIFY2(near(counts.value(2), shareTwo), qPrintable(QString::number(counts.value(2))));
        QVERIFY2(near(counts.value(3), shareOne), qPrintable(QString::number(counts.value(3))));
    }

    void fullBias_takesTemptingCardsFirstThenTheRest()
    {
        QRandomGenerator random(3);
        for (int round = 0; round < 50; ++round) {
            const QList<int> drawn = DeadCardDraw::drawTempting({1}, 5, 100, openings(), random);
            QCOMPARE(drawn.size(), 5);
            QVERIFY(drawn.contains(2) && drawn.contains(3));
            QCOMPARE(QSet<int>(drawn.cbegin(), drawn.cend()).size(), 5);
            QVERIFY(!drawn.contains(1));
        }
        // More than are left: all of them, each once.
        QCOMPARE(DeadCardDraw::drawTempting({1}, 500, 100, openings(), random).size(), 99);
        QVERIFY(DeadCardDraw::drawTempting({1}, 0, 100, openings(), random).isEmpty());
    }

    void readingOrder_withBias_mixesTheDrawnCardsIn()
    {
        QRandomGenerator random(11);
        const ReadingSetup setup = ReadingOrder::shuffled({1}, 2, 100, openings(), true, random);
        QCOMPARE(setup.playList.first(), 0);
        QCOMPARE(setup.cardCount, 3);
        QCOMPARE(setup.deadCards, (QSet<int> {2, 3}));
        QVERIFY(setup.playList.contains(1));
        // No selected card: nothing for a dead card to share with; the plain draw decides.
        QRandomGenerator a(8);
        QRandomGenerator b(8);
        QCOMPARE(ReadingOrder::shuffled({}, 3, 100, openings(), false, a).deadCards,
                 ReadingOrder::shuffled({}, 3, false, b).deadCards);
    }
};

QTEST_APPLESS_MAIN(TestDeadCardBias)
#include "tst_deadcardbias.moc"
