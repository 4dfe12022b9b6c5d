#include "AnkiJikan_Dialog.h"
#include "CardCatalog.h"
#include "HistoryWindow.h"
#include "PoemPanel.h"
#include "RecordingCues.h"
#include "UiLanguage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The later views in both languages: nothing cut, nothing jumping.
class TestViews : public QObject
{
    Q_OBJECT

private:
    // Every label of `window` shows its whole text (only its width where the
    // form sets heights a large font overflows without hiding a stroke).
    static void verifyNothingCut(QWidget *window, const QString &what, bool heights = true)
    {
        for (const QLabel *label : window->findChildren<QLabel *>()) {
            if (label->text().isEmpty() || !label->isVisible())
                continue;
            const QSize needed = label->sizeHint();
            QVERIFY2(needed.width() <= label->width()
                         && (!heights || needed.height() <= label->height()),
                     qPrintable(QStringLiteral("%1: \"%2\" needs %3x%4, has %5x%6")
                                    .arg(what, label->text())
                                    .arg(needed.width())
                                    .arg(needed.height())
                                    .arg(label->width())
                                    .arg(label->height())));
        }
    }

private slots:
    void panelAndTimer_fitEveryTextInBothLanguages_data()
    {
        QTest::addColumn<bool>("english");
        QTest::newRow("Japanese") << false; // first: English stays installed
        QTest::newRow("English") << true;
    }

    void panelAndTimer_fitEveryTextInBothLanguages()
    {
        QFETCH(bool, english);
        if (english)
            QVERIFY(UiLanguage::install(*qApp, UiLanguage::English));

        PoemPanel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const QSize size = panel.size();
        verifyNothingCut(&panel, QStringLiteral("empty panel"));
        const CardCatalog &catalog = CardCatalog::builtIn();
        for (int card : catalog.numbers()) {
            const int length = static_cast<int>(catalog.card(card).kimariji.size());
            for (int marked : {1, length}) {
                panel.showCard(card, marked, {{card % 100 + 1, 6, 5}});
                panel.layout()->activate();
                verifyNothingCut(&panel, QStringLiteral("card %1").arg(card));
                QCOMPARE(panel.size(), size);
            }
        }

        RecordingCues cues;
        AnkiJikan_Dialog timer(nullptr, cues);
        timer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&timer));
        verifyNothingCut(&timer, QStringLiteral("timer"), false);
        timer.findChild<QAbstractButton *>(QStringLiteral("StartStopBtn"))->click();
        verifyNothingCut(&timer, QStringLiteral("timer counting"), false);
    }

    void historyWindow_listsMarksAndDeletesAfterAsking()
    {
        QTemporaryDir root;
        const ReadingHistory history(root.filePath(QStringLiteral("history")));
        const QList<HistoryEntry> read {{1, 21, false, QStringLiteral("いまは"), 0},
                                        {2, 63, false, QStringLiteral("いま"), 65400}};
        const QDateTime start(QDate(2026, 12, 7), QTime(19, 5, 1));
        QCOMPARE(history.save(start, read, false), ReadingHistory::SaveResult::Saved);
        QCOMPARE(history.save(start.addSecs(60), read.mid(0, 1), true),
                 ReadingHistory::SaveResult::Saved);

        HistoryWindow window(history.folder());
        auto *list = window.findChild<QComboBox *>(QStringLiteral("readings"));
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(0),
                 HistoryWindow::listText(
                     {QStringLiteral("20261207-190601.tsv"), start.addSecs(60), 1, true}));
        QCOMPARE(list->itemText(1),
                 HistoryWindow::listText({QStringLiteral("20261207-190501.tsv"), start, 2, false}));
        QVERIFY(HistoryWindow::listText({{}, start, 2, false})
                != HistoryWindow::listText({{}, start, 2, true}));
        QCOMPARE(HistoryWindow::startedText(65400), QStringLiteral("1:05"));
        QCOMPARE(HistoryWindow::startedText(3600000), QStringLiteral("60:00"));

        // No, then Yes: only the second deletes the reading shown.
        auto *remove = window.findChild<QAbstractButton *>(QStringLiteral("Btn_Delete"));
        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            QTimer::singleShot(0, [answer] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                    box->button(answer)->click();
            });
            remove->click();
        }
        QCOMPARE(history.files(), QStringList {QStringLiteral("20261207-190501.tsv")});
        QCOMPARE(list->count(), 1);
        QCOMPARE(window.shownEntries(), read);
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"
