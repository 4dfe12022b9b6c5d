#include "AnkiJikan_Dialog.h"
#include "FinalMsgBox.h"
#include "FixtureAudio.h"
#include "MainWindowProbe.h"
#include "ScopedAppFolder.h"
#include "UiLanguage.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
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

    // The title and main text of the next modal window, which is then rejected.
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
        QVERIFY(FixtureAudio::MakeVoiceFolder(folder.path(), {0, 1}, 0.5));
    }

    void mainWindow_textsImagesStatusAndQuestion()
    {
        MainWindow window;
        const auto *ui = MainWindowProbe(window).ui();
        QCOMPARE(ui->label_7->text(), QStringLiteral("Vol."));
        QCOMPARE(ui->actionOption->text(), QStringLiteral("Options"));
        QCOMPARE(ui->statusBar->currentMessage(), QStringLiteral("Press the play button"));
        // The English image under the Japanese one's name.
        const QImage english(QStringLiteral(QTUTAKAZE_SOURCE_DIR "/resources/images/Image/en/joka.png"));
        QCOMPARE(ui->label_2->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                 english.convertToFormat(QImage::Format_ARGB32));

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
        QCOMPARE(title + QLatin1Char('|') + text, QStringLiteral("Confirm|Stop the reading?"));
    }

    void dialogs_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("expected"); // title|text
        QTest::newRow("about") << "actionAbout"
                               << QString("About|<h2>QtUtakaze 1.2</h2><p>Uses Qt 6 (%1-bit)<p>Uses the "
                                          "SDL audio library").arg(QSysInfo::WordSize);
        QTest::newRow("options") << "actionOption" << "Options|Voice 1 (female)";
        QTest::newRow("cards") << "actionFuda" << "Cards|";
    }

    void dialogs()
    {
        QFETCH(QString, action);
        QFETCH(QString, expected);
        MainWindow window;
        QString title;
        QString text;
        inspectNextModal(&title, &text);
        window.findChild<QAction *>(action)->trigger();
        QCOMPARE(title + QLatin1Char('|') + text, expected);
    }

    void timerDialogs()
    {
        AnkiJikan_Dialog timer(nullptr);
        QCOMPARE(timer.windowTitle(), QStringLiteral("Memorization"));
        timer.findChild<QPushButton *>(QStringLiteral("StartStopBtn"))->click();
        QCOMPARE(timer.findChild<QLabel *>(QStringLiteral("MsgLabel"))->text(), QStringLiteral("Time left: 15 min"));
        FinalMsgBox box(nullptr);
        QCOMPARE(box.findChild<QLabel *>(QStringLiteral("label"))->text(),
                 QStringLiteral("The memorization time is over."));
    }
};

QTEST_MAIN(TestEnglish)
#include "tst_english.moc"
