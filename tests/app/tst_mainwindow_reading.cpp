#include "FixtureAudio.h"
#include "GuiThreadRelay.h"
#include "MainWindowProbe.h"
#include "PoemTable.h"
#include "QuickAudioDevice.h"
#include "ReaderImportJob.h"
#include "ReaderImportStatus.h"
#include "TestData.h"
#include "WindowServices.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

namespace {

using namespace TestData;

const QList<int> FixtureCards {0, 5, 12, 45, 87};

QString statusText(int count, int total, int card)
{
    return QStringLiteral("%1 / %2 再生中 : 第%3首 %4")
        .arg(count)
        .arg(total)
        .arg(card)
        .arg(PoemTable::firstPhrase(card));
}

bool sameImage(const QIcon &icon, const QString &resource)
{
    return icon.pixmap(39, 76).toImage() == QIcon(resource).pixmap(39, 76).toImage();
}

} // namespace

class TestMainWindowReading : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir shortVerses; // 0.2 s tones
    QTemporaryDir longVerses; // 1.5 s tones, long enough to pause inside
    std::unique_ptr<QTemporaryDir> scratch;
    std::unique_ptr<WindowServices> app;

    // Whole readings watched through signals and lasting states (never a
    // state polled while it lasts a moment) run at twice the usual speed:
    // a state polled by QTRY_* still lasts two seconds of output per poll.
    static constexpr int WholeReadingSpeed = 2 * QuickAudioDevice::DefaultSpeed;

    void useFolder(const QTemporaryDir &folder, const QByteArray &ini,
                   int speed = QuickAudioDevice::DefaultSpeed)
    {
        QFile::remove(folder.filePath(QStringLiteral("QtUtakaze.ini")));
        QVERIFY(writeFile(folder.filePath(QStringLiteral("QtUtakaze.ini")), "[SETTING]\n" + ini));
        app = std::make_unique<WindowServices>(folder.path());
        QuickAudioDevice::install(app->audio, speed);
    }

    // Records the status bar message shown at each upper verse (the window's
    // own slot runs first: it was connected first).
    static QStringList *recordStatus(MainWindow &window, QObject *context)
    {
        auto *messages = new QStringList;
        QStatusBar *bar = MainWindowProbe(window).ui()->statusBar;
        QObject::connect(MainWindowProbe(window).thread(), &PlaySequenceThread::Music1Starteded,
                         context,
                         [messages, bar](int) { messages->append(bar->currentMessage()); });
        return messages;
    }

    static void answerNextQuestion(QMessageBox::StandardButton button)
    {
        QTimer::singleShot(0, [button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            QCOMPARE(box->windowTitle(), QStringLiteral("確認"));
            QCOMPARE(box->text(), QStringLiteral("終了しますか?"));
            box->button(button)->click();
        });
    }

private slots:
    void initTestCase()
    {
        QVERIFY(shortVerses.isValid() && longVerses.isValid());
        QVERIFY(FixtureAudio::MakeVoiceFolder(shortVerses.path(), FixtureCards, 0.2));
        QVERIFY(FixtureAudio::MakeVoiceFolder(longVerses.path(), FixtureCards, 1.5));
    }

    void cleanup()
    {
        app.reset();
        scratch.reset();
    }

    void construction_probesTheVoiceFolders_data()
    {
        QTest::addColumn<bool>("voice1");
        QTest::addColumn<bool>("voice2");
        QTest::newRow("both voices") << true << true;
        QTest::newRow("first voice only") << true << false;
        QTest::newRow("no voice") << false << false;
    }

    void construction_probesTheVoiceFolders()
    {
        QFETCH(bool, voice1);
        QFETCH(bool, voice2);
        scratch = std::make_unique<QTemporaryDir>();
        QDir dir(scratch->path());
        if (voice1) {
            dir.mkpath(QStringLiteral("Music"));
            QVERIFY(writeFile(dir.filePath(QStringLiteral("Music/rindou_000_2.ogg")), "x"));
        }
        if (voice2) {
            dir.mkpath(QStringLiteral("Music2"));
            QVERIFY(writeFile(dir.filePath(QStringLiteral("Music2/asagao_000_2.ogg")), "x"));
        }
        useFolder(*scratch, "SelectVoice=1\n");

        MainWindow window(app->services());
        MainWindowProbe probe(window);
        QCOMPARE(probe.ui()->Btn_Start->isEnabled(), voice1);
        QCOMPARE(probe.ui()->statusBar->currentMessage(),
                 voice1 ? QStringLiteral("再生ボタンを押してください")
                        : QStringLiteral("音声ファイルが見つからないので再生できません(!_!)"));
        QCOMPARE(window.Voice2Available(), voice2);
        QCOMPARE(probe.selectVoice(), voice2 ? 1 : 0);
    }

    void reading_threeCardsWithPreamble()
    {
        useFolder(shortVerses, "chk_joka=true\nWait1Time=1\nWait2Time=1\nFudaList=\"87,5,45\"\n",
                  WholeReadingSpeed);
        MainWindow window(app->services());
        MainWindowProbe probe(window);
        std::unique_ptr<QStringList> messages(recordStatus(window, this));
        GuiThreadSpy upper(probe.thread(), &PlaySequenceThread::Music1Starteded);

        probe.ui()->Btn_Start->click();
        // Playing as soon as the reading thread says so.
        QTRY_VERIFY(probe.inSequence() && probe.isPlaying());
        const QList<int> order = probe.playList();
        QCOMPARE(order.size(), 4);
        QCOMPARE(order.first(), 0);
        QList<int> cards = order.mid(1);
        std::sort(cards.begin(), cards.end());
        QCOMPARE(cards, (QList<int> {5, 45, 87}));
        QVERIFY(!probe.ui()->spinBox_1->isEnabled());
        QVERIFY(!probe.ui()->spinBox_2->isEnabled());
        QVERIFY(!probe.ui()->checkBox->isEnabled());
        QVERIFY(sameImage(probe.ui()->Btn_Start->icon(), QStringLiteral(":/images/Pause.png")));

        QTRY_VERIFY_WITH_TIMEOUT(!probe.inSequence(), 30000);
        QCOMPARE(upper.size(), 3);
        QCOMPARE(*messages,
                 (QStringList {statusText(1, 3, order[1]), statusText(2, 3, order[2]),
                               statusText(3, 3, order[3])}));
        QVERIFY(probe.ui()->statusBar->currentMessage().isEmpty());
        QVERIFY(probe.ui()->spinBox_1->isEnabled());
        QVERIFY(probe.ui()->spinBox_2->isEnabled());
        QVERIFY(probe.ui()->checkBox->isEnabled());
        QVERIFY(!probe.isPlaying());
        QVERIFY(sameImage(probe.ui()->Btn_Start->icon(), QStringLiteral(":/images/Play.png")));
    }

    void reading_pauseDuringUpperVerse_sameCountShownAgain()
    {
        useFolder(longVerses, "chk_joka=false\nWait1Time=1\nWait2Time=1\nFudaList=\"5,12\"\n",
                  WholeReadingSpeed);
        MainWindow window(app->services());
        MainWindowProbe probe(window);
        std::unique_ptr<QStringList> messages(recordStatus(window, this));
        GuiThreadSpy upper(probe.thread(), &PlaySequenceThread::Music1Starteded);

        probe.ui()->Btn_Start->click();
        QVERIFY(upper.wait(3000));
        const int first = probe.playList().first();
        probe.ui()->Btn_Start->click(); // pause
        QTRY_VERIFY(!probe.isPlaying() && probe.inSequence());
        QVERIFY(sameImage(probe.ui()->Btn_Start->icon(), QStringLiteral(":/images/Play.png")));
        QTRY_COMPARE(probe.thread()->GetState(), int(PlaySequenceThread::STAT_PAUSE));
        probe.ui()->Btn_Start->click(); // resume: the upper verse again
        QVERIFY(upper.wait(3000));
        QCOMPARE(upper.last().at(0).toInt(), first);
        QCOMPARE(messages->size(), 2);
        QCOMPARE(messages->at(0), statusText(1, 2, first));
        QCOMPARE(messages->at(1), statusText(1, 2, first));

        // The next card counts on; the window may go while it is read.
        QTRY_COMPARE_WITH_TIMEOUT(messages->size(), 3, 10000);
        QCOMPARE(messages->last(), statusText(2, 2, probe.playList().at(1)));
    }

    void stop_answeredOkOrCancel_data()
    {
        QTest::addColumn<bool>("pauseFirst");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("reading, OK") << false << true;
        QTest::newRow("paused, OK") << true << true;
        QTest::newRow("reading, Cancel") << false << false;
        QTest::newRow("paused, Cancel") << true << false;
    }

    void stop_answeredOkOrCancel()
    {
        QFETCH(bool, pauseFirst);
        QFETCH(bool, confirm);
        useFolder(longVerses, "chk_joka=true\nWait1Time=5\nWait2Time=5\nFudaList=\"5,12\"\n");
        MainWindow window(app->services());
        MainWindowProbe probe(window);
        GuiThreadSpy ended(probe.thread(), &PlaySequenceThread::SequenceEnded);
        GuiThreadSpy lower(probe.thread(), &PlaySequenceThread::Music2Starteded);

        probe.ui()->Btn_Start->click();
        QVERIFY(lower.wait(3000)); // the preamble sounds
        if (pauseFirst) {
            probe.ui()->Btn_Start->click();
            QTRY_COMPARE(probe.thread()->GetState(), int(PlaySequenceThread::STAT_PAUSE));
        }
        answerNextQuestion(confirm ? QMessageBox::Ok : QMessageBox::Cancel);
        probe.ui()->Btn_Stop->click();

        if (confirm) {
            QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 2000);
            QTRY_VERIFY(!probe.inSequence());
            QVERIFY(probe.ui()->statusBar->currentMessage().isEmpty());
            QVERIFY(probe.ui()->checkBox->isEnabled());
            QCOMPARE(probe.thread()->GetState(), int(PlaySequenceThread::STAT_STOP));
        } else {
            QVERIFY(!ended.wait(200)); // 4 s of output: the reading goes on
            QVERIFY(probe.inSequence());
            QCOMPARE(probe.isPlaying(), !pauseFirst);
            QVERIFY(probe.thread()->GetState() != PlaySequenceThread::STAT_STOP);
        }
        QCOMPARE(ended.size(), confirm ? 1 : 0);
    }

    void stop_whileIdle_asksNothing()
    {
        useFolder(shortVerses, "");
        MainWindow window(app->services());
        bool asked = false;
        bool looked = false;
        QTimer::singleShot(0, this, [&asked, &looked] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                asked = true;
                box->close();
            }
            looked = true;
        });
        MainWindowProbe(window).ui()->Btn_Stop->click();
        QVERIFY(QTest::qWaitFor([&looked] { return looked; }));
        QVERIFY(!asked);
    }

    void reading_duplicateAdjacentCardCountedOnce()
    {
        useFolder(shortVerses, "chk_joka=false\nWait1Time=1\nWait2Time=1\nFudaList=\"5,5\"\n",
                  WholeReadingSpeed);
        MainWindow window(app->services());
        MainWindowProbe probe(window);
        std::unique_ptr<QStringList> messages(recordStatus(window, this));
        probe.ui()->Btn_Start->click();
        QTRY_VERIFY_WITH_TIMEOUT(!probe.inSequence(), 20000);
        QCOMPARE(*messages, (QStringList {statusText(1, 2, 5), statusText(1, 2, 5)}));
        QCOMPARE(probe.playCount(), 1);
    }

    void reading_nothingSelectedWithoutPreamble_staysIdle()
    {
        useFolder(shortVerses, "chk_joka=false\nFudaList=\",\"\n");
        MainWindow window(app->services());
        MainWindowProbe probe(window);
        GuiThreadSpy upper(probe.thread(), &PlaySequenceThread::Music2Starteded);
        probe.ui()->Btn_Start->click();
        QVERIFY(!probe.inSequence());
        QVERIFY(!probe.isPlaying());
        QVERIFY(probe.ui()->checkBox->isEnabled());
        QVERIFY(probe.ui()->spinBox_1->isEnabled());
        QVERIFY(!probe.ui()->statusBar->currentMessage().isEmpty());
        QCOMPARE(probe.thread()->GetState(), int(PlaySequenceThread::STAT_STOP));
        // The preamble alone is a reading.
        probe.ui()->checkBox->setChecked(true);
        probe.ui()->Btn_Start->click();
        QVERIFY(probe.inSequence());
        QTRY_VERIFY_WITH_TIMEOUT(!probe.inSequence(), 10000);
        QCOMPARE(upper.size(), 1);
    }

    void volume_sliderTruncatesTheOutputLevel_data()
    {
        QTest::addColumn<float>("level");
        QTest::addColumn<int>("slider");
        QTest::addColumn<float>("after");
        QTest::newRow("0.756") << 0.756f << 75 << 0.75f;
        QTest::newRow("float 0.29") << 0.29f << 28 << 0.28f;
        QTest::newRow("zero") << 0.0f << 0 << 0.0f;
        QTest::newRow("full") << 1.0f << 100 << 1.0f;
    }

    void volume_sliderTruncatesTheOutputLevel()
    {
        QFETCH(float, level);
        QFETCH(int, slider);
        QFETCH(float, after);
        useFolder(shortVerses, "");
        app->audio.SetVolume(level);
        MainWindow window(app->services());
        MainWindowProbe probe(window);
        QCOMPARE(probe.ui()->Slider_Volume->value(), slider);
        QCOMPARE(app->audio.GetVolume(), after);
        probe.ui()->Slider_Volume->setValue(40);
        QCOMPARE(app->audio.GetVolume(), 0.4f);
    }

private:
    // Runs action() and answers the modal dialog it opens with answer(dialog);
    // returns the class name of the dialog that opened, or "" if none did.
    QString runDialog(const std::function<void()> &action,
                      const std::function<void(QDialog *)> &answer = {})
    {
        QString opened;
        bool looked = false;
        QTimer::singleShot(0, this, [&opened, &answer, &looked] {
            looked = true;
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            opened = QString::fromLatin1(dialog->metaObject()->className());
            if (answer)
                answer(dialog);
            else
                dialog->reject();
        });
        action();
        if (!QTest::qWaitFor([&looked] { return looked; }))
            return QStringLiteral("(no answer)");
        return opened;
    }

    static void clickButtonBox(QDialog *dialog, QDialogButtonBox::StandardButton which)
    {
        auto *box = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        QVERIFY(box);
        box->button(which)->click();
    }

private slots:
    void dialogs_openWhenIdle_refusedDuringReading()
    {
        useFolder(longVerses, "chk_joka=true\nWait1Time=5\nWait2Time=5\nFudaList=\"5,12\"\n");
        MainWindow window(app->services());
        MainWindowProbe probe(window);
        Ui::MainWindow *ui = probe.ui();
        const QList<std::pair<QString, std::function<void()>>> openers {
            {QStringLiteral("FudaSelectDlg"), [ui] { ui->Btn_FudaSelect->click(); }},
            {QStringLiteral("FudaSelectDlg"), [ui] { ui->actionFuda->trigger(); }},
            {QStringLiteral("OptionDialog"), [ui] { ui->actionOption->trigger(); }},
            {QStringLiteral("AnkiJikan_Dialog"), [ui] { ui->Btn_AnkiJikan->click(); }},
        };
        for (const auto &[name, open] : openers)
            QCOMPARE(runDialog(open), name);

        GuiThreadSpy lower(probe.thread(), &PlaySequenceThread::Music2Starteded);
        ui->Btn_Start->click();
        QVERIFY(lower.wait(3000));
        for (const auto &[name, open] : openers)
            QCOMPARE(runDialog(open), QString());
        ui->Btn_Start->click(); // paused: still refused
        for (const auto &[name, open] : openers)
            QCOMPARE(runDialog(open), QString());
    }

    void options_voiceChangesOnlyWhenAccepted()
    {
        useFolder(shortVerses, "SelectVoice=0\n");
        MainWindow window(app->services());
        MainWindowProbe probe(window);
        const auto chooseSecond = [](QDialog *dialog) {
            dialog->findChild<QRadioButton *>(QStringLiteral("radioButton_2"))->setChecked(true);
        };
        runDialog([&] { probe.ui()->actionOption->trigger(); },
                  [&](QDialog *dialog) {
                      chooseSecond(dialog);
                      clickButtonBox(dialog, QDialogButtonBox::Cancel);
                  });
        QCOMPARE(probe.selectVoice(), 0);
        runDialog([&] { probe.ui()->actionOption->trigger(); },
                  [&](QDialog *dialog) {
                      chooseSecond(dialog);
                      clickButtonBox(dialog, QDialogButtonBox::Ok);
                  });
        QCOMPARE(probe.selectVoice(), 1);
    }

    void fudaSelect_okRewritesTheSelection()
    {
        useFolder(shortVerses, "FudaList=\"1,2,21,63\"\n");
        MainWindow window(app->services());
        MainWindowProbe probe(window);
        runDialog(
            [&] { probe.ui()->Btn_FudaSelect->click(); },
            [](QDialog *dialog) {
                dialog->findChild<QCheckBox *>(QStringLiteral("chk_Akino"))->setChecked(false);
                clickButtonBox(dialog, QDialogButtonBox::Cancel);
            });
        QCOMPARE(probe.fudaList(), (QList<int> {1, 2, 21, 63}));
        runDialog(
            [&] { probe.ui()->actionFuda->trigger(); },
            [](QDialog *dialog) {
                dialog->findChild<QCheckBox *>(QStringLiteral("chk_Akino"))->setChecked(false);
                clickButtonBox(dialog, QDialogButtonBox::Ok);
            });
        QCOMPARE(probe.fudaList(), (QList<int> {63, 21, 2}));
    }

    void destroyDuringReading_writesSettingsAndReturnsQuickly()
    {
        useFolder(longVerses, "chk_joka=false\nWait1Time=2\nFudaList=\"5,12\"\n");
        const QString ini = longVerses.filePath(QStringLiteral("QtUtakaze.ini"));
        auto window = std::make_unique<MainWindow>(app->services());
        MainWindowProbe probe(*window);
        GuiThreadSpy upper(probe.thread(), &PlaySequenceThread::Music1Starteded);
        probe.ui()->Btn_Start->click();
        QVERIFY(upper.wait(3000));
        QElapsedTimer clock;
        clock.start();
        window.reset();
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        QSettings stored(ini, QSettings::IniFormat);
        QVERIFY(stored.contains("SETTING/SelectVoice")); // not in the file before
        QCOMPARE(stored.value("SETTING/FudaList").toString(), QStringLiteral("5,12"));
        QCOMPARE(stored.value("SETTING/Wait1Time").toInt(), 2);
    }
    // A whole reader (202 verse files) imported beside a reading: the pause
    // key and Start answer at once, the window's event loop never stalls long,
    // the progress shows, and the result leaves the reading controls usable.
    void readerImport_duringReading_windowAnswersThroughout()
    {
        useFolder(longVerses,
                  "chk_joka=false\nWait1Time=1\nWait2Time=1\nFudaList=\"5,12,45,87\"\n");
        scratch = std::make_unique<QTemporaryDir>();
        // 1 s verses, so that the first import outlasts the pause and resume;
        // the new copy for the replace question has short ones.
        const auto makeReader = [this](const QString &name, double seconds) {
            const QString tone = scratch->filePath(name + QStringLiteral(".ogg"));
            const QDir folder(scratch->filePath(name));
            if (!FixtureAudio::MakeOggTone(tone, 440, seconds)
                || !folder.mkpath(QStringLiteral(".")))
                return QString();
            for (int card = 0; card <= 100; ++card)
                for (int half = 1; half <= 2; ++half)
                    if (!QFile::copy(
                            tone,
                            folder.filePath(QString::asprintf("club_%03d_%d.ogg", card, half))))
                        return QString();
            return folder.path();
        };
        const QString source = makeReader(QStringLiteral("club"), 1.0);
        const QString newCopy = makeReader(QStringLiteral("club2"), 0.2);
        QVERIFY(!source.isEmpty() && !newCopy.isEmpty());

        MainWindow window(app->services());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        MainWindowProbe probe(window);
        auto *job = window.findChild<ReaderImportJob *>();
        QVERIFY(job && !window.findChild<ReaderImportStatus *>()); // made with the import
        GuiThreadSpy upper(probe.thread(), &PlaySequenceThread::Music1Starteded);
        probe.ui()->Btn_Start->click();
        QVERIFY(upper.wait(3000));

        QElapsedTimer clock;
        clock.start();
        qint64 longestGap = 0, last = 0;
        QTimer ticks;
        connect(&ticks, &QTimer::timeout, this, [&] {
            longestGap = std::max(longestGap, clock.elapsed() - last);
            last = clock.elapsed();
        });
        ticks.start(10);
        QVERIFY(job->start(source, QStringLiteral("Club")).isEmpty());
        auto *status = window.findChild<ReaderImportStatus *>();
        QVERIFY(status && status->isVisible());
        QElapsedTimer answer;
        qint64 keyMs = -1; // when the window's own handler has paused
        connect(probe.ui()->Btn_Start, &QAbstractButton::clicked, this,
                [&] { keyMs = keyMs < 0 ? answer.elapsed() : keyMs; });
        answer.start();
        QTest::keyClick(&window, Qt::Key_Home); // pause, after the button's click animation
        QTRY_VERIFY(!probe.isPlaying() && probe.inSequence());
        QTRY_COMPARE(probe.thread()->GetState(), int(PlaySequenceThread::STAT_PAUSE));
        probe.ui()->Btn_Start->click(); // on again
        QTRY_VERIFY(probe.isPlaying());
        QVERIFY(job->isBusy()); // all of this during the import

        QTRY_VERIFY_WITH_TIMEOUT(!job->isBusy(), 30000);
        const qint64 importMs = clock.elapsed();
        QVERIFY2(job->outcome().imported, qPrintable(job->outcome().refusals.join(u'\n')));
        QCOMPARE(job->outcome().report.requiredFound, 201);
        QVERIFY(!status->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        qInfo("import of 202 verses: %lld ms; pause key answered in %lld ms; longest gap of the "
              "event loop: %lld ms",
              importMs, keyMs, longestGap);
        // The aim is 100 ms (20 to 40 ms measured); a loaded machine running the
        // suite may hold the thread longer by itself.
        QVERIFY2(longestGap < 200, qPrintable(QString::number(longestGap)));
        QVERIFY2(keyMs < 300, qPrintable(QString::number(keyMs))); // 100 ms: the click animation
        // Again under the same name: the replace question leaves the window
        // usable, and its Yes installs the new copy.
        QVERIFY(job->start(newCopy, QStringLiteral("Club")).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(job->state() == ReaderImportJob::State::AwaitingAnswer, 30000);
        QVERIFY(!QApplication::activeModalWidget());
        QMessageBox *question = nullptr; // beside the first import's result
        for (auto *box : window.findChildren<QMessageBox *>())
            question = box->button(QMessageBox::Yes) ? box : question;
        QVERIFY(question && question->isVisible());
        question->button(QMessageBox::Yes)->click();
        QVERIFY(!job->isBusy() && job->outcome().imported);
    }
};

QTEST_MAIN(TestMainWindowReading)
#include "tst_mainwindow_reading.moc"
