#include "MainWindowProbe.h"
#include "PracticeDialog.h"
#include "QuickAudioDevice.h"
#include "WindowServices.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

// The practice settings in the main window: read from and written to the
// file, dead cards shuffled into the reading, the dialog refused during a
// reading, and the Next / Repeat keys only while a reading runs, never
// taken from a focused spin box or slider.
class TestMainWindowPractice : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowServices> dir;

    QString iniPath() const { return dir->filePath(QStringLiteral("QtUtakaze.ini")); }

    bool writeIni(const QByteArray &text)
    {
        QFile file(iniPath());
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    }

    // Placeholder verses: unplayable files read as short silences, enough for
    // the window to start and run a reading.
    bool makeVoice1()
    {
        if (!QDir(dir->path()).mkpath(QStringLiteral("Music")))
            return false;
        QFile probe(dir->filePath(QStringLiteral("Music/rindou_000_2.ogg")));
        return probe.open(QIODevice::WriteOnly);
    }

private slots:
    void init()
    {
        dir = std::make_unique<WindowServices>();
        QuickAudioDevice::install(dir->audio);
        QVERIFY(dir->isValid());
        QVERIFY(makeVoice1());
    }

    void cleanup() { dir.reset(); }

    void deadCards_shuffledInCountedAndWrittenBack()
    {
        const QList<int> selected {3, 17, 42, 77, 99};
        QVERIFY(writeIni(
            "[SETTING]\nchk_joka=true\nWait1Time=20\nWait2Time=10\nFudaList=\"3,17,42,77,99\"\n"
            "[PRACTICE]\nStyle=competitive\nAdvance=manual\nDeadCards=3\n"));
        {
            MainWindow window(dir->services());
            MainWindowProbe probe(window);
            probe.ui()->Btn_Start->click();
            QVERIFY(probe.inSequence());

            const QList<int> playList = probe.playList();
            QCOMPARE(playList.value(0), 0); // the preamble first
            QCOMPARE(playList.size(), 1 + 8);
            QCOMPARE(probe.fudaCount(), 8);
            const QSet<int> dead = probe.deadCards();
            QCOMPARE(dead.size(), 3);
            QSet<int> read(playList.cbegin() + 1, playList.cend());
            QCOMPARE(read.size(), 8); // each card once
            for (int card : selected) {
                QVERIFY(read.contains(card));
                QVERIFY(!dead.contains(card));
            }
            QVERIFY(read.contains(dead));
            QCOMPARE(probe.fudaList(), selected); // the selection itself is unchanged

            // The preamble's upper verse is no card; a dead card counts like any other.
            emit probe.thread()->Music1Starteded(0);
            QCOMPARE(probe.playCount(), 0);
            emit probe.thread()->Music1Starteded(*dead.cbegin());
            QCOMPARE(probe.playCount(), 1);
            QVERIFY(probe.ui()->statusBar->currentMessage().startsWith(QStringLiteral("1 / 8 ")));
        }
        QSettings settings(iniPath(), QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("PRACTICE/Style")).toString(),
                 QStringLiteral("competitive"));
        QCOMPARE(settings.value(QStringLiteral("PRACTICE/Advance")).toString(),
                 QStringLiteral("manual"));
        QCOMPARE(settings.value(QStringLiteral("PRACTICE/DeadCards")).toString(),
                 QStringLiteral("3"));
    }

    // Endless: the window's reading goes on into a second round, counted.
    void endless_goesIntoTheSecondRound()
    {
        QVERIFY(writeIni("[SETTING]\nWait1Time=0\nWait2Time=0\nFudaList=\"5,6\"\n"
                         "[PRACTICE]\nEndless=true\n"));
        MainWindow window(dir->services());
        MainWindowProbe probe(window);
        probe.ui()->Btn_Start->click();
        const QStatusBar *bar = probe.ui()->statusBar;
        QTRY_VERIFY_WITH_TIMEOUT(bar->currentMessage().startsWith(QStringLiteral("2巡目 1 / 2 ")),
                                 10000);
    }

    void practiceDialog_acceptedTakenAndRefusedDuringReading()
    {
        QVERIFY(writeIni("[SETTING]\nWait1Time=20\nFudaList=\"5\"\n"));
        {
            MainWindow window(dir->services());
            Ui::MainWindow *ui = MainWindowProbe(window).ui();
            // Opens the dialog, picks the beginner style and closes it;
            // whether a dialog came up at all.
            const auto choose = [ui](int style, bool accept) {
                bool opened = false;
                bool looked = false;
                QTimer::singleShot(0, [&opened, &looked, style, accept] {
                    looked = true;
                    auto *dialog =
                        qobject_cast<PracticeDialog *>(QApplication::activeModalWidget());
                    opened = dialog != nullptr;
                    if (!dialog)
                        return;
                    const char *radio = style == 1 ? "radioCompetitive" : "radioBeginner";
                    dialog->findChild<QAbstractButton *>(QLatin1String(radio))->click();
                    accept ? dialog->accept() : dialog->reject();
                });
                ui->actionPractice->trigger();
                return QTest::qWaitFor([&looked] { return looked; }) && opened;
            };
            QVERIFY(choose(2, true));
            QVERIFY(choose(1, false)); // cancelled: the beginner style stays

            ui->Btn_Start->click();
            QVERIFY(MainWindowProbe(window).inSequence());
            QVERIFY(!choose(1, true)); // refused during a reading
        }
        QSettings settings(iniPath(), QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("PRACTICE/Style")).toString(),
                 QStringLiteral("beginner"));
    }

    void nextRepeatKeys_onlyDuringReadingAndNeverFromSpinBoxOrSlider()
    {
        QVERIFY(writeIni("[SETTING]\nWait1Time=20\nWait2Time=10\nFudaList=\"5,6\"\n"));
        MainWindow window(dir->services());
        Ui::MainWindow *ui = MainWindowProbe(window).ui();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy next(ui->actionNext, &QAction::triggered);
        QSignalSpy repeat(ui->actionRepeat, &QAction::triggered);

        // Idle: the keys belong to the widgets.
        QVERIFY(!ui->actionNext->isEnabled() && !ui->actionRepeat->isEnabled());
        ui->spinBox_1->setFocus();
        QTest::keyClick(ui->spinBox_1, Qt::Key_PageDown);
        QCOMPARE(ui->spinBox_1->value(), 10); // 20 stepped down a page
        ui->Btn_FudaSelect->setFocus();
        QTest::keyClick(ui->Btn_FudaSelect, Qt::Key_Right);
        QTest::keyClick(ui->Btn_FudaSelect, Qt::Key_R);
        QCOMPARE(next.size() + repeat.size(), 0);

        ui->Slider_Volume->setFocus();
        ui->Btn_Start->click();
        QVERIFY(ui->actionNext->isEnabled() && ui->actionRepeat->isEnabled());
        QCOMPARE(QApplication::focusWidget(), ui->Btn_Start); // not the slider

        const QList<std::pair<Qt::Key, QSignalSpy *>> keys {
            {Qt::Key_Right, &next},  {Qt::Key_PageDown, &next}, {Qt::Key_Space, &next},
            {Qt::Key_Left, &repeat}, {Qt::Key_PageUp, &repeat}, {Qt::Key_R, &repeat}};
        for (const auto &[key, spy] : keys) {
            const qsizetype before = spy->size();
            QTest::keyClick(ui->Btn_Start, key);
            QVERIFY2(spy->size() == before + 1, qPrintable(QKeySequence(key).toString()));
        }

        // The volume slider keeps its arrow and page keys during a reading.
        ui->Slider_Volume->setFocus();
        ui->Slider_Volume->setValue(50);
        const qsizetype nextBefore = next.size();
        const qsizetype repeatBefore = repeat.size();
        QTest::keyClick(ui->Slider_Volume, Qt::Key_Right);
        QTest::keyClick(ui->Slider_Volume, Qt::Key_PageUp);
        QCOMPARE(ui->Slider_Volume->value(), 50 + 1 + ui->Slider_Volume->pageStep());
        QTest::keyClick(ui->Slider_Volume, Qt::Key_Left);
        QCOMPARE(next.size(), nextBefore);
        QCOMPARE(repeat.size(), repeatBefore);
        QTest::keyClick(ui->Slider_Volume, Qt::Key_Space); // not a slider key: Next
        QCOMPARE(next.size(), nextBefore + 1);
    }
};

QTEST_MAIN(TestMainWindowPractice)
#include "tst_mainwindow_practice.moc"
