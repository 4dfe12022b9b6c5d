#include "FixtureAudio.h"
#include "MainWindowProbe.h"
#include "TestData.h"
#include "WindowServices.h"

#include <QPushButton>
#include <QStatusBar>
#include <QTest>

// Without an audio output the window says so, and Start opens it once it
// can instead of running a silent reading.
class TestMainWindowNoDevice : public QObject
{
    Q_OBJECT

private slots:
    void noOutput_toldAndStartTriesAgain()
    {
        WindowServices app;
        QVERIFY(app.isValid());
        QVERIFY(FixtureAudio::MakeVoiceFolder(app.path(), {0, 7}, 0.2, false));
        QVERIFY(TestData::writeFile(app.filePath(QStringLiteral("QtUtakaze.ini")),
                          "[SETTING]\nFudaList=7\n"));
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        MainWindow window(app.services());
        MainWindowProbe probe(window);
        const QString noOutput = QStringLiteral("音声出力を開けません");
        QCOMPARE(probe.ui()->statusBar->currentMessage(), noOutput);

        probe.ui()->checkBox->setChecked(false); // no preamble: card 7 is read first
        QTest::mouseClick(probe.ui()->Btn_Start, Qt::LeftButton);
        QVERIFY(!probe.inSequence());
        QCOMPARE(probe.ui()->statusBar->currentMessage(), noOutput);

        qputenv("SDL_AUDIODRIVER", "dummy"); // the output is back
        QTest::mouseClick(probe.ui()->Btn_Start, Qt::LeftButton);
        QVERIFY(probe.inSequence());
        QTRY_COMPARE_WITH_TIMEOUT(probe.playCount(), 1, 5000); // its upper verse sounds
    }
};

QTEST_MAIN(TestMainWindowNoDevice)
#include "tst_mainwindow_nodevice.moc"
