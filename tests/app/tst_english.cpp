#include "AnkiJikan_Dialog.h"
#include "FinalMsgBox.h"
#include "FixtureAudio.h"
#include "FudaSelectDlg.h"
#include "MainWindowProbe.h"
#include "ScopedAppFolder.h"
#include "UiLanguage.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// The interface with the English translation installed: a sample of the
// texts of every window, and the images with English words.
class TestEnglish : public QObject
{
    Q_OBJECT

private:
    ScopedAppFolder folder;

    // Runs check on the next modal window, then closes it with reject().
    static void inspectNextModal(QString *title, QString *text)
    {
        QTimer::singleShot(100, [title, text] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            *title = dialog->windowTitle();
            if (auto *box = qobject_cast<QMessageBox *>(dialog))
                *text = box->text();
            else if (auto *radio = dialog->findChild<QRadioButton *>(QStringLiteral("radioButton_1")))
                *text = radio->text();
            dialog->reject();
        });
    }

private slots:
    void initTestCase()
    {
        QVERIFY(UiLanguage::install(*qApp, UiLanguage::English));
        QVERIFY(folder.isValid());
        QVERIFY(FixtureAudio::MakeVoiceFolder(folder.path(), {0, 1}, 0.5));
    }

    void mainWindow_menusStatusLineAndImages()
    {
        MainWindow window;
        const auto *ui = MainWindowProbe(window).ui();
        QCOMPARE(ui->label_7->text(), QStringLiteral("Vol."));
        QCOMPARE(window.findChild<QAction *>(QStringLiteral("actionOption"))->text(), QStringLiteral("Options"));
        QCOMPARE(window.findChild<QAction *>(QStringLiteral("actionAboutQt"))->text(), QStringLiteral("About Qt"));
        QCOMPARE(ui->statusBar->currentMessage(), QStringLiteral("Press the play button"));

        // The English images replace the Japanese ones under the same names.
        const QImage english(QStringLiteral(QTUTAKAZE_SOURCE_DIR "/resources/images/Image/en/joka.png"));
        const QImage japanese(QStringLiteral(QTUTAKAZE_SOURCE_DIR "/resources/images/Image/joka_jp.png"));
        QVERIFY(english != japanese);
        QCOMPARE(QImage(QStringLiteral(":/images/Image/joka_jp.png")), english);
        QCOMPARE(ui->label_2->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                 english.convertToFormat(QImage::Format_ARGB32));
    }

    void mainWindow_readingStatusAndQuestion()
    {
        MainWindow window;
        const auto *ui = MainWindowProbe(window).ui();
        ui->checkBox->setChecked(false);
        MainWindowProbe(window).setFudaList({1});
        QSignalSpy card(&window, &MainWindow::CardStarted);
        ui->Btn_Start->click();
        QVERIFY(card.wait(5000));
        QCOMPARE(ui->statusBar->currentMessage(), QStringLiteral("1 / 1 playing: card 1 あきのたの"));

        QString title;
        QString text;
        inspectNextModal(&title, &text);
        ui->Btn_Stop->click();
        QCOMPARE(title, QStringLiteral("Confirm"));
        QCOMPARE(text, QStringLiteral("Stop the reading?"));
    }

    void dialogs_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("about") << "actionAbout" << "About"
                               << QString("<h2>QtUtakaze 1.2</h2><p>Uses Qt 6 (%1-bit)<p>Uses the SDL_mixer audio library")
                                      .arg(QSysInfo::WordSize);
        QTest::newRow("options") << "actionOption" << "Options" << "Voice 1 (female)";
        QTest::newRow("cards") << "actionFuda" << "Cards" << "";
    }

    void dialogs()
    {
        QFETCH(QString, action);
        QFETCH(QString, title);
        QFETCH(QString, text);
        MainWindow window;
        QString shownTitle;
        QString shownText;
        inspectNextModal(&shownTitle, &shownText);
        window.findChild<QAction *>(action)->trigger();
        QCOMPARE(shownTitle, title);
        QCOMPARE(shownText, text);
    }

    void timerDialogs()
    {
        AnkiJikan_Dialog timer(nullptr);
        QCOMPARE(timer.windowTitle(), QStringLiteral("Memorization"));
        auto *button = timer.findChild<QPushButton *>(QStringLiteral("StartStopBtn"));
        QCOMPARE(button->text(), QStringLiteral("Start"));
        button->click();
        QCOMPARE(button->text(), QStringLiteral("Stop"));
        QCOMPARE(timer.findChild<QLabel *>(QStringLiteral("MsgLabel"))->text(), QStringLiteral("Time left: 15 min"));
        QVERIFY(timer.findChild<QLabel *>(QStringLiteral("MsgLabel_2"))->text().startsWith(QStringLiteral("Ends at: ")));

        FinalMsgBox box(nullptr);
        QCOMPARE(box.findChild<QLabel *>(QStringLiteral("label"))->text(),
                 QStringLiteral("The memorization time is over."));
    }
};

QTEST_MAIN(TestEnglish)
#include "tst_english.moc"
