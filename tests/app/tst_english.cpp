#include "AnkiJikan_Dialog.h"
#include "CardCatalog.h"
#include "FinalMsgBox.h"
#include "FixtureAudio.h"
#include "FudaSelectDlg.h"
#include "HistoryWindow.h"
#include "MainWindowProbe.h"
#include "OptionDialog.h"
#include "PoemPanel.h"
#include "PracticeDialog.h"
#include "QuickAudioDevice.h"
#include "TestData.h"
#include "UiLanguage.h"
#include "WindowServices.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTranslator>

// The interface with the English translation installed: a sample of the
// texts of every window, and the images with English words.
class TestEnglish : public QObject
{
    Q_OBJECT

private:
    mutable WindowServices folder; // a window puts its reader and shaping in use

    // The title and main text of the next modal window, which is then rejected.
    static void inspectNextModal(QString *title, QString *text)
    {
        QTimer::singleShot(0, [title, text] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            *title = dialog->windowTitle();
            if (auto *box = qobject_cast<QMessageBox *>(dialog))
                *text = box->text();
            else if (auto *radio =
                         dialog->findChild<QRadioButton *>(QStringLiteral("radioButton_1")))
                *text = radio->text();
            dialog->reject();
        });
    }

    // A sample of the texts of the poem panel, the history window, the card
    // set menu, the options' shaping group, the reading menu and the practice
    // dialog.
    QStringList sampleOfLaterTexts() const
    {
        QStringList texts;
        PoemPanel panel;
        const auto *title = panel.findChildren<QLabel *>(Qt::FindDirectChildrenOnly).first();
        texts << panel.windowTitle() << panel.findChild<QComboBox *>()->itemText(1)
              << title->text();
        panel.setReveal(ViewSettings::PoemReveal::WithUpper);
        panel.upperStarted(1, 3);
        texts << title->text();

        HistoryWindow history(folder.path() + QStringLiteral("/history"));
        texts << history.windowTitle()
              << history.findChild<QTableWidget *>()->horizontalHeaderItem(3)->text()
              << history.findChild<QPushButton *>(QStringLiteral("Btn_ReadAgain"))->text();

        FudaSelectDlg cards;
        auto *menu = cards.findChild<QMenu *>(QStringLiteral("cardSetsMenu"));
        emit menu->aboutToShow();
        const QList<QAction *> actions = menu->actions();
        texts << actions.first()->text() << actions.last()->text(); // save ..., one-syllable cards
        QList<QMenu *> presets; // the colours, then the first kana
        for (QAction *action : actions) {
            if (action->menu() && action->menu()->objectName().isEmpty())
                presets << action->menu();
        }
        texts << presets.at(0)->title() << presets.at(0)->actions().first()->text()
              << presets.at(1)->title();
        for (QAction *kana : presets.at(1)->actions()) {
            if (kana->text().startsWith(QStringLiteral("む ")))
                texts << kana->text(); // a kana of one card: the singular
        }

        OptionDialog options(nullptr, 0, false, nullptr);
        texts << options.findChild<QGroupBox *>(QStringLiteral("groupBox_shaping"))->title()
              << options.findChild<QDoubleSpinBox *>()->suffix();

        MainWindow window(folder.services());
        const auto *ui = MainWindowProbe(window).ui();
        texts << ui->menuReading->title() << ui->actionNext->text() << ui->actionRepeat->text();

        PracticeDialog practice(nullptr, PracticeSettings());
        auto *deadCards = practice.findChild<QSpinBox *>(QStringLiteral("spinDeadCards"));
        texts << practice.windowTitle()
              << practice.findChild<QRadioButton *>(QStringLiteral("radioCompetitive"))->text()
              << practice.findChild<QGroupBox *>(QStringLiteral("groupAdvance"))->title()
              << deadCards->suffix();
        deadCards->setValue(1);
        texts << deadCards->suffix();
        return texts;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(UiLanguage::install(*qApp, UiLanguage::English));
        QuickAudioDevice::install(folder.audio);
        QVERIFY(FixtureAudio::MakeVoiceFolder(folder.path(), {0, 1}, 0.5));
    }

    void laterWindows_inEnglishAndInJapanese()
    {
        const CardInfo card1 = CardCatalog::builtIn().card(1);
        QCOMPARE(sampleOfLaterTexts(),
                 QStringList({"Poem",
                              "Show after the lower verse",
                              "The card just read appears here",
                              QStringLiteral("Card 1: %1 (%2)").arg(card1.poet, card1.poetReading),
                              "Reading history",
                              "Kimariji",
                              "Read again in the same order",
                              "Save current selection...",
                              "One-syllable cards (7)",
                              "Five colours",
                              "Blue (20 cards)",
                              "First syllable",
                              QStringLiteral("む (1 card)"),
                              "Reading adjustments",
                              QStringLiteral("×"),
                              "Reading",
                              "Next",
                              "Repeat",
                              "Practice settings",
                              "Competitive",
                              "The take",
                              " cards",
                              " card"}));

        // Without the translator the texts are the Japanese ones, as written.
        const QList<QTranslator *> translators = qApp->findChildren<QTranslator *>();
        for (QTranslator *translator : translators)
            QCoreApplication::removeTranslator(translator);
        const QStringList japanese = sampleOfLaterTexts();
        for (QTranslator *translator : translators)
            QCoreApplication::installTranslator(translator);
        QCOMPARE(japanese,
                 QStringList({QStringLiteral("歌"),
                              QStringLiteral("下の句の後に表示"),
                              QStringLiteral("読まれた札がここに表示されます"),
                              QStringLiteral("第1首　%1（%2）").arg(card1.poet, card1.poetReading),
                              QStringLiteral("読み上げ履歴"),
                              QStringLiteral("決まり字"),
                              QStringLiteral("同じ順番でもう一度読む"),
                              QStringLiteral("今の選択を保存..."),
                              QStringLiteral("一字決まり (7枚)"),
                              QStringLiteral("五色"),
                              QStringLiteral("青 (20枚)"),
                              QStringLiteral("頭の字"),
                              QStringLiteral("む (1枚)"),
                              QStringLiteral("読み上げの調整"),
                              QStringLiteral(" 倍"),
                              "Reading",
                              "Next",
                              "Repeat", // the menu bar is English in both
                              QStringLiteral("練習設定"),
                              QStringLiteral("競技"),
                              QStringLiteral("取りの間"),
                              QStringLiteral(" 枚"),
                              QStringLiteral(" 枚")}));
    }

    void mainWindow_textsImagesStatusAndQuestion()
    {
        QVERIFY(TestData::writeFile(folder.filePath(QStringLiteral("QtUtakaze.ini")),
                                    "[SETTING]\nFudaList=1\n"));
        MainWindow window(folder.services());
        MainWindowProbe probe(window);
        const auto *ui = probe.ui();
        QCOMPARE(ui->label_7->text(), QStringLiteral("Vol."));
        QCOMPARE(ui->actionOption->text(), QStringLiteral("Options"));
        QCOMPARE(ui->statusBar->currentMessage(), QStringLiteral("Press the play button"));
        // The English image under the Japanese one's name.
        const QImage english(
            QStringLiteral(QTUTAKAZE_SOURCE_DIR "/resources/images/Image/en/joka.png"));
        QCOMPARE(ui->label_2->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                 english.convertToFormat(QImage::Format_ARGB32));

        ui->checkBox->setChecked(false);
        QSignalSpy card(&window, &MainWindow::CardStarted);
        ui->Btn_Start->click();
        QVERIFY(card.wait(5000));
        QCOMPARE(ui->statusBar->currentMessage(),
                 QStringLiteral("1 / 1 playing: card 1 あきのたの"));
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
        QTest::newRow("about")
            << "actionAbout"
            << QString("About|<h2>QtUtakaze 1.2</h2><p>Uses Qt 6 (%1-bit)<p>Uses the "
                       "SDL audio library")
                   .arg(QSysInfo::WordSize);
        QTest::newRow("options") << "actionOption"
                                 << "Options|Female voice";
        QTest::newRow("cards") << "actionFuda"
                               << "Cards|";
    }

    void dialogs()
    {
        QFETCH(QString, action);
        QFETCH(QString, expected);
        MainWindow window(folder.services());
        QString title;
        QString text;
        inspectNextModal(&title, &text);
        window.findChild<QAction *>(action)->trigger();
        // The About box goes on with the libraries and voices and their licences.
        const QString shown = title + QLatin1Char('|') + text;
        QCOMPARE(shown.left(expected.size()), expected);
        if (action == QLatin1String("actionAbout"))
            QVERIFY(shown.contains(QStringLiteral("CC BY 3.0")));
    }

    void timerDialogs()
    {
        AnkiJikan_Dialog timer(nullptr, folder.cues);
        QCOMPARE(timer.windowTitle(), QStringLiteral("Memorization"));
        timer.findChild<QPushButton *>(QStringLiteral("StartStopBtn"))->click();
        QCOMPARE(timer.findChild<QLabel *>(QStringLiteral("MsgLabel"))->text(),
                 QStringLiteral("Time left: 15 min"));
        FinalMsgBox box(nullptr, folder.cues);
        QCOMPARE(box.findChild<QLabel *>(QStringLiteral("label"))->text(),
                 QStringLiteral("The memorization time is over."));
    }
};

QTEST_MAIN(TestEnglish)
#include "tst_english.moc"
