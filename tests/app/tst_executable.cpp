#include "FixtureAudio.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace {

const QString MprisService = QStringLiteral("org.mpris.MediaPlayer2.QtUtakaze");
const QString MprisPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString MprisPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");

} // namespace

// Runs a copy of the program in a temporary application folder, in Japanese
// whatever the machine's language, and without a session bus unless a test
// starts its own.
class TestExecutable : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString program;

    QString ini() const { return dir.filePath(QStringLiteral("QtUtakaze.ini")); }

    static QProcessEnvironment environment(const QString &busAddress = QString())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "DBUS_SESSION_BUS_ADDRESS"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        // The program says when it has opened its output, in its window's
        // constructor, after its signal handlers are in place.
        env.insert(QStringLiteral("QT_LOGGING_RULES"),
                   QStringLiteral("qtutakaze.audio.debug=true"));
        if (!busAddress.isEmpty())
            env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
        return env;
    }

    bool startAndWaitForWindow(QProcess &process, const QString &busAddress = QString())
    {
        process.setWorkingDirectory(dir.path());
        process.setProcessEnvironment(environment(busAddress));
        process.start(program, {});
        if (!process.waitForStarted(10000))
            return false;
        QByteArray log;
        const bool opened = QTest::qWaitFor(
            [&] {
                log += process.readAllStandardError();
                return log.contains("audio device") || process.state() != QProcess::Running;
            },
            10000);
        return opened && process.state() == QProcess::Running;
    }

    // Sends the signal and waits for the end; the time it took in ms, or -1.
    static qint64 endWith(QProcess &process, int signalNumber)
    {
        QElapsedTimer clock;
        clock.start();
        ::kill(static_cast<pid_t>(process.processId()), signalNumber);
        if (!process.waitForFinished(5000))
            return -1;
        return clock.elapsed();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        program = dir.filePath(QStringLiteral("QtUtakaze"));
        QVERIFY(QFile::copy(QStringLiteral(QTUTAKAZE_EXECUTABLE), program));
        QVERIFY(
            QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void quitSignal_endsLikeExit_settingsWritten_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void quitSignal_endsLikeExit_settingsWritten()
    {
        QFETCH(int, signalNumber);
        QFile::remove(ini());
        QProcess process;
        QVERIFY(startAndWaitForWindow(process));
        const qint64 ms = endWith(process, signalNumber);
        QVERIFY2(ms >= 0, "the program ignored the signal");
        QVERIFY2(ms < 1000, qPrintable(QStringLiteral("took %1 ms").arg(ms)));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(QFile::exists(ini()));
        QCOMPARE(QSettings(ini(), QSettings::IniFormat)
                     .value(QStringLiteral("SETTING/Wait1Time"))
                     .toInt(),
                 10);
    }

    // Started and paused over a private session bus as a media key would;
    // then a logout's SIGTERM during the reading still saves.
    void remoteReading_thenTerminate_settingsWritten()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("dbus-daemon is not installed");
        QVERIFY(FixtureAudio::MakeVoiceFolder(dir.path(), {0, 1, 2}, 3.0, false));
        // No preamble, so the first card comes at once; the keys below are
        // the ones only a write of the settings adds.
        QFile::remove(ini());
        {
            QSettings settings(ini(), QSettings::IniFormat);
            settings.setValue(QStringLiteral("SETTING/chk_joka"), false);
            settings.setValue(QStringLiteral("SETTING/FudaList"), QStringLiteral("1,2"));
        }
        QProcess bus;
        bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        QVERIFY(bus.waitForReadyRead(5000));
        const QString address = QString::fromUtf8(bus.readLine()).trimmed();
        {
            QDBusConnection connection =
                QDBusConnection::connectToBus(address, QStringLiteral("private"));
            QVERIFY(connection.isConnected());

            QProcess process;
            QVERIFY(startAndWaitForWindow(process, address));
            QTRY_VERIFY_WITH_TIMEOUT(connection.interface()->isServiceRegistered(MprisService),
                                     5000);
            QDBusInterface player(MprisService, MprisPath, MprisPlayer, connection);

            player.call(QStringLiteral("PlayPause"));
            QTRY_COMPARE(player.property("PlaybackStatus").toString(), QStringLiteral("Playing"));
            QTRY_VERIFY_WITH_TIMEOUT(!player.property("Metadata").toMap().isEmpty(), 5000);

            const qint64 ms = endWith(process, SIGTERM);
            QVERIFY2(ms >= 0 && ms < 1000, qPrintable(QStringLiteral("took %1 ms").arg(ms)));
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            const QSettings settings(ini(), QSettings::IniFormat);
            QCOMPARE(settings.value(QStringLiteral("SETTING/Wait1Time")).toInt(), 10);
            QCOMPARE(settings.value(QStringLiteral("SETTING/FudaList")).toString(),
                     QStringLiteral("1,2"));
            // The reading cut short is kept in the history like a stopped one.
            const QStringList kept = QDir(dir.filePath(QStringLiteral("history")))
                                         .entryList({QStringLiteral("*.tsv")}, QDir::Files);
            QCOMPARE(kept.size(), 1);
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("private"));
        bus.terminate();
        QVERIFY(bus.waitForFinished(5000));
    }

    // The program does not link libarchive: it is loaded when a .zip is
    // opened, and its own words say it read this one.
    void importReader_zipOpenedWithTheLibraryLoadedThen()
    {
        const QString zip = dir.filePath(QStringLiteral("truncated.zip"));
        QFile file(zip);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("PK\x03\x04", 4) + QByteArray(8, 'x'));
        file.close();
        QProcess import;
        import.setWorkingDirectory(dir.path());
        import.setProcessEnvironment(environment());
        import.start(program, {QStringLiteral("--import-reader"), zip, QStringLiteral("zipped")});
        QVERIFY(import.waitForFinished(10000));
        QCOMPARE(import.exitCode(), 1);
        const QByteArray output = import.readAllStandardOutput() + import.readAllStandardError();
        QVERIFY2(output.contains("ZIP"), output.constData());
    }

    void secondStartInTheSameFolder_endsAndShowsTheFirst()
    {
        QProcess first;
        QVERIFY(startAndWaitForWindow(first));
        // On a loaded machine the first may still be starting: wait for its lock.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath(QStringLiteral("QtUtakaze.lock"))),
                                 10000);
        QProcess second;
        second.setWorkingDirectory(dir.path());
        second.setProcessEnvironment(environment());
        QElapsedTimer clock;
        clock.start();
        second.start(program, {});
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY2(clock.elapsed() < 3000,
                 qPrintable(QStringLiteral("took %1 ms").arg(clock.elapsed())));
        QByteArray log;
        QTRY_VERIFY(
            (log += first.readAllStandardError()).contains("a second start in this folder"));
        QVERIFY(first.state() == QProcess::Running);
        QVERIFY(endWith(first, SIGTERM) >= 0);
    }
};

QTEST_GUILESS_MAIN(TestExecutable)
#include "tst_executable.moc"
