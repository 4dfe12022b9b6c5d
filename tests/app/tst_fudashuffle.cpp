#include "FudaShuffle.h"

#include <QTest>
#include <algorithm>
#include <numeric>
#include <vector>

class TestFudaShuffle : public QObject
{
    Q_OBJECT

private slots:
    void generator_staysWithin15Bits()
    {
        SeedRandom(12345);
        int highest = 0;
        for (int i = 0; i < 200000; ++i) {
            const int r = NextRandom();
            QVERIFY(r >= 0 && r <= 32767);
            highest = std::max(highest, r);
        }
        QCOMPARE(highest, 32767); // the whole range is reached
    }

    void randInt_boundsHoldAtExtremeValues_data()
    {
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("expected"); // RandInt(10, 19)
        QTest::newRow("r = 0") << 0 << 10;
        QTest::newRow("r = 32767") << 32767 << 19;
    }

    void randInt_boundsHoldAtExtremeValues()
    {
        QFETCH(int, r);
        QFETCH(int, expected);
        // Find a seed whose first value is r, then draw with it.
        unsigned seed = 0;
        for (;; ++seed) {
            SeedRandom(seed);
            if (NextRandom() == r)
                break;
            QVERIFY(seed < (1u << 31));
        }
        SeedRandom(seed);
        QCOMPARE(RandInt(10, 19), expected);
        for (unsigned s = 0; s < 2000; ++s) {
            SeedRandom(s);
            for (int i = 0; i < 50; ++i) {
                const int v = RandInt(3, 7);
                QVERIFY2(v >= 3 && v <= 7, qPrintable(QString::number(v)));
            }
        }
    }

    void shuffle_sameSeedSameOrder()
    {
        std::vector<int> a(100), b(100);
        std::iota(a.begin(), a.end(), 1);
        b = a;
        ShuffleFudaWithSeed(a.data(), 100, 4242);
        ShuffleFudaWithSeed(b.data(), 100, 4242);
        QCOMPARE(a, b);
        std::vector<int> c(100);
        std::iota(c.begin(), c.end(), 1);
        ShuffleFudaWithSeed(c.data(), 100, 4243);
        QVERIFY(a != c);
    }

    void shuffle_isAlwaysAPermutation()
    {
        for (int count : {0, 1, 2, 3, 17, 100}) {
            for (unsigned seed : {0u, 1u, 86399u}) {
                std::vector<int> v(count);
                std::iota(v.begin(), v.end(), 1);
                ShuffleFudaWithSeed(v.data(), count, seed);
                std::vector<int> sorted = v;
                std::sort(sorted.begin(), sorted.end());
                std::vector<int> expected(count);
                std::iota(expected.begin(), expected.end(), 1);
                QCOMPARE(sorted, expected);
            }
        }
    }

    void shuffle_reachesEveryPosition()
    {
        // Over many seeds every card lands in every position of a short list:
        // a shuffle that never moves the last element would fail here.
        const int n = 5;
        bool seen[n][n] = {};
        for (unsigned seed = 0; seed < 3000; ++seed) {
            int v[n] = {0, 1, 2, 3, 4};
            ShuffleFudaWithSeed(v, n, seed);
            for (int pos = 0; pos < n; ++pos)
                seen[v[pos]][pos] = true;
        }
        for (int card = 0; card < n; ++card)
            for (int pos = 0; pos < n; ++pos)
                QVERIFY2(seen[card][pos],
                         qPrintable(QStringLiteral("%1 at %2").arg(card).arg(pos)));
    }
};

QTEST_APPLESS_MAIN(TestFudaShuffle)
#include "tst_fudashuffle.moc"
