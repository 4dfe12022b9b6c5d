#include "AppSettings.h"
#include "TestData.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// [VOICES] Reader: read only as a usable folder name, written only while set,
// so the file of someone who never chose a reader stays byte for byte.
using namespace TestData;

class VoiceSettingsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("QtUtakaze.ini")); }

private slots:
    void load_takesOnlyUsableNames_data()
    {
        QTest::addColumn<QByteArray>("group");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no group") << QByteArray() << QString();
        QTest::newRow("a name") << QByteArray("Reader=Ono\n") << QStringLiteral("Ono");
        QTest::newRow("a path") << QByteArray("Reader=../../etc\n") << QString();
        QTest::newRow("hidden") << QByteArray("Reader=.import-x\n") << QString();
    }

    void load_takesOnlyUsableNames()
    {
        QFETCH(QByteArray, group);
        QFETCH(QString, expected);
        QVERIFY(writeFile(path(),
                          "[SETTING]\nSelectVoice=1\n"
                              + (group.isEmpty() ? QByteArray() : "[VOICES]\n" + group)));
        QCOMPARE(AppSettings::load(path()).voices.reader, expected);
    }

    void save_writesGroupOnlyWhileSet()
    {
        QVERIFY(writeFile(path(), "[SETTING]\nSelectVoice=1\n"));
        AppSettings settings = AppSettings::load(path());
        QVERIFY(settings.save(path()));
        const QByteArray before = readFile(path());
        QVERIFY(settings.save(path()));
        QCOMPARE(readFile(path()), before);

        settings.voices.reader = QStringLiteral("小野");
        QVERIFY(settings.save(path()));
        QCOMPARE(AppSettings::load(path()).voices.reader, QStringLiteral("小野"));
        QCOMPARE(AppSettings::load(path()).main.selectVoice(), 1);

        // Back to the two voices: the file as it was.
        settings.voices.reader.clear();
        QVERIFY(settings.save(path()));
        QCOMPARE(readFile(path()), before);
    }
};

QTEST_APPLESS_MAIN(VoiceSettingsTest)
#include "tst_voicesettings.moc"
