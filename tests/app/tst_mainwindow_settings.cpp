#include "FixtureAudio.h"
#include "MainWindowProbe.h"
#include "QuickAudioDevice.h"
#include "TestData.h"
#include "WindowServices.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <unistd.h>

namespace {

using namespace TestData;

// The voice-2 probe decides whether a stored second voice survives.
bool makeProbeFiles(const QString &dir, bool voice1, bool voice2)
{
    QDir d(dir);
    if (voice1
        && !(d.mkpath(QStringLiteral("Music"))
             && writeFile(d.filePath(QStringLiteral("Music/rindou_000_2.ogg")), "x")))
        return false;
    if (voice2
        && !(d.mkpath(QStringLiteral("Music2"))
             && writeFile(d.filePath(QStringLiteral("Music2/asagao_000_2.ogg")), "x")))
        return false;
    return true;
}

} // namespace

class TestMainWindowSettings : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowServices> dir;

    QString iniPath() const { return dir->filePath(QStringLiteral("QtUtakaze.ini")); }

private slots:
    void init()
    {
        dir = std::make_unique<WindowServices>();
        QuickAudioDevice::install(dir->audio);
        QVERIFY(dir->isValid());
    }

    void cleanup() { dir.reset(); }

    void noFile_defaultsAndAllKeysWrittenAtExit()
    {
        {
            MainWindow window(dir->services());
            MainWindowProbe probe(window);
            QCOMPARE(probe.chkJoka(), true);
            QCOMPARE(probe.wait1Time(), 10);
            QCOMPARE(probe.wait2Time(), 3);
            QCOMPARE(probe.selectVoice(), 0);
            QCOMPARE(probe.fudaList(), allCards());
            QCOMPARE(probe.ui()->spinBox_1->value(), 10);
            QCOMPARE(probe.ui()->spinBox_2->value(), 3);
            QVERIFY(probe.ui()->checkBox->isChecked());
            QVERIFY(!QFile::exists(iniPath())); // written only at exit
        }
        QSettings stored(iniPath(), QSettings::IniFormat);
        QCOMPARE(stored.value("SETTING/chk_joka").toString(), QStringLiteral("true"));
        QCOMPARE(stored.value("SETTING/Wait1Time").toInt(), 10);
        QCOMPARE(stored.value("SETTING/Wait2Time").toInt(), 3);
        QCOMPARE(stored.value("SETTING/SelectVoice").toInt(), 0);
        QString expected;
        for (int i = 1; i <= 100; ++i)
            expected += QString::number(i) + (i < 100 ? "," : "");
        QCOMPARE(stored.value("SETTING/FudaList").toString(), expected);
        QVERIFY(readFile(iniPath()).contains("FudaList=\"1,2,3,"));
    }

    void storedValues_readClampedAndWrittenBack_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("voice2");
        QTest::addColumn<bool>("chkJoka");
        QTest::addColumn<int>("wait1");
        QTest::addColumn<int>("wait2");
        QTest::addColumn<int>("voice");
        QTest::addColumn<QList<int>>("cards");

        const QByteArray head = "[SETTING]\n";
        QTest::newRow("quoted list with junk")
            << head + "FudaList=\"5,0,101,abc,5,,7\"\n"
            << false << true << 10 << 3 << 0 << QList<int> {5, 5, 7};
        QTest::newRow("unquoted list with junk")
            << head + "FudaList=5,0,101,abc,5,,7\n"
            << false << true << 10 << 3 << 0 << QList<int> {5, 5, 7};
        QTest::newRow("empty list means all cards") << head + "FudaList=\n"
                                                    << false << true << 10 << 3 << 0 << allCards();
        QTest::newRow("three commas mean no card")
            << head + "FudaList=\",,,\"\n"
            << false << true << 10 << 3 << 0 << QList<int> {};
        QTest::newRow("order kept") << head + "FudaList=\"87,18,57\"\n"
                                    << false << true << 10 << 3 << 0 << QList<int> {87, 18, 57};
        QTest::newRow("pauses zero") << head + "Wait1Time=0\nWait2Time=0\n"
                                     << false << true << 1 << 1 << 0 << allCards();
        QTest::newRow("pauses too long") << head + "Wait1Time=25\nWait2Time=11\n"
                                         << false << true << 20 << 10 << 0 << allCards();
        QTest::newRow("pauses negative and not numbers")
            << head + "Wait1Time=-4\nWait2Time=abc\n"
            << false << true << 1 << 1 << 0 << allCards();
        QTest::newRow("pauses beyond int")
            << head + "Wait1Time=99999999999\nWait2Time=-99999999999\n"
            << false << true << 1 << 1 << 0 << allCards();
        QTest::newRow("pauses at the bounds") << head + "Wait1Time=20\nWait2Time=1\n"
                                              << false << true << 20 << 1 << 0 << allCards();
        QTest::newRow("joka FALSE") << head + "chk_joka=FALSE\n"
                                    << false << false << 10 << 3 << 0 << allCards();
        QTest::newRow("joka 0") << head + "chk_joka=0\n"
                                << false << false << 10 << 3 << 0 << allCards();
        QTest::newRow("joka empty") << head + "chk_joka=\n"
                                    << false << false << 10 << 3 << 0 << allCards();
        QTest::newRow("joka other word") << head + "chk_joka=yes\n"
                                         << false << true << 10 << 3 << 0 << allCards();
        QTest::newRow("voice 1 without second voice")
            << head + "SelectVoice=1\n"
            << false << true << 10 << 3 << 0 << allCards();
        QTest::newRow("voice 1 with second voice") << head + "SelectVoice=1\n"
                                                   << true << true << 10 << 3 << 1 << allCards();
    }

    void storedValues_readClampedAndWrittenBack()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, voice2);
        QFETCH(bool, chkJoka);
        QFETCH(int, wait1);
        QFETCH(int, wait2);
        QFETCH(int, voice);
        QFETCH(QList<int>, cards);

        QVERIFY(writeFile(iniPath(), ini));
        QVERIFY(makeProbeFiles(dir->path(), true, voice2));
        {
            MainWindow window(dir->services());
            MainWindowProbe probe(window);
            QCOMPARE(probe.chkJoka(), chkJoka);
            QCOMPARE(probe.ui()->checkBox->isChecked(), chkJoka);
            QCOMPARE(probe.wait1Time(), wait1);
            QCOMPARE(probe.wait2Time(), wait2);
            QCOMPARE(probe.ui()->spinBox_1->value(), wait1);
            QCOMPARE(probe.ui()->spinBox_2->value(), wait2);
            QCOMPARE(probe.selectVoice(), voice);
            QCOMPARE(probe.fudaList(), cards);
        }
        // What is in effect is what is written back.
        QSettings stored(iniPath(), QSettings::IniFormat);
        QCOMPARE(stored.value("SETTING/chk_joka").toBool(), chkJoka);
        QCOMPARE(stored.value("SETTING/Wait1Time").toInt(), wait1);
        QCOMPARE(stored.value("SETTING/Wait2Time").toInt(), wait2);
        QCOMPARE(stored.value("SETTING/SelectVoice").toInt(), voice);
        QCOMPARE(stored.value("SETTING/FudaList").toString(), MakeFudaListString(&cards));
    }

    void makeFudaListString_formats()
    {
        const QList<int> empty;
        QCOMPARE(MakeFudaListString(&empty), QString());
        const QList<int> one {7};
        QCOMPARE(MakeFudaListString(&one), QStringLiteral("7"));
        const QList<int> three {87, 18, 57};
        QCOMPARE(MakeFudaListString(&three), QStringLiteral("87,18,57"));
    }

    void emptySelection_storedEmpty_nextRunSelectsAll()
    {
        QVERIFY(writeFile(iniPath(), "[SETTING]\nFudaList=\",,,\"\n"));
        {
            MainWindow window(dir->services());
            QCOMPARE(MainWindowProbe(window).fudaList(), QList<int> {});
        }
        QCOMPARE(QSettings(iniPath(), QSettings::IniFormat).value("SETTING/FudaList").toString(),
                 QString());
        MainWindow again(dir->services());
        QCOMPARE(MainWindowProbe(again).fudaList(), allCards());
    }

    void garbageFile_defaultsWithoutCrash()
    {
        QByteArray bytes(64 * 1024, '\0');
        QRandomGenerator generator(99);
        for (char &c : bytes)
            c = static_cast<char>(generator.bounded(256));
        QVERIFY(writeFile(iniPath(), bytes));
        {
            MainWindow window(dir->services());
            MainWindowProbe probe(window);
            QVERIFY(probe.wait1Time() >= 1 && probe.wait1Time() <= 20);
            QVERIFY(probe.wait2Time() >= 1 && probe.wait2Time() <= 10);
            for (int card : probe.fudaList())
                QVERIFY(card >= 1 && card <= 100);
        }
        // The settings are still readable afterwards.
        MainWindow again(dir->services());
        QCOMPARE(MainWindowProbe(again).wait1Time(),
                 MainWindowProbe(again).ui()->spinBox_1->value());
    }

    void hugeFudaList_readWithoutCrash()
    {
        // 1 MiB, over 200 000 entries: thousands of times any real list, and
        // reading it goes through every step a larger one would.
        QByteArray list;
        list.reserve(1024 * 1024 + 16);
        while (list.size() < 1024 * 1024)
            list += "42,abc,7,";
        QVERIFY(writeFile(iniPath(), "[SETTING]\nFudaList=\"" + list + "\"\n"));
        MainWindow window(dir->services());
        const QList<int> cards = MainWindowProbe(window).fudaList();
        QVERIFY(cards.size() > 1000);
        QCOMPARE(cards.at(0), 42);
        QCOMPARE(cards.at(1), 7);
    }

    // Run as a different user by readOnlyFolder_oldFileKept when the tests run as root.
    void readOnlyChild()
    {
        const QString folder = qEnvironmentVariable("QTUTAKAZE_READONLY_CHILD");
        if (folder.isEmpty())
            QSKIP("only run as the child of readOnlyFolder_oldFileKept");
        WindowServices app(folder);
        QuickAudioDevice::install(app.audio);
        MainWindow window(app.services());
        MainWindowProbe(window).ui()->spinBox_1->setValue(17);
        MainWindowProbe(window).ui()->checkBox->setChecked(false);
    }

    void readOnlyFolder_oldFileKept()
    {
        if (!qEnvironmentVariableIsEmpty("QTUTAKAZE_READONLY_CHILD"))
            QSKIP("child run");
        const QByteArray original = "[SETTING]\nWait1Time=5\nFudaList=\"3,4\"\n";
        QVERIFY(writeFile(iniPath(), original));
        QVERIFY(QFile::setPermissions(
            iniPath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(QFile::setPermissions(dir->path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                          | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                          | QFile::ExeOther));
        if (geteuid() == 0) {
            // Root writes anywhere: run the window as an unprivileged user
            // against the root-owned folder and file.
            const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            if (setpriv.isEmpty())
                QSKIP("setpriv is missing: cannot drop root for the read-only test");
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QTUTAKAZE_READONLY_CHILD"), dir->path());
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QStringLiteral("/tmp"));
            child.setProcessEnvironment(env);
            child.start(setpriv,
                        {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                         QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(),
                         QStringLiteral("readOnlyChild")});
            QVERIFY(child.waitForFinished(60000));
            const QByteArray output = child.readAllStandardOutput() + child.readAllStandardError();
            QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output);
            QVERIFY2(output.contains("PASS   : TestMainWindowSettings::readOnlyChild"),
                     "the unprivileged child did not run");
        } else {
            readOnlyChildInProcess();
        }
        QCOMPARE(readFile(iniPath()), original);
        QVERIFY(QFile::setPermissions(dir->path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

private:
    void readOnlyChildInProcess()
    {
        MainWindow window(dir->services());
        MainWindowProbe(window).ui()->spinBox_1->setValue(17);
    }
};

QTEST_MAIN(TestMainWindowSettings)
#include "tst_mainwindow_settings.moc"
