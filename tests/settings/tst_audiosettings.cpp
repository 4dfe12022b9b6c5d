#include "AudioSettings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// As the program writes it (QSettings orders the keys).
const QByteArray SettingGroup =
    "[SETTING]\nFudaList=\"1,2,3\"\nSelectVoice=0\nWait1Time=10\nWait2Time=3\nchk_joka=true\n";

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

class AudioSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir.isValid()); path = dir.filePath(QStringLiteral("QtUtakaze.ini")); }
    void load_appliesRules_data();
    void load_appliesRules();
    void saveDefaults_leavesFileAsItWas_data();
    void saveDefaults_leavesFileAsItWas();
    void save_roundTripsBesideSettingGroup();

private:
    QTemporaryDir dir;
    QString path;
};

void AudioSettingsTest::load_appliesRules_data()
{
    QTest::addColumn<QByteArray>("audioGroup");
    QTest::addColumn<bool>("trim");
    QTest::addColumn<bool>("normalize");
    QTest::addColumn<double>("speed");
    QTest::newRow("no group: defaults") << QByteArray() << false << false << 1.0;
    QTest::newRow("written values") << QByteArray("TrimSilence=true\nNormalize=true\nSpeed=0.7\n") << true << true << 0.7;
    QTest::newRow("1 and TRUE") << QByteArray("TrimSilence=1\nNormalize=TRUE\n") << true << true << 1.0;
    QTest::newRow("garbage: defaults") << QByteArray("TrimSilence=yes please\nNormalize=x\nSpeed=fast\n") << false << false << 1.0;
    QTest::newRow("empty values: defaults") << QByteArray("TrimSilence=\nNormalize=\nSpeed=\n") << false << false << 1.0;
    QTest::newRow("too slow: clamped") << QByteArray("Speed=0.1\n") << false << false << 0.5;
    QTest::newRow("too fast: clamped") << QByteArray("Speed=3\n") << false << false << 2.0;
    QTest::newRow("not finite: default") << QByteArray("Speed=inf\n") << false << false << 1.0;
}

void AudioSettingsTest::load_appliesRules()
{
    QFETCH(QByteArray, audioGroup);
    QFETCH(bool, trim);
    QFETCH(bool, normalize);
    QFETCH(double, speed);
    QVERIFY(writeAll(path, SettingGroup + (audioGroup.isEmpty() ? QByteArray() : "[AUDIO]\n" + audioGroup)));
    QSettings settings(path, QSettings::IniFormat);
    const AudioSettings loaded = AudioSettings::load(settings);
    QCOMPARE(loaded.trimSilence, trim);
    QCOMPARE(loaded.normalize, normalize);
    QCOMPARE(loaded.speed, speed);
    QCOMPARE(loaded.shaping().speed, speed);
}

void AudioSettingsTest::saveDefaults_leavesFileAsItWas_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("no group") << SettingGroup << SettingGroup;
    QTest::newRow("group back at defaults is removed")
        << QByteArray("[AUDIO]\nSpeed=1.5\n\n" + SettingGroup) << SettingGroup;
}

void AudioSettingsTest::saveDefaults_leavesFileAsItWas()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QVERIFY(writeAll(path, before));
    {
        QSettings settings(path, QSettings::IniFormat);
        AudioSettings().save(settings);
    }
    QCOMPARE(readAll(path), after);
}

void AudioSettingsTest::save_roundTripsBesideSettingGroup()
{
    QVERIFY(writeAll(path, SettingGroup));
    const AudioSettings chosen{true, false, 1.3};
    {
        QSettings settings(path, QSettings::IniFormat);
        chosen.save(settings);
    }
    QVERIFY(readAll(path).contains(SettingGroup));
    QSettings settings(path, QSettings::IniFormat);
    QCOMPARE(AudioSettings::load(settings), chosen);
}

QTEST_APPLESS_MAIN(AudioSettingsTest)
#include "tst_audiosettings.moc"
