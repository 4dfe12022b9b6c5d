#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

// Runs a copy of the program in a temporary application folder.
class TestExecutable : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString program;

    bool startAndWaitForWindow(QProcess &process)
    {
        process.setWorkingDirectory(dir.path());
        process.start(program, {});
        if (!process.waitForStarted(10000))
            return false;
        // No output to wait for: give the window time to come up.
        QTest::qWait(1500);
        return process.state() == QProcess::Running;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        program = dir.filePath(QStringLiteral("QtUtakaze"));
        QVERIFY(QFile::copy(QStringLiteral(QTUTAKAZE_EXECUTABLE), program));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void terminateSignal_endsTheProgram_settingsUntouched()
    {
        const QString ini = dir.filePath(QStringLiteral("QtUtakaze.ini"));
        QFile::remove(ini);
        QProcess process;
        QVERIFY(startAndWaitForWindow(process));
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        QVERIFY2(process.waitForFinished(3000), "the program ignored SIGTERM");
        QCOMPARE(process.exitStatus(), QProcess::CrashExit); // ended by the signal
        QVERIFY(!QFile::exists(ini)); // only a normal exit writes the settings
    }
};

QTEST_GUILESS_MAIN(TestExecutable)
#include "tst_executable.moc"
