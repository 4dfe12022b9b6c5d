#include "AppSettings.h"
#include "TestData.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace TestData;

class TestSettings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("QtUtakaze.ini")); }

private slots:
    void cleanup() { QFile::remove(path()); }

    // The expected bytes are what the window wrote before the settings had a
    // class of their own, for the same values.
    void save_writesTheFileAsBefore_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("joka");
        QTest::addColumn<int>("wait1");
        QTest::addColumn<int>("wait2");
        QTest::addColumn<int>("voice");
        QTest::addColumn<QList<int>>("cards");
        QTest::addColumn<QByteArray>("expected");

        QByteArray all;
        for (int i = 1; i <= 100; ++i)
            all += QByteArray::number(i) + (i < 100 ? "," : "");
        QTest::newRow("defaults") << QByteArray() << true << 10 << 3 << 0 << allCards()
                                  << "[SETTING]\nFudaList=\"" + all
                + "\"\nSelectVoice=0\n"
                  "Wait1Time=10\nWait2Time=3\nchk_joka=true\n";
        QTest::newRow("changed values")
            << QByteArray() << false << 20 << 1 << 1 << QList<int> {87, 18, 57, 57}
            << QByteArray("[SETTING]\nFudaList=\"87,18,57,57\"\nSelectVoice=1\nWait1Time=20\n"
                          "Wait2Time=1\nchk_joka=false\n");
        QTest::newRow("no card") << QByteArray() << true << 1 << 10 << 0 << QList<int> {}
                                 << QByteArray("[SETTING]\nFudaList=\nSelectVoice=0\nWait1Time=1\n"
                                               "Wait2Time=10\nchk_joka=true\n");
        // Groups and keys of a newer version survive a save by this one.
        QTest::newRow("newer file")
            << QByteArray(
                   "[PRACTICE]\nStyle=2\n\n[SETTING]\nWait1Time=5\nFudaList=3,4\nFuture=x\n\n"
                   "[VIEW]\nPanel=true\n")
            << true << 5 << 3 << 0 << QList<int> {3, 4}
            << QByteArray("[PRACTICE]\nStyle=2\n\n[SETTING]\nFudaList=\"3,4\"\nFuture=x\n"
                          "SelectVoice=0\nWait1Time=5\nWait2Time=3\nchk_joka=true\n\n"
                          "[VIEW]\nPanel=true\n");
    }

    void save_writesTheFileAsBefore()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, joka);
        QFETCH(int, wait1);
        QFETCH(int, wait2);
        QFETCH(int, voice);
        QFETCH(QList<int>, cards);
        QFETCH(QByteArray, expected);

        if (!before.isEmpty())
            QVERIFY(writeFile(path(), before));
        AppSettings settings = AppSettings::load(path());
        settings.main.setChkJoka(joka);
        settings.main.setWait1Time(wait1);
        settings.main.setWait2Time(wait2);
        settings.main.setSelectVoice(voice);
        settings.main.setFudaList(cards);
        QVERIFY(settings.save(path()));
        QCOMPARE(readFile(path()), expected);

        // And it reads back as it was saved.
        const MainSettings again = AppSettings::load(path()).main;
        QCOMPARE(again.chkJoka(), joka);
        QCOMPARE(again.wait1Time(), wait1);
        QCOMPARE(again.wait2Time(), wait2);
        QCOMPARE(again.selectVoice(), voice);
        QCOMPARE(again.fudaList(), cards.isEmpty() ? allCards() : cards);
    }

    void load_missingFileGivesDefaults()
    {
        const MainSettings values = AppSettings::load(path()).main;
        QCOMPARE(values.chkJoka(), true);
        QCOMPARE(values.wait1Time(), 10);
        QCOMPARE(values.wait2Time(), 3);
        QCOMPARE(values.selectVoice(), 0);
        QCOMPARE(values.fudaList(), allCards());
        QVERIFY(!QFile::exists(path()));
    }

    void setters_clampToWhatTheWindowShows()
    {
        MainSettings values;
        values.setWait1Time(0);
        values.setWait2Time(11);
        QCOMPARE(values.wait1Time(), MainSettings::MinWait1);
        QCOMPARE(values.wait2Time(), MainSettings::MaxWait2);
        values.setWait1Time(INT_MAX);
        values.setWait2Time(INT_MIN);
        QCOMPARE(values.wait1Time(), MainSettings::MaxWait1);
        QCOMPARE(values.wait2Time(), MainSettings::MinWait2);
        values.setSelectVoice(-3);
        QCOMPARE(values.selectVoice(), 1); // the reading took any other number as the second voice
        values.setFudaList({0, 1, 100, 101, -5, 1});
        QCOMPARE(values.fudaList(), (QList<int> {1, 100, 1}));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
