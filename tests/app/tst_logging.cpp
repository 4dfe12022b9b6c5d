#include "MainWindowProbe.h"
#include "QuickAudioDevice.h"
#include "WindowServices.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

// What the program reports on standard error about its settings file. The
// window plays on a quick device: opening and closing the system's took a
// quarter of a second per window, and nothing here is heard.
class TestLogging : public QObject
{
    Q_OBJECT

private slots:
    void adjustedValues_areReported()
    {
        WindowServices folder;
        QFile ini(folder.filePath(QStringLiteral("QtUtakaze.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[SETTING]\nWait1Time=5000\nWait2Time=3\nFudaList=\"1,x,200,3\"\n");
        ini.close();
        QuickAudioDevice::install(folder.audio);
        QTest::ignoreMessage(QtInfoMsg,
                             QRegularExpression(QStringLiteral(
                                 "SETTING/Wait1Time: stored value \"5000\" replaced by \\d+")));
        QTest::ignoreMessage(
            QtInfoMsg, QRegularExpression(QStringLiteral("SETTING/FudaList: .* 2 cards kept")));
        MainWindow window(folder.services());
    }

    void unwritableSettingsFile_isReported()
    {
        // A folder in the file's place: no write can succeed, even for root.
        WindowServices folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("QtUtakaze.ini")));
        QuickAudioDevice::install(folder.audio);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("cannot write the settings file")));
        MainWindow window(folder.services());
    }
};

QTEST_MAIN(TestLogging)
#include "tst_logging.moc"
