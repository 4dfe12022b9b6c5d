#include "FixtureAudio.h"
#include "FudaSelectDlg.h"
#include "GuiThreadRelay.h"
#include "HistoryWindow.h"
#include "MainWindowProbe.h"
#include "QuickAudioDevice.h"
#include "ReadingHistory.h"
#include "WindowServices.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

QList<int> cardsOf(const QSignalSpy &spy)
{
    QList<int> cards;
    for (const QList<QVariant> &call : spy)
        cards.append(call.at(0).toInt());
    return cards;
}

// Runs `step` on the card selection dialog once the window's button has opened it.
void withCardDialog(MainWindow &window, const std::function<void(FudaSelectDlg *)> &step)
{
    QTimer::singleShot(0, [step] {
        auto *dialog = qobject_cast<FudaSelectDlg *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        step(dialog);
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    MainWindowProbe(window).ui()->Btn_FudaSelect->click();
}

QMenu *cardSetsMenu(FudaSelectDlg *dialog)
{
    auto *menu = dialog->findChild<QMenu *>(QStringLiteral("cardSetsMenu"));
    emit menu->aboutToShow();
    return menu;
}

} // namespace

// A whole review round on real readings: the history file a reading leaves,
// Read again in the same order, and a card set kept across a restart.
class TestReview : public QObject
{
    Q_OBJECT

private slots:
    void readingHistory_readAgain_andCardSetAfterRestart()
    {
        QTemporaryDir folder;
        QVERIFY(
            FixtureAudio::MakeVoiceFolder(folder.path(), {0, 1, 2, 3, 4, 5, 6, 7}, 0.15, false));
        QFile ini(folder.filePath(QStringLiteral("QtUtakaze.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[SETTING]\nchk_joka=false\nWait1Time=1\nWait2Time=1\nFudaList=\"1,2,3\"\n"
                  "[PRACTICE]\nDeadCards=2\n");
        ini.close();
        WindowServices app(folder.path());
        // The readings are watched through signals and their ends only: twice
        // the usual speed.
        QuickAudioDevice::install(app.audio, 2 * QuickAudioDevice::DefaultSpeed);
        const ReadingHistory history(folder.filePath(QStringLiteral("history")));

        {
            MainWindow window(app.services());
            MainWindowProbe probe(window);
            GuiThreadSpy upper(probe.thread(), &PlaySequenceThread::Music1Starteded);
            probe.ui()->Btn_Start->click();
            QTRY_VERIFY_WITH_TIMEOUT(!probe.inSequence(), 60000);

            QCOMPARE(history.files().size(), 1);
            const QList<HistoryEntry> entries =
                ReadingHistory::load(history.filePath(history.files().first()));
            QCOMPARE(entries.size(), 5);
            const QSet<int> dead = ReadingHistory::deadCards(entries);
            QCOMPARE(dead.size(), 2);
            QVERIFY(!dead.intersects(QSet<int> {1, 2, 3}));
            QCOMPARE(ReadingHistory::order(entries), cardsOf(upper));
            for (qsizetype i = 0; i < entries.size(); ++i) {
                QCOMPARE(entries.at(i).position, static_cast<int>(i) + 1);
                QVERIFY(!entries.at(i).kimariji.isEmpty());
                if (i > 0)
                    QVERIFY(entries.at(i).startedMs > entries.at(i - 1).startedMs + 1000);
            }

            // Read again from the history window: the same cards in the same
            // order (the whole review reading is the end-to-end test's).
            probe.ui()->actionHistory->trigger();
            auto *historyWindow = window.findChild<HistoryWindow *>();
            QVERIFY(historyWindow && historyWindow->isVisible());
            QCOMPARE(historyWindow->shownEntries(), entries);
            upper.clear();
            historyWindow->findChild<QPushButton *>(QStringLiteral("Btn_ReadAgain"))->click();
            QVERIFY(probe.inSequence());
            QCOMPARE(probe.playList(), ReadingHistory::order(entries));
            // Refused while that reading goes on.
            QVERIFY(!window.Session()->readInOrder({1}, {}));
            QVERIFY(upper.wait(3000));
            QCOMPARE(cardsOf(upper), ReadingHistory::order(entries).mid(0, 1));
            probe.thread()->RequestStop();
            QTRY_VERIFY_WITH_TIMEOUT(!probe.inSequence(), 3000);
            // The review reading cut short keeps its own file; the first stays whole.
            QCOMPARE(history.files().size(), 2);
            QCOMPARE(ReadingHistory::load(history.filePath(history.files().last())), entries);
            const QList<HistoryEntry> again =
                ReadingHistory::load(history.filePath(history.files().first()));
            QCOMPARE(again.size(), 1);
            QCOMPARE(historyWindow->shownEntries(), again);

            // Save the selection 87, 18 as a card set through the dialog's menu.
            withCardDialog(window, [](FudaSelectDlg *dialog) {
                dialog->CheckCards({18, 87});
                QMenu *menu = cardSetsMenu(dialog);
                QTimer::singleShot(0, [] {
                    auto *input = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
                    QVERIFY(input);
                    input->setTextValue(QStringLiteral("一字 練習"));
                    input->accept();
                });
                menu->findChild<QAction *>(QStringLiteral("actionSaveCardSet"))->trigger();
            });
        }

        // After a restart the set is offered again and chooses those cards.
        MainWindow window(app.services());
        withCardDialog(window, [](FudaSelectDlg *dialog) {
            dialog->CheckCards({});
            QMenu *saved =
                cardSetsMenu(dialog)->findChild<QMenu *>(QStringLiteral("menuSavedCardSets"));
            QCOMPARE(saved->actions().size(), 1);
            QCOMPARE(saved->actions().first()->text(), QStringLiteral("一字 練習 (2枚)"));
            saved->actions().first()->trigger();
        });
        QCOMPARE(MainWindowProbe(window).fudaList(), (QList<int> {87, 18}));
    }
};

QTEST_MAIN(TestReview)
#include "tst_review.moc"
