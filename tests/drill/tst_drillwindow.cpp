#include "DrillChart.h"
#include "DrillChartLoader.h"
#include "DrillField.h"
#include "DrillReader.h"
#include "DrillRecord.h"
#include "DrillWindow.h"
#include "TakingCardText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGraphicsView>
#include <QLabel>
#include <QSpinBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A reader on a hand-driven clock: it notes what it is asked to read.
class FakeDrillReader : public DrillReader
{
public:
    void readVerse(int card, int half, int) override { asked.append({card, half}); }
    void stop() override { ++stops; }
    void next() override { ++nexts; }
    void repeat() override {}
    qint64 nowMs() const override { return now; }
    QString voiceName() const override { return QStringLiteral("voice 1"); }
    QString timingFile() const override { return QStringLiteral("/nonexistent/timing.tsv"); }

    QList<QPair<int, int>> asked;
    qint64 now = 0;
    int stops = 0;
    int nexts = 0;
};

} // namespace

class TestDrillWindow : public QObject
{
    Q_OBJECT

private slots:
    void takingCards_showTheLowerVerseAsPrinted()
    {
        const QHash<int, QString> texts = TakingCardText::builtIn();
        QCOMPARE(texts.size(), 100);
        QCOMPARE(texts.value(1), QStringLiteral("わかころもてはつゆにぬれつつ"));
        QCOMPARE(TakingCardText::withoutVoicingMarks(QStringLiteral("ごぱ")),
                 QStringLiteral("こは"));
    }

    // A whole drill by mouse: takes, a fault and a miss on the timer, the
    // record written as it was clicked, the weak cards offered after.
    void drillByMouse_recordsWhatWasClicked()
    {
        QTemporaryDir app;
        FakeDrillReader reader;
        DrillWindow window(&reader, app.path(), app.filePath(QStringLiteral("QtUtakaze.ini")));
        window.setSelectedCards({74, 65, 87});
        window.setTakeLimitMs(200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy running(&window, &DrillWindow::runningChanged);
        window.startDrill();
        QVERIFY(window.isRunning());
        QCOMPARE(window.field()->tile(87)->accessibleName(),
                 QStringLiteral("87 きりたちのほるあきのゆふくれ"));

        int round = 0;
        while (window.isRunning() && round < 3) {
            QCOMPARE(reader.asked.size(), 2 * round + 1);
            const int card = reader.asked.last().first;
            QCOMPARE(reader.asked.last().second, 1);
            reader.now = 10000 * (round + 1);
            emit reader.verseStarted(card, 1, reader.now, 0, 1.0);
            QTest::keyClick(&window, Qt::Key_PageDown);
            QCOMPARE(reader.nexts, round); // a take is under way: no skipping
            if (round == 0) { // the right card, 450 ms after the verse began
                reader.now += 450;
                QTest::mouseClick(window.field()->tile(card), Qt::LeftButton);
                QVERIFY(!window.field()->tile(card)); // gone, not only hidden
            } else if (round == 1) { // another card: a fault
                const QList<int> others = QList<int> {74, 65, 87};
                int wrong = 0;
                for (int other : others) {
                    if (other != card && window.field()->tile(other))
                        wrong = other;
                }
                reader.now += 30;
                QTest::mouseClick(window.field()->tile(wrong), Qt::LeftButton);
            } else { // nothing: missed when the limit has passed
                reader.now += 200;
                QTRY_VERIFY(!window.field()->tile(card));
                QVERIFY(window.isRunning()); // the last verse is heard out
                emit reader.verseEnded(card, 1);
                break;
            }
            // The Next keys skip a pause; during a take they belong to the field.
            QTest::keyClick(&window, round == 0 ? Qt::Key_PageDown : Qt::Key_Right);
            QCOMPARE(reader.nexts, round + 1);
            emit reader.verseEnded(card, 1);
            QCOMPARE(reader.asked.last(), qMakePair(card, 2));
            emit reader.verseEnded(card, 2);
            ++round;
        }
        QVERIFY(!window.isRunning());
        QCOMPARE(running.size(), 2);
        QVERIFY(reader.stops > 0);

        const DrillRecord record(QDir(app.path()).filePath(QStringLiteral("training")));
        QCOMPARE(record.files().size(), 1);
        const QList<DrillRow> rows = record.recent(1).first();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.at(0).result, DrillResult::Taken);
        QCOMPARE(rows.at(0).reactionMs, 450);
        QCOMPARE(rows.at(0).reference, DrillReference::Verse); // the voice has no timing
        QCOMPARE(rows.at(1).result, DrillResult::Fault);
        QCOMPARE(rows.at(1).reactionMs, 30);
        QCOMPARE(rows.at(2).result, DrillResult::Missed);
        // Every card is weak (the only take sets the median), the faulted and
        // the missed one before the one taken.
        QList<int> weak = window.weakCards();
        QCOMPARE(weak.size(), 3);
        QCOMPARE(weak.last(), rows.at(0).card);
        std::sort(weak.begin(), weak.end());
        QCOMPARE(weak, (QList<int> {65, 74, 87}));
        QVERIFY(!window.findChild<QLabel *>(QStringLiteral("drillScore"))->text().isEmpty());
    }

    // The chart's drawing is a module loaded when first shown: a file of its
    // name that does not load is passed over for the next folder's; with no
    // module that loads, a note takes the chart's place.
    void chart_loadsTheModuleOrShowsANote()
    {
        const QFileInfo module(QStringLiteral(QTUTAKAZE_DRILLCHART_MODULE));
        QTemporaryDir broken;
        QFile junk(QDir(broken.path()).filePath(module.fileName()));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a library") > 0);
        junk.close();
        QWidget window;
        const QList<DrillChartBar> bars {{QStringLiteral("87 きり"), 450, 2}};

        DrillChart *drawn = DrillChartLoader::make(&window, {broken.path(), module.path()});
        QVERIFY(drawn->findChild<QGraphicsView *>());
        drawn->showBars({QStringLiteral("title"), QStringLiteral("ms"), QStringLiteral("errors")},
                        bars);

        DrillChart *note = DrillChartLoader::make(&window, {broken.path(), QString()});
        QCOMPARE(note->parentWidget(), &window);
        QVERIFY(!note->findChild<QGraphicsView *>());
        QVERIFY(!note->findChild<QLabel *>()->text().isEmpty());
        note->showBars({}, bars);
    }

    // On a 1280x720 screen (less a panel and the title bar) fifty cards fit
    // at 60 px or more, and the window does not grow when a drill starts.
    void fiftyCards_fitALaptopScreen()
    {
        QTemporaryDir app;
        FakeDrillReader reader;
        DrillWindow window(&reader, app.path(), app.filePath(QStringLiteral("QtUtakaze.ini")));
        QList<int> cards;
        for (int card = 1; card <= 50; ++card)
            cards.append(card);
        window.setSelectedCards(cards);
        window.findChild<QSpinBox *>()->setValue(50);
        window.resize(1280, 660);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QSize idle = window.minimumSizeHint();
        window.startDrill();
        QApplication::processEvents();
        QCOMPARE(window.minimumSizeHint().height(), idle.height());
        QVERIFY2(window.minimumSizeHint().width() <= 1280 && idle.height() <= 660,
                 qPrintable(QStringLiteral("%1x%2").arg(window.minimumSizeHint().width()).arg(idle.height())));
        for (int card : cards)
            QVERIFY(window.field()->tile(card)->width() >= 60);
        QTest::keyClick(&window, Qt::Key_Escape); // stops the drill, then closes the window
        QVERIFY(!window.isRunning());
        QVERIFY(window.isVisible());
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestDrillWindow)
#include "tst_drillwindow.moc"
