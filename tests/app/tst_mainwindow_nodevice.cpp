#include "AppFolder.h"
#include "FixtureAudio.h"
#include "MainWindowProbe.h"
#include "ScopedAppFolder.h"

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
        ScopedAppFolder app;
        QVERIFY(app.isValid());
        QVERIFY(FixtureAudio::MakeVoiceFolder(app.path(), {0, 7}, 0.2, false));
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        MainWindow window;
        MainWindowProbe probe(window);
        const QString noOutput = QStringLiteral("音声出力を開けません");
        QCOMPARE(probe.ui()->statusBar->currentMessage(), noOutput);

        probe.setFudaList({7});
        QTest::mouseClick(probe.ui()->Btn_Start, Qt::LeftButton);
        QVERIFY(!probe.inSequence());
        QCOMPARE(probe.ui()->statusBar->currentMessage(), noOutput);

        qputenv("SDL_AUDIODRIVER", "dummy"); // the output is back
        QTest::mouseClick(probe.ui()->Btn_Start, Qt::LeftButton);
        QVERIFY(probe.inSequence());
        QTRY_VERIFY_WITH_TIMEOUT(!probe.inSequence(), 10000); // read to its end
        QCOMPARE(probe.playCount(), 1);
    }
};

QTEST_MAIN(TestMainWindowNoDevice)
#include "tst_mainwindow_nodevice.moc"
