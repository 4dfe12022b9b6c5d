#include "AudioSettings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(AudioSettings)

namespace {

// As the program writes it (QSettings orders the keys).
const QByteArray SettingGroup =
    "[SETTING]\nFudaList=\"1,2,3\"\nSelectVoice=0\nWait1Time=10\nWait2Time=3\nchk_joka=true\n";

} // namespace

class AudioSettingsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("QtUtakaze.ini")); }

    void writeFile(const QByteArray &bytes)
    {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

private slots:
    void load_appliesRules_data()
    {
        QTest::addColumn<QByteArray>("audioGroup");
        QTest::addColumn<AudioSettings>("expected");
        QTest::newRow("no group: defaults") << QByteArray() << AudioSettings {};
        QTest::newRow("written values")
            << QByteArray("TrimSilence=true\nNormalize=true\nSpeed=0.7\n")
            << AudioSettings {true, true, 0.7};
        QTest::newRow("1 and TRUE")
            << QByteArray("TrimSilence=1\nNormalize=TRUE\n") << AudioSettings {true, true, 1.0};
        QTest::newRow("garbage: defaults")
            << QByteArray("TrimSilence=yes please\nNormalize=x\nSpeed=fast\n") << AudioSettings {};
        QTest::newRow("too slow: clamped")
            << QByteArray("Speed=0.1\n") << AudioSettings {false, false, 0.5};
        QTest::newRow("too fast: clamped")
            << QByteArray("Speed=3\n") << AudioSettings {false, false, 2.0};
        QTest::newRow("not finite: default") << QByteArray("Speed=inf\n") << AudioSettings {};
    }

    void load_appliesRules()
    {
        QFETCH(QByteArray, audioGroup);
        QFETCH(AudioSettings, expected);
        writeFile(SettingGroup + (audioGroup.isEmpty() ? QByteArray() : "[AUDIO]\n" + audioGroup));
        QSettings settings(path(), QSettings::IniFormat);
        QCOMPARE(AudioSettings::load(settings), expected);
    }

    void save_writesGroupOnlyWhenNotDefault_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<AudioSettings>("saved");
        QTest::newRow("defaults, no group: file untouched") << SettingGroup << AudioSettings {};
        QTest::newRow("back to defaults: group removed")
            << QByteArray("[AUDIO]\nSpeed=1.5\n\n" + SettingGroup) << AudioSettings {};
        QTest::newRow("chosen values") << SettingGroup << AudioSettings {true, false, 1.3};
    }

    void save_writesGroupOnlyWhenNotDefault()
    {
        QFETCH(QByteArray, before);
        QFETCH(AudioSettings, saved);
        writeFile(before);
        {
            QSettings settings(path(), QSettings::IniFormat);
            saved.save(settings);
        }
        QFile file(path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray after = file.readAll();
        if (saved == AudioSettings {})
            QCOMPARE(after, SettingGroup);
        else
            QVERIFY(after.contains(SettingGroup));
        QSettings settings(path(), QSettings::IniFormat);
        QCOMPARE(AudioSettings::load(settings), saved);
    }
};

QTEST_APPLESS_MAIN(AudioSettingsTest)
#include "tst_audiosettings.moc"
