#include "ScopedAppFolder.h"
#include "Voices.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestVoices : public QObject
{
    Q_OBJECT

private slots:
    void filePath_namesEveryVoiceCardAndHalf()
    {
        ScopedAppFolder dir;
        QCOMPARE(dir.voices().filePath(Voices::First, 7, 1),
                 dir.filePath("Music/rindou_007_1.ogg"));
        QCOMPARE(dir.voices().filePath(Voices::Second, 100, 2),
                 dir.filePath("Music2/asagao_100_2.ogg"));
        QCOMPARE(dir.voices().filePath(Voices::First, 0, 2),
                 dir.filePath("Music/rindou_000_2.ogg"));
        // Any voice other than the first is the second, as the settings store it.
        QCOMPARE(dir.voices().filePath(5, 12, 1), dir.filePath("Music2/asagao_012_1.ogg"));
        QCOMPARE(Voices::folderName(Voices::Second), QStringLiteral("Music2"));
    }

    void isAvailable_looksForThePreambleLowerVerse()
    {
        ScopedAppFolder dir;
        QVERIFY(!dir.voices().isAvailable(Voices::First));
        QVERIFY(QDir(dir.path()).mkpath("Music"));
        QFile other(dir.filePath("Music/rindou_001_1.ogg"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();
        QVERIFY(!dir.voices().isAvailable(Voices::First)); // only the probe file counts
        QFile probe(dir.filePath("Music/rindou_000_2.ogg"));
        QVERIFY(probe.open(QIODevice::WriteOnly));
        probe.close();
        QVERIFY(dir.voices().isAvailable(Voices::First));
        QVERIFY(!dir.voices().isAvailable(Voices::Second));
    }
};

QTEST_GUILESS_MAIN(TestVoices)
#include "tst_voices.moc"
