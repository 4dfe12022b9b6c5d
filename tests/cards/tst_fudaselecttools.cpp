#include "CardSets.h"
#include "FudaSelectDlg.h"
#include "PoemTable.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QList<int> checked(const FudaSelectDlg &dlg)
{
    QList<int> cards = dlg.CheckedCards();
    std::sort(cards.begin(), cards.end());
    return cards;
}

int shownCount(const FudaSelectDlg &dlg)
{
    const QString text = dlg.findChild<QLabel *>(QStringLiteral("selectionCount"))->text();
    static const QRegularExpression digits(QStringLiteral("\\d+"));
    return digits.match(text).captured().toInt();
}

// Runs `step` on the next modal dialog of type T once it shows.
template<typename T>
void onNextModal(const std::function<void(T *)> &step)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            timer->stop();
            step(dialog);
        }
    });
    timer->start();
}

void answer(QMessageBox::StandardButton button)
{
    onNextModal<QMessageBox>([button](QMessageBox *box) { box->button(button)->click(); });
}

void typeName(const QString &text)
{
    onNextModal<QInputDialog>([text](QInputDialog *input) {
        input->setTextValue(text);
        input->accept();
    });
}

QMenu *setsMenu(FudaSelectDlg &dlg)
{
    auto *menu = dlg.findChild<QMenu *>(QStringLiteral("cardSetsMenu"));
    emit menu->aboutToShow();
    return menu;
}

QAction *action(FudaSelectDlg &dlg, const char *name)
{
    return setsMenu(dlg)->findChild<QAction *>(QString::fromLatin1(name));
}

QList<QAction *> entries(FudaSelectDlg &dlg, const char *menu)
{
    return setsMenu(dlg)->findChild<QMenu *>(QString::fromLatin1(menu))->actions();
}

} // namespace

// The card selection dialog's tools besides the boxes and group buttons: the
// count, all / none / invert, the typed field and the card-set operations.
class TestFudaSelectTools : public QObject
{
    Q_OBJECT

private slots:
    void count_followsEveryWayOfChecking()
    {
        QList<int> list {1, 2};
        FudaSelectDlg dlg;
        dlg.SetFudaList(&list);
        QCOMPARE(shownCount(dlg), 2);
        dlg.findChild<QPushButton *>(QStringLiteral("Btn_Itihiki"))->click();
        QCOMPARE(shownCount(dlg), 14);
        dlg.findChild<QPushButton *>(QStringLiteral("Btn_SelectAll"))->click();
        QCOMPARE(shownCount(dlg), 100);
        dlg.CheckCards({87});
        dlg.findChild<QPushButton *>(QStringLiteral("Btn_Invert"))->click();
        QCOMPARE(shownCount(dlg), 99);
        QVERIFY(!checked(dlg).contains(87));
        dlg.findChild<QPushButton *>(QStringLiteral("Btn_ClearAll"))->click();
        QCOMPARE(shownCount(dlg), 0);
        QCOMPARE(list, (QList<int> {1, 2})); // the list changes only on OK
    }

    void typedField_appliesOnReturnAndKeepsTheDialogOpen()
    {
        QList<int> list {1};
        FudaSelectDlg dlg;
        dlg.SetFudaList(&list);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto *field = dlg.findChild<QLineEdit *>(QStringLiteral("cardQuery"));
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("mu su me -1"));
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(dlg.isVisible());
        QCOMPARE(checked(dlg), (QList<int> {18, 57, 87}));
        QVERIFY(field->text().isEmpty());

        // An unknown word: shown, and nothing changes.
        field->setText(QStringLiteral("-mu zzq"));
        QTest::keyClick(field, Qt::Key_Enter);
        QCOMPARE(checked(dlg), (QList<int> {18, 57, 87}));
        QCOMPARE(field->text(), QStringLiteral("-mu zzq"));
        QVERIFY(
            dlg.findChild<QLabel *>(QStringLiteral("cardQueryMessage"))->text().contains("zzq"));

        field->setText(QStringLiteral("-18 5-6"));
        dlg.findChild<QPushButton *>(QStringLiteral("Btn_ApplyQuery"))->click();
        QCOMPARE(checked(dlg), (QList<int> {5, 6, 57, 87}));
        QCOMPARE(shownCount(dlg), 4);
    }

    void sets_replaceOrAddAndShowTheirCount()
    {
        CardSets sets;
        QVERIFY(sets.insert(QStringLiteral("pair"), {1, 2}));
        FudaSelectDlg dlg;
        dlg.SetCardSets(&sets);
        dlg.CheckCards({5});
        QList<QAction *> saved = entries(dlg, "menuSavedCardSets");
        QCOMPARE(saved.size(), 1);
        QVERIFY(saved.first()->text().startsWith(QStringLiteral("pair")));
        QVERIFY(saved.first()->text().contains(QLatin1Char('2')));
        saved.first()->trigger();
        QCOMPARE(checked(dlg), (QList<int> {1, 2}));

        // In adding mode a saved or ready-made set joins the selection.
        dlg.CheckCards({5});
        action(dlg, "actionAddSets")->setChecked(true);
        entries(dlg, "menuSavedCardSets").first()->trigger();
        QCOMPARE(checked(dlg), (QList<int> {1, 2, 5}));
        QVERIFY(action(dlg, "actionAddSets")->isChecked()); // kept while the dialog is open
        setsMenu(dlg)->actions().last()->trigger(); // the one-syllable cards
        QCOMPARE(checked(dlg), (QList<int> {1, 2, 5, 18, 22, 57, 70, 77, 81, 87}));
    }

    void sets_saveOverAndDeleteAskFirst()
    {
        CardSets sets;
        QVERIFY(sets.insert(QStringLiteral("pair"), {1, 2}));
        FudaSelectDlg dlg;
        dlg.SetCardSets(&sets);
        dlg.CheckCards({7});

        typeName(QStringLiteral("pair"));
        answer(QMessageBox::No);
        action(dlg, "actionSaveCardSet")->trigger();
        QCOMPARE(sets.cards(QStringLiteral("pair")), (QList<int> {1, 2}));
        typeName(QStringLiteral("pair"));
        answer(QMessageBox::Yes);
        action(dlg, "actionSaveCardSet")->trigger();
        QCOMPARE(sets.cards(QStringLiteral("pair")), (QList<int> {7}));
        typeName(QStringLiteral("new"));
        action(dlg, "actionSaveCardSet")->trigger(); // a new name asks nothing
        QCOMPARE(sets.names(), (QStringList {"new", "pair"}));

        answer(QMessageBox::No);
        entries(dlg, "menuRemoveCardSet").first()->trigger();
        QCOMPARE(sets.size(), 2);
        answer(QMessageBox::Yes);
        entries(dlg, "menuRemoveCardSet").first()->trigger();
        QCOMPARE(sets.names(), (QStringList {"pair"}));
    }

    void sets_copiedAndPastedAsOneLine()
    {
        CardSets sets;
        QVERIFY(sets.insert(QStringLiteral("一字"), {87, 18}));
        FudaSelectDlg dlg;
        dlg.SetCardSets(&sets);
        const QList<QAction *> copy = entries(dlg, "menuCopyCardSet");
        QCOMPARE(copy.size(), 2); // the selection, then each saved set
        copy.last()->trigger();
        const QString line = QGuiApplication::clipboard()->text();
        QCOMPARE(line, QStringLiteral("一字: 87,18"));

        // Pasted back under another name on another machine: a new set, chosen.
        CardSets theirs;
        FudaSelectDlg other;
        other.SetCardSets(&theirs);
        typeName(QStringLiteral("友: 87,18"));
        action(other, "actionPasteCardSet")->trigger();
        QCOMPARE(theirs.cards(QStringLiteral("友")), (QList<int> {87, 18}));
        QCOMPARE(checked(other), (QList<int> {18, 87}));

        // A line that is no set: said so, nothing stored or checked.
        typeName(QStringLiteral("hello"));
        answer(QMessageBox::Ok);
        action(other, "actionPasteCardSet")->trigger();
        QCOMPARE(theirs.size(), 1);
        QCOMPARE(checked(other), (QList<int> {18, 87}));
    }
};

QTEST_MAIN(TestFudaSelectTools)
#include "tst_fudaselecttools.moc"
