#include "DrillFieldLayout.h"
#include "DrillFieldSettings.h"
#include "DrillRecord.h"
#include "DrillStatistics.h"

#include <QRandomGenerator>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

QList<int> range(int from, int to)
{
    QList<int> cards;
    for (int card = from; card <= to; ++card)
        cards.append(card);
    return cards;
}

} // namespace

// The game field's model, its record columns, statistics and settings.
class TestDrillField : public QObject
{
    Q_OBJECT

private slots:
    void deal_splitsTheSidesAndKeepsTheOwnArrangement()
    {
        QRandomGenerator random(7);
        // Card 1 at home in the back row's right half, outer slot; card 2 has
        // the same home and goes beside it; card 30 is the opponent's.
        const QMap<int, int> homes {{1, 40}, {2, 40}, {30, 3}};
        const DrillFieldLayout layout = DrillFieldLayout::deal(range(1, 51), homes, random);
        QCOMPARE(layout.cards(), range(1, 50)); // 51 left out
        QSet<int> taken[2];
        for (int card : layout.cards()) {
            const FieldPlace place = *layout.place(card);
            QCOMPARE(place.side, card <= 25 ? FieldSide::Own : FieldSide::Opponent);
            QVERIFY(place.slot >= 0 && place.slot < DrillFieldLayout::HalfSlots);
            QVERIFY(place.row >= 1 && place.row <= DrillFieldLayout::Rows);
            QVERIFY(!taken[static_cast<int>(place.side)].contains(DrillFieldLayout::slotNumber(place)));
            taken[static_cast<int>(place.side)].insert(DrillFieldLayout::slotNumber(place));
            QCOMPARE(DrillFieldLayout::atCell(DrillFieldLayout::cell(place)), place);
        }
        QCOMPARE(*layout.place(1), (FieldPlace {FieldSide::Own, 3, true, 0}));
        QCOMPARE(*layout.place(2), (FieldPlace {FieldSide::Own, 3, true, 1}));
        QCOMPARE(layout.ownSlots().size(), 25);
        QCOMPARE(layout.ownSlots().value(1), 40);
        // A small drill: the player's side takes the larger half.
        QCOMPARE(DrillFieldLayout::deal(range(1, 5), {}, random).ownSlots().size(), 3);
        // The arrangement follows the player's side; a card off it keeps its old slot.
        QMap<int, int> kept {{1, 7}, {90, 3}};
        QVERIFY(layout.keepOwnSlots(kept));
        QCOMPARE(kept.size(), 26);
        QCOMPARE(kept.value(1), 40);
        QCOMPARE(kept.value(90), 3);
        QVERIFY(!layout.keepOwnSlots(kept));
    }

    void keys_followTheFieldAsLaidOut()
    {
        using P = FieldPlace;
        // Opponent's front row: 10 left, 11 right; the player's front row: 20
        // and 21 on the left, 22 far right; the player's back row: 30.
        DrillFieldLayout layout = DrillFieldLayout::fromPlaces({
            {10, P {FieldSide::Opponent, 1, false, 2}},
            {11, P {FieldSide::Opponent, 1, true, 0}},
            {20, P {FieldSide::Own, 1, false, 0}},
            {21, P {FieldSide::Own, 1, false, 1}},
            {22, P {FieldSide::Own, 1, true, 0}},
            {30, P {FieldSide::Own, 3, true, 7}},
        });
        QCOMPARE(layout.first(), 20);
        QCOMPARE(layout.neighbour(20, FieldStep::Right), 21);
        QCOMPARE(layout.neighbour(21, FieldStep::Right), 22); // across the split
        QCOMPARE(layout.neighbour(22, FieldStep::Right), 0);
        QCOMPARE(layout.neighbour(22, FieldStep::Left), 21);
        QCOMPARE(layout.neighbour(21, FieldStep::Up), 10); // across the middle line
        QCOMPARE(layout.neighbour(22, FieldStep::Up), 11);
        QCOMPARE(layout.neighbour(10, FieldStep::Up), 0);
        QCOMPARE(layout.neighbour(11, FieldStep::Down), 22);
        QCOMPARE(layout.neighbour(21, FieldStep::Down), 30); // over the empty middle row
        QCOMPARE(layout.nearest(21), 20);
        layout.remove(20);
        layout.remove(21);
        QCOMPARE(layout.first(), 22);
        QCOMPARE(layout.neighbour(10, FieldStep::Down), 22);

        // Dragging on the player's side swaps; the opponent's side is not the player's to arrange.
        QVERIFY(layout.move(30, P {FieldSide::Own, 1, true, 0}));
        QCOMPARE(layout.cardAt(P {FieldSide::Own, 1, true, 0}), 30);
        QCOMPARE(*layout.place(22), (P {FieldSide::Own, 3, true, 7}));
        QVERIFY(!layout.move(30, P {FieldSide::Opponent, 2, false, 0}));
        QVERIFY(!layout.move(10, P {FieldSide::Own, 2, false, 0}));
        QCOMPARE(layout.rows().value(30), (FieldRow {FieldSide::Own, 1}));
    }

    void record_placeColumnsAppendedAndOldFilesRead()
    {
        DrillRow taken {1, 65, false, QStringLiteral("うら"), DrillReference::Kimariji, 412,
                        DrillResult::Taken, FieldRow {FieldSide::Opponent, 3}};
        DrillRow passed {2, 9, true, QStringLiteral("はなの"), DrillReference::Kimariji,
                         std::nullopt, DrillResult::Passed, std::nullopt};
        const QByteArray text = DrillRecord::format({taken, passed});
        QCOMPARE(text,
                 QByteArray("position\tcard\tdead\tkimariji\treference\treaction_ms\tresult\tside\t"
                            "row\n1\t65\t0\tうら\tkimariji\t412\ttaken\topponent\t3\n"
                            "2\t9\t1\tはなの\tkimariji\t\tpassed\t\t\n"));
        QCOMPARE(DrillRecord::parse(text + "3\t5\t0\tx\tkimariji\t9\ttaken\tnear\t1\n"
                                           "4\t5\t0\tx\tkimariji\t9\ttaken\town\t4\n"
                                           "5\t5\t1\tx\tkimariji\t\tpassed\town\t1\n"),
                 (QList<DrillRow> {taken, passed}));
        taken.place.reset();
        QCOMPARE(DrillRecord::parse("position\tcard\tdead\tkimariji\treference\treaction_ms\tresult\n"
                                    "1\t65\t0\tうら\tkimariji\t412\ttaken\n"),
                 QList<DrillRow> {taken});
    }

    void statistics_splitBySideAndRow()
    {
        auto take = [](int card, qint64 ms, std::optional<FieldRow> place) {
            return DrillRow {1, card, false, QStringLiteral("-"), DrillReference::Kimariji, ms,
                             DrillResult::Taken, place};
        };
        const FieldRow ownBack {FieldSide::Own, 3};
        const FieldRow theirFront {FieldSide::Opponent, 1};
        DrillRow missed = take(4, 0, ownBack);
        missed.result = DrillResult::Missed;
        missed.reactionMs.reset();
        const DrillStatistics stats({{take(1, 300, ownBack), take(2, 500, ownBack), missed},
                                     {take(3, 900, theirFront), take(5, 100, std::nullopt)}});
        QCOMPARE(stats.places(),
                 (QList<PlaceDrillStats> {{theirFront, 1, 900}, {ownBack, 2, 400}}));
        QVERIFY(DrillStatistics({{take(5, 100, std::nullopt)}}).places().isEmpty());
    }

    void settings_arrangementKeptAndDefaultsWriteNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("QtUtakaze.ini"));
        {
            QSettings file(path, QSettings::IniFormat);
            DrillFieldSettings().save(file);
        }
        QVERIFY(QSettings(path, QSettings::IniFormat).allKeys().isEmpty());
        DrillFieldSettings chosen;
        chosen.gameField = true;
        chosen.ownSlots = {{1, 0}, {100, 47}};
        {
            QSettings file(path, QSettings::IniFormat);
            chosen.save(file);
            file.setValue(QStringLiteral("DRILL_FIELD/OwnSlots"),
                          file.value(QStringLiteral("DRILL_FIELD/OwnSlots")).toString()
                              + QStringLiteral(" 0:3 5:48 x 7:2:1"));
        }
        QSettings file(path, QSettings::IniFormat);
        QCOMPARE(DrillFieldSettings::load(file), chosen);
    }
};

QTEST_GUILESS_MAIN(TestDrillField)
#include "tst_drillfield.moc"
