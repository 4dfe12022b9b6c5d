#include "AppFolder.h"
#include "DataLocations.h"
#include "ReaderInUse.h"
#include "TestData.h"
#include "Voices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using Mode = DataLocations::Mode;

class TestDataLocations : public QObject
{
    Q_OBJECT

    // An installed layout: <root>/lib/qtutakaze (program), <root>/share/qtutakaze.
    QTemporaryDir root;
    QString program;
    QString shared;

    QProcessEnvironment homeOnly(const QString &home) const
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("HOME"), home);
        return environment;
    }

    static void touch(const QString &path)
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(TestData::writeFile(path, "x"));
    }

private slots:
    void init()
    {
        program = root.filePath("usr/lib/qtutakaze");
        shared = root.filePath("usr/share/qtutakaze");
        QVERIFY(QDir().mkpath(program));
        QVERIFY(QDir().mkpath(shared));
    }

    void cleanup()
    {
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(root.path()).removeRecursively();
    }

    void modeFor_writableFolderIsPortable_otherwisePerUser()
    {
        QProcessEnvironment environment = homeOnly(root.path());
        QCOMPARE(DataLocations::modeFor(program, environment), Mode::Portable);
        QCOMPARE(DataLocations::modeFor(root.filePath("missing"), environment), Mode::PerUser);

        // A package's folder asks for per-user data even of root; the
        // variable overrides both ways.
        touch(program + "/QtUtakaze.per-user");
        QCOMPARE(DataLocations::modeFor(program, environment), Mode::PerUser);
        environment.insert("QTUTAKAZE_DATA_MODE", "portable");
        QCOMPARE(DataLocations::modeFor(program, environment), Mode::Portable);
        QVERIFY(QFile::remove(program + "/QtUtakaze.per-user"));
        environment.insert("QTUTAKAZE_DATA_MODE", "per-user");
        QCOMPARE(DataLocations::modeFor(program, environment), Mode::PerUser);

        if (geteuid() == 0)
            QSKIP("root writes into any folder: the read-only case needs another user");
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
        QCOMPARE(DataLocations::modeFor(program, homeOnly(root.path())), Mode::PerUser);
    }

    void perUser_followsXdgVariablesOrHomeDefaults()
    {
        QProcessEnvironment environment = homeOnly("/home/reader");
        DataLocations locations = DataLocations::perUser(program, environment);
        QCOMPARE(locations.settingsFile(), QString("/home/reader/.config/QtUtakaze/QtUtakaze.ini"));
        QCOMPARE(locations.dataFolder(), QString("/home/reader/.local/share/QtUtakaze"));
        QCOMPARE(locations.sharedFolder(), shared);

        environment.insert("XDG_CONFIG_HOME", "/cfg/");
        environment.insert("XDG_DATA_HOME", "/data");
        locations = DataLocations::perUser(program, environment);
        QCOMPARE(locations.settingsFile(), QString("/cfg/QtUtakaze/QtUtakaze.ini"));
        QCOMPARE(locations.dataFolder(), QString("/data/QtUtakaze"));

        // Relative values are ignored, as the XDG rules say.
        environment.insert("XDG_CONFIG_HOME", "relative/cfg");
        environment.insert("XDG_DATA_HOME", "");
        locations = DataLocations::perUser(program, environment);
        QCOMPARE(locations.settingsFolder(), QString("/home/reader/.config/QtUtakaze"));
        QCOMPARE(locations.dataFolder(), QString("/home/reader/.local/share/QtUtakaze"));

        const DataLocations portable = DataLocations::portable(program);
        QCOMPARE(portable.settingsFolder(), program);
        QCOMPARE(portable.dataFolder(), program);
        QCOMPARE(portable.lookupFolders(), QStringList {program});
    }

    void findFile_looksInUserThenProgramThenShared()
    {
        const DataLocations locations =
            DataLocations::perUser(program, homeOnly(root.filePath("home")));
        QCOMPARE(locations.lookupFolders(),
                 (QStringList {locations.dataFolder(), program, shared}));
        QCOMPARE(locations.findFile("start.wav"), QString());
        touch(shared + "/start.wav");
        QCOMPARE(locations.findFile("start.wav"), shared + "/start.wav");
        touch(program + "/start.wav");
        QCOMPARE(locations.findFile("start.wav"), program + "/start.wav");
        touch(locations.dataFolder() + "/start.wav");
        QCOMPARE(locations.findFile("start.wav"), locations.dataFolder() + "/start.wav");
        // A folder under a cue's name is no cue.
        QVERIFY(QDir().mkpath(locations.dataFolder() + "/fine.wav"));
        touch(shared + "/fine.wav");
        QCOMPARE(locations.findFile("fine.wav"), shared + "/fine.wav");
    }

    void createFolders_makesBothAndReportsWhatCannotBeMade()
    {
        QProcessEnvironment environment = homeOnly(root.filePath("home"));
        const DataLocations fresh = DataLocations::perUser(program, environment);
        QCOMPARE(fresh.createFolders(), QStringList());
        QVERIFY(QFileInfo(fresh.settingsFolder()).isDir());
        QVERIFY(QFileInfo(fresh.dataFolder()).isDir());
        QCOMPARE(fresh.createFolders(), QStringList()); // already there

        // A plain file where a folder should be: not even root can make it.
        touch(root.filePath("blocked"));
        environment.insert("XDG_CONFIG_HOME", root.filePath("blocked"));
        const DataLocations blocked = DataLocations::perUser(program, environment);
        QCOMPARE(blocked.createFolders(), QStringList {blocked.settingsFolder()});

        QVERIFY(QDir(program).isEmpty());
        QCOMPARE(DataLocations::portable(program).createFolders(), QStringList());
        QVERIFY(QDir(program).isEmpty());
    }

    void appFolder_perUserModeServesTheWindowsPathsVoicesAndCues()
    {
        const DataLocations locations =
            DataLocations::perUser(program, homeOnly(root.filePath("home")));
        const AppFolder perUser(locations);
        const ReaderInUse noReader;
        QCOMPARE(perUser.filePath("QtUtakaze.ini"), locations.settingsFile());
        QCOMPARE(perUser.filePath("history"), locations.dataFolder() + "/history");
        QCOMPARE(perUser.path(), locations.dataFolder());
        const Voices voices(perUser, noReader);

        // The package's voice serves until the user puts in one of their own.
        touch(shared + "/Music/rindou_007_1.ogg");
        QCOMPARE(voices.filePath(Voices::First, 7, 1), shared + "/Music/rindou_007_1.ogg");
        touch(locations.dataFolder() + "/Music/rindou_007_1.flac");
        QCOMPARE(voices.filePath(Voices::First, 7, 1),
                 locations.dataFolder() + "/Music/rindou_007_1.flac");
        QCOMPARE(voices.filePath(Voices::First, 8, 1),
                 locations.dataFolder() + "/Music/rindou_008_1.ogg"); // missing everywhere
        touch(shared + "/before2min.wav");
        QCOMPARE(perUser.cueFile("before2min.wav"), shared + "/before2min.wav");
        QCOMPARE(perUser.cueFile("start.wav"), QString("start.wav"));

        // Portable: as always, beside the program; cues by bare name.
        const AppFolder portable = AppFolder::portable(program);
        QCOMPARE(portable.filePath("QtUtakaze.ini"), program + "/QtUtakaze.ini");
        QCOMPARE(Voices(portable, noReader).filePath(Voices::First, 7, 1),
                 program + "/Music/rindou_007_1.ogg");
        QCOMPARE(portable.cueFile("before2min.wav"), QString("before2min.wav"));
        // Started from a launcher: the cue beside the program, unless the
        // working directory has its own.
        touch(program + "/fine.wav");
        QVERIFY(QDir::currentPath() != QDir(program).absolutePath());
        QCOMPARE(portable.cueFile("fine.wav"), program + "/fine.wav");
        const QString workingDirectory = QDir::currentPath();
        touch(root.filePath("home") + "/fine.wav");
        QVERIFY(QDir::setCurrent(root.filePath("home")));
        QCOMPARE(portable.cueFile("fine.wav"), QString("fine.wav"));
        QVERIFY(QDir::setCurrent(workingDirectory));
    }
};

QTEST_GUILESS_MAIN(TestDataLocations)
#include "tst_datalocations.moc"
