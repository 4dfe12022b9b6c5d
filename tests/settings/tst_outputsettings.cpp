#include "AppSettings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class OutputSettingsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("QtUtakaze.ini")); }

    // The file after the program loaded `bytes` and saved with `output` (if given).
    QByteArray writeAndSave(const QByteArray &bytes, const OutputSettings *output)
    {
        QFile file(path());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) < 0)
            return {};
        file.close();
        AppSettings settings = AppSettings::load(path());
        settings.output = output ? *output : settings.output;
        settings.save(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void load_takesValuesAndRefusesNonsense()
    {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[OUTPUT]\nBroadcast=true\nOwnServer=false\nHost=club.example\n"
                   "StreamPort=2704\nControlPort=0\nSourcePort=70000\nBufferMs=50\n"
                   "LocalClient=maybe\n");
        file.close();
        QSettings settings(path(), QSettings::IniFormat);
        const OutputSettings loaded = OutputSettings::load(settings);
        QVERIFY(loaded.broadcast);
        QVERIFY(!loaded.ownServer);
        QCOMPARE(loaded.serverHost(), QStringLiteral("club.example"));
        QCOMPARE(loaded.streamPort, 2704);
        QCOMPARE(loaded.controlPort, OutputSettings::DefaultControlPort);
        QCOMPARE(loaded.sourcePort, OutputSettings::DefaultSourcePort);
        QCOMPARE(loaded.bufferMs, OutputSettings::MinBufferMs);
        QVERIFY(loaded.localClient);
    }

    // A file of someone who never broadcast gains nothing; one who did keeps
    // the server's details when broadcast is switched off again.
    void save_writesGroupOnlyOnceUsed()
    {
        const QByteArray before = "[SETTING]\nWait1Time=10\n";
        QVERIFY(!writeAndSave(before, nullptr).contains("[OUTPUT]"));

        OutputSettings on;
        on.broadcast = true;
        on.streamPort = 2704;
        const QByteArray used = writeAndSave(before, &on);
        QVERIFY(used.contains("[OUTPUT]"));
        QVERIFY(used.contains("Broadcast=true"));

        OutputSettings off = on;
        off.broadcast = false;
        const QByteArray switchedOff = writeAndSave(used, &off);
        QVERIFY(switchedOff.contains("Broadcast=false"));
        QVERIFY(switchedOff.contains("StreamPort=2704"));
        QSettings reread(path(), QSettings::IniFormat);
        QCOMPARE(OutputSettings::load(reread), off);
    }
};

QTEST_APPLESS_MAIN(OutputSettingsTest)
#include "tst_outputsettings.moc"
