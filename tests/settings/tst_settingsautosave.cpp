#include "AppSettings.h"
#include "SettingsAutoSave.h"
#include "TestData.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace TestData;
using Result = SettingsAutoSave::Result;

class TestSettingsAutoSave : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("QtUtakaze.ini")); }

    // A file of a newer version, with a group this one does not know.
    static QByteArray olderFile()
    {
        return "[CardSets]\nmine=\"1,2,3\"\n\n[SETTING]\nFudaList=\"87,18\"\nSelectVoice=0\n"
               "Wait1Time=10\nWait2Time=3\nchk_joka=true\n\n[ZZFUTURE]\nkey=1\n";
    }

    static ino_t inode(const QString &path)
    {
        struct stat info
        {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
    }

private slots:
    void init() { QVERIFY(writeFile(path(), olderFile())); }

    // The auto-save writes exactly what the write at exit writes.
    void saveNow_writesTheBytesTheExitWriteWrites()
    {
        AppSettings settings = AppSettings::load(path());
        settings.main.setWait1Time(14);
        settings.main.setFudaList({5, 6});
        SettingsAutoSave autoSave(path(), [&](const QString &file) { return settings.save(file); });
        QCOMPARE(autoSave.saveNow(), Result::Written);
        const QByteArray autoSaved = readFile(path());

        QVERIFY(writeFile(path(), olderFile()));
        QVERIFY(settings.save(path()));
        QCOMPARE(autoSaved, readFile(path()));
        QVERIFY(autoSaved.contains("[ZZFUTURE]") && autoSaved.contains("Wait1Time=14"));

        // A first start: no file yet.
        QVERIFY(QFile::remove(path()));
        QCOMPARE(autoSave.saveNow(), Result::Written);
        QVERIFY(readFile(path()).startsWith("[SETTING]\nFudaList=\"5,6\""));
    }

    // Same content: the file is not touched (same inode, no write); new
    // content replaces it by a rename, never in place.
    void saveNow_replacesTheFileOnlyWhenItsBytesChange()
    {
        AppSettings settings = AppSettings::load(path());
        SettingsAutoSave autoSave(path(), [&](const QString &file) { return settings.save(file); });
        const ino_t before = inode(path());
        QCOMPARE(autoSave.saveNow(), Result::Unchanged);
        QCOMPARE(autoSave.saveNow(), Result::Unchanged);
        QCOMPARE(inode(path()), before);
        QCOMPARE(readFile(path()), olderFile());

        settings.main.setChkJoka(false);
        QCOMPARE(autoSave.saveNow(), Result::Written);
        QVERIFY(inode(path()) != before);
        QVERIFY(readFile(path()).contains("chk_joka=false"));
    }

    // A writer that fails halfway, or a folder that cannot be written,
    // leaves the file whole as it was.
    void saveNow_failureKeepsTheOldFile()
    {
        SettingsAutoSave broken(path(), [](const QString &file) {
            writeFile(file, "[SETTING]\nFudaLi");
            return false;
        });
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot write the settings file"));
        QCOMPARE(broken.saveNow(), Result::Failed);
        QCOMPARE(broken.saveNow(), Result::Failed); // reported once
        QCOMPARE(readFile(path()), olderFile());

        const QString unwritable = dir.filePath("missing/QtUtakaze.ini");
        const AppSettings settings;
        SettingsAutoSave nowhere(unwritable,
                                 [&](const QString &file) { return settings.save(file); });
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot write the settings file"));
        QCOMPARE(nowhere.saveNow(), Result::Failed);
        QVERIFY(!QFileInfo::exists(unwritable));
    }

    // Changes in quick succession are written once, after the last one.
    void scheduleSave_debouncesABurstIntoOneWrite()
    {
        int writes = 0;
        AppSettings settings;
        SettingsAutoSave autoSave(path(), [&](const QString &file) {
            ++writes;
            return settings.save(file);
        });
        autoSave.setDelay(100);
        QElapsedTimer clock;
        clock.start();
        for (int wait = 1; wait <= 5; ++wait) {
            settings.main.setWait2Time(wait);
            autoSave.scheduleSave();
            QTest::qWait(30);
        }
        QCOMPARE(writes, 0);
        QTRY_COMPARE_WITH_TIMEOUT(writes, 1, 2000);
        QVERIFY(clock.elapsed() >= 4 * 30 + 100);
        QVERIFY(readFile(path()).contains("Wait2Time=5"));
        QTest::qWait(150);
        QCOMPARE(writes, 1);
        QVERIFY(!autoSave.isPending());
    }
};

QTEST_GUILESS_MAIN(TestSettingsAutoSave)
#include "tst_settingsautosave.moc"
