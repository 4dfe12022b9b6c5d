#include "DrillField.h"
#include "DrillFieldLayout.h"
#include "DrillGameField.h"
#include "DrillReader.h"
#include "DrillRecord.h"
#include "DrillWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QDir>
#include <QShortcut>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

class FakeDrillReader : public DrillReader
{
public:
    void readVerse(int card, int half, int) override { asked.append({card, half}); }
    void stop() override {}
    void next() override {}
    void repeat() override {}
    qint64 nowMs() const override { return now; }
    QString voiceName() const override { return QStringLiteral("voice 1"); }
    QString timingFile() const override { return QStringLiteral("/nonexistent/timing.tsv"); }

    QList<QPair<int, int>> asked;
    qint64 now = 0;
};

int focusedCard()
{
    const auto *tile = qobject_cast<DrillTile *>(QApplication::focusWidget());
    return tile ? tile->card() : 0;
}

// Arrow keys from the focused card to `card`, row first, as a player would.
void walkTo(const DrillFieldLayout &layout, int card)
{
    const QPoint target = DrillFieldLayout::cell(*layout.place(card));
    for (int steps = 0; focusedCard() != card && steps < 40; ++steps) {
        const QPoint here = DrillFieldLayout::cell(*layout.place(focusedCard()));
        const Qt::Key key = target.y() < here.y() ? Qt::Key_Up
            : target.y() > here.y()               ? Qt::Key_Down
            : target.x() < here.x()               ? Qt::Key_Left
                                                  : Qt::Key_Right;
        QTest::keyClick(QApplication::focusWidget(), key);
    }
}

} // namespace

class TestDrillGameField : public QObject
{
    Q_OBJECT

private slots:
    // A drill on the game field by keyboard only: each card read is reached
    // with the arrow keys and taken with Space or Enter; it leaves the
    // accessibility tree; the record says where each card lay.
    void gameFieldByKeyboard_recordsSideAndRow()
    {
        QTemporaryDir app;
        FakeDrillReader reader;
        DrillWindow window(&reader, app.path(), app.filePath(QStringLiteral("QtUtakaze.ini")));
        const QList<int> cards {74, 65, 87, 1, 2, 3, 4};
        window.setSelectedCards(cards);
        DrillFieldSettings settings;
        settings.gameField = true;
        settings.ownSlots = {{74, 40}};
        QSignalSpy changed(&window, &DrillWindow::fieldSettingsChanged);
        window.setFieldSettings(settings);
        window.resize(1280, 720);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window)); // the keys go to the focused card
        QVERIFY(window.field()->isHidden());
        window.startDrill();
        // At 1280x720 less a title bar, every tile in sight and legible.
        QApplication::processEvents(); // the window gives way to the field
        window.resize(1280, 690);
        QTRY_COMPARE(window.height(), 690);
        for (int card : cards) {
            const QWidget *tile = window.gameField()->tile(card);
            QVERIFY(tile->width() >= DrillGameTile::MinimumWidth);
            QVERIFY(window.rect().contains(QRect(tile->mapTo(&window, QPoint()), tile->size())));
        }
        const DrillFieldLayout dealt = window.gameField()->fieldLayout();
        QCOMPARE(dealt.cards().size(), cards.size());
        if (dealt.place(74)->side == FieldSide::Own)
            QCOMPARE(DrillFieldLayout::slotNumber(*dealt.place(74)), 40);
        QVERIFY(changed.size() > 0); // the random start kept
        const QMap<int, int> ownSlots = dealt.ownSlots();
        QCOMPARE(ownSlots.size(), 4);
        for (auto it = ownSlots.cbegin(); it != ownSlots.cend(); ++it)
            QCOMPARE(window.fieldSettings().ownSlots.value(it.key()), it.value());
        QVERIFY(window.gameField()->tile(window.gameField()->fieldLayout().first())->hasFocus());
        // The window's shortcuts on the same keys wait while a card has the keyboard.
        QShortcut nextKey(QKeySequence(Qt::Key_Space), &window);
        QShortcut rightKey(QKeySequence(Qt::Key_Right), &window);
        QSignalSpy nextSpy(&nextKey, &QShortcut::activated);
        QSignalSpy rightSpy(&rightKey, &QShortcut::activated);
        QAccessibleInterface *fieldNode = QAccessible::queryAccessibleInterface(window.gameField());

        for (int round = 0; window.isRunning(); ++round) {
            const int card = reader.asked.last().first;
            reader.now = 10000 * (round + 1);
            emit reader.verseStarted(card, 1, reader.now, 0, 1.0);
            walkTo(window.gameField()->fieldLayout(), card);
            QCOMPARE(focusedCard(), card);
            reader.now += 300 + round;
            QTest::keyClick(QApplication::focusWidget(), round % 2 ? Qt::Key_Return : Qt::Key_Space);
            if (window.isRunning()) {
                QVERIFY(!window.gameField()->tile(card));
                QTRY_COMPARE(fieldNode->childCount(), static_cast<int>(cards.size()) - round - 1);
                if (round + 1 < cards.size()) // the last take's verse is heard out
                    QVERIFY(focusedCard() != 0); // the keyboard goes on from a card nearby
                emit reader.verseEnded(card, 1);
                emit reader.verseEnded(card, 2);
            }
        }
        QCOMPARE(nextSpy.size() + rightSpy.size(), 0);
        const QList<DrillRow> rows =
            DrillRecord(QDir(app.path()).filePath(QStringLiteral("training"))).recent(1).first();
        QCOMPARE(rows.size(), cards.size());
        for (const DrillRow &row : rows) {
            QCOMPARE(row.result, DrillResult::Taken);
            QCOMPARE(row.place, dealt.place(row.card)->fieldRow());
        }
        QVERIFY(!window.findChild<QLabel *>(QStringLiteral("drillPlaceStatistics"))->isHidden());

        // Over: the cards are back for arranging, and a drag on the player's
        // side swaps two of them and is kept.
        DrillGameField *field = window.gameField();
        QCOMPARE(field->fieldLayout().cards(), dealt.cards());
        const QList<int> own = dealt.ownSlots().keys();
        const QPoint from = field->tile(own.at(0))->geometry().center();
        const QPoint to = field->tile(own.at(1))->geometry().center();
        QTest::mousePress(field, Qt::LeftButton, {}, from);
        QTest::mouseMove(field, (from + to) / 2);
        QTest::mouseRelease(field, Qt::LeftButton, {}, to);
        QCOMPARE(field->fieldLayout().place(own.at(0)), dealt.place(own.at(1)));
        QCOMPARE(window.fieldSettings().ownSlots.value(own.at(1)),
                 DrillFieldLayout::slotNumber(*dealt.place(own.at(0))));
    }
};

QTEST_MAIN(TestDrillGameField)
#include "tst_drillgamefield.moc"
