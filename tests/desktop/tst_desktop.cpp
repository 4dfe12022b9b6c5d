#include "AboutText.h"
#include "CardCatalog.h"
#include "DataFoldersDialog.h"
#include "MprisAdaptors.h"
#include "MprisController.h"
#include "QuitSignalNotifier.h"
#include "ScreenFit.h"
#include "SingleInstance.h"
#include "UiLanguage.h"

#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// The desktop pieces without a desktop: language choice, signals, the
// one-program-per-folder lock and the remote control's request rules.
class TestDesktop : public QObject
{
    Q_OBJECT

private slots:
    void language_followsFirstPreferredLanguage_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<int>("expected");
        const int ja = UiLanguage::Japanese;
        const int en = UiLanguage::English;
        QTest::newRow("nothing set") << QStringList() << ja;
        QTest::newRow("C") << QStringList {"C"} << ja;
        QTest::newRow("C.UTF-8") << QStringList {"C.UTF-8"} << ja;
        QTest::newRow("ja-JP") << QStringList {"ja-JP", "ja"} << ja;
        QTest::newRow("de-DE") << QStringList {"de-DE", "de"} << en;
        QTest::newRow("LANGUAGE=en before ja") << QStringList {"en", "ja-JP"} << en;
    }

    void language_followsFirstPreferredLanguage()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(int, expected);
        QCOMPARE(static_cast<int>(UiLanguage::choose(uiLanguages)), expected);
    }

    // Qt's own buttons speak Japanese with a Japanese interface.
    void language_japaneseTranslatesQtsOwnTexts()
    {
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
        QVERIFY(UiLanguage::install(*QCoreApplication::instance(), UiLanguage::Japanese));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("キャンセル"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"),
                 QStringLiteral("いいえ(&N)"));
    }

    // The About box keeps its opening lines and credits every library and voice.
    void aboutText_keepsItsHeadingAndNamesTheLicences()
    {
        QCoreApplication::setApplicationName(QStringLiteral("QtUtakaze"));
        QCoreApplication::setApplicationVersion(QStringLiteral("1.2"));
        const QString text = AboutText::html();
        QVERIFY(text.startsWith(QStringLiteral("<h2>QtUtakaze 1.2</h2><p>use Qt6 (")));
        for (const char *credit :
             {"Qt", "SDL2", "libsndfile", "libsamplerate", "libebur128", "Rubber Band",
              "Open JTalk", "LGPL-3.0", "zlib", "LGPL-2.1+", "BSD-2-Clause", "MIT", "GPL-2.0+",
              "BSD-3-Clause", "Mei", "Takumi", "CC BY 3.0"})
            QVERIFY2(text.contains(QLatin1String(credit)), credit);
    }

    // As main() wires it: the signal leaves a dialog's loop and the main loop.
    void quitSignal_leavesAnOpenDialogAndTheMainLoop()
    {
        QuitSignalNotifier notifier;
        QVERIFY(notifier.isActive());
        connect(&notifier, &QuitSignalNotifier::quitRequested, qApp,
                [] { QCoreApplication::exit(0); });
        QDialog dialog;
        bool dialogReturned = false;
        QTimer::singleShot(0, &dialog, [&dialog, &dialogReturned] {
            // The signal comes from inside the dialog's own event loop.
            QTimer::singleShot(0, [] { ::raise(SIGTERM); });
            dialog.exec();
            dialogReturned = true;
        });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(dialogReturned);
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    }

    void singleInstance_lockOfADeadProgramIsTakenOver()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QProcess gone;
        gone.start(QStringLiteral("true"));
        QVERIFY(gone.waitForStarted());
        const qint64 deadPid = gone.processId();
        QVERIFY(gone.waitForFinished());
        QFile lock(dir.filePath(QStringLiteral("QtUtakaze.lock")));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(deadPid) + "\nQtUtakaze\n"
                   + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();

        SingleInstance instance(dir.path());
        QVERIFY(instance.claim());
    }

    void singleInstance_withoutLockFileTheSocketDecides()
    {
        // A folder where no lock file can be made (here: one that does not exist).
        const QString folder = QDir::temp().filePath(QStringLiteral("qtutakaze-no-such-folder"));
        QVERIFY(!QFile::exists(folder));
        SingleInstance first(folder);
        QSignalSpy activated(&first, &SingleInstance::activationRequested);
        QVERIFY(first.claim());
        SingleInstance second(folder);
        QVERIFY(!second.claim());
        QTRY_COMPARE(activated.count(), 1);
        QVERIFY(SingleInstance::serverName(folder) != SingleInstance::serverName(QDir::tempPath()));
    }

    // A crashed program leaves its socket file behind; anything but the one
    // request line leaves the window alone.
    void singleInstance_staleSocketFileAndStrayRequests()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = SingleInstance::socketPath(dir.path());
        QFile stale(path);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        SingleInstance first(dir.path());
        QSignalSpy activated(&first, &SingleInstance::activationRequested);
        QVERIFY(first.claim());

        for (const QByteArray &request : {QByteArray("activate"), QByteArray("raise\n")}) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address {};
            address.sun_family = AF_UNIX;
            qstrncpy(address.sun_path, QFile::encodeName(path).constData(),
                     sizeof address.sun_path);
            QCOMPARE(::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
            QCOMPARE(::write(fd, request.constData(), size_t(request.size())),
                     ssize_t(request.size()));
            ::close(fd);
        }
        SingleInstance second(dir.path());
        QVERIFY(!second.claim());
        QTRY_COMPARE(activated.count(), 1);
        QTest::qWait(20); // nothing more arrives
        QCOMPARE(activated.count(), 1);
    }

    void mpris_requestsFollowThePlayerState()
    {
        MprisController controller;
        auto *player = controller.findChild<MprisPlayerAdaptor *>();
        QSignalSpy play(&controller, &MprisController::playRequested);
        QSignalSpy pause(&controller, &MprisController::pauseRequested);
        QSignalSpy stop(&controller, &MprisController::stopRequested);
        QSignalSpy next(&controller, &MprisController::nextRequested);
        const auto counts = [&] {
            return QList<qsizetype> {play.count(), pause.count(), stop.count()};
        };

        // Stopped: only Play is passed on.
        player->Play();
        player->Pause();
        player->Stop();
        QCOMPARE(counts(), (QList<qsizetype> {1, 0, 0}));
        // Playing: Play is not, Pause and Stop are.
        controller.setStatus(MprisController::Status::Playing);
        QCOMPARE(player->playbackStatus(), QStringLiteral("Playing"));
        player->Play();
        player->Pause();
        player->Stop();
        QCOMPARE(counts(), (QList<qsizetype> {1, 1, 1}));
        // Next only once a reading offers it.
        player->Next();
        controller.setCanGoNext(true);
        player->Next();
        QCOMPARE(next.count(), 1);
    }

    void mpris_metadataOfTheCard()
    {
        MprisController controller;
        controller.setCard(7, QStringLiteral("第7首 あまのはら"), CardCatalog::builtIn().poet(7));
        const QVariantMap metadata = controller.findChild<MprisPlayerAdaptor *>()->metadata();
        QCOMPARE(metadata.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
                 QStringLiteral("/io/github/qtutakaze/card/7"));
        QCOMPARE(metadata.value(QStringLiteral("xesam:artist")).toStringList(),
                 QStringList {QStringLiteral("安倍仲麿")});
        controller.clearCard();
        QVERIFY(controller.metadata().isEmpty());
        QCOMPARE(CardCatalog::builtIn().poet(0), QStringLiteral("王仁")); // the preamble
        QCOMPARE(CardCatalog::builtIn().poet(100), QStringLiteral("順徳院"));
        QVERIFY(CardCatalog::builtIn().poet(101).isEmpty());
    }

    // Per user: settings, data, then the three lookup folders in their order;
    // a folder that does not exist cannot be opened.
    void dataFolders_listsTheFoldersInUse()
    {
        QTemporaryDir root;
        QProcessEnvironment environment;
        environment.insert("HOME", root.path());
        const DataLocations locations =
            DataLocations::perUser(root.filePath("lib/qtutakaze"), environment);
        QCOMPARE(locations.createFolders(), QStringList());
        DataFoldersDialog dialog(locations);
        const auto *list = dialog.findChild<QListWidget *>("folderList");
        QVERIFY(list);
        QStringList folders;
        QList<bool> enabled;
        for (int row = 0; row < list->count(); ++row) {
            folders.append(list->item(row)->data(Qt::UserRole).toString());
            enabled.append(list->item(row)->flags() & Qt::ItemIsEnabled);
        }
        QCOMPARE(folders,
                 QStringList({locations.settingsFolder(), locations.dataFolder()})
                     + locations.lookupFolders());
        QCOMPARE(enabled, (QList<bool> {true, true, true, false, false}));

        DataFoldersDialog portable(DataLocations::portable(root.path()));
        QCOMPARE(portable.findChild<QListWidget *>("folderList")->count(), 2);
    }

    // A folder no file manager opens: the dialog says so with its path.
    void dataFolders_saysWhenNothingOpensAFolder()
    {
        struct NoFileManager : DataFoldersDialog
        {
            using DataFoldersDialog::DataFoldersDialog;
            bool openFolder(const QString &) override { return false; }
        };
        QTemporaryDir root;
        NoFileManager dialog(DataLocations::portable(root.path()));
        const auto *note = dialog.findChild<QLabel *>("openFailedLabel");
        dialog.findChild<QPushButton *>("openButton")->click();
        QVERIFY(!note->isHidden());
        QVERIFY(note->text().contains(QDir::toNativeSeparators(root.path())));
    }

    // A window saved on a wider screen comes back on, moved by the least;
    // only one larger than the screen shrinks.
    void keptOnScreen_movesInByTheLeast()
    {
        const QRect screen(0, 0, 1366, 768);
        QCOMPARE(keptOnScreen(QRect(1300, 100, 280, 400), screen), QRect(1086, 100, 280, 400));
        QCOMPARE(keptOnScreen(QRect(900, 500, 2000, 300), screen), QRect(0, 468, 1366, 300));
        QCOMPARE(keptOnScreen(QRect(3000, 10, 280, 400), QRect()), QRect(3000, 10, 280, 400));
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
