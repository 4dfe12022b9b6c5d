#include "FudaSelectDlg.h"
#include "PoemTable.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

QString suffixOf(int number)
{
    return QString::fromLatin1(PoemTable::card(number).suffix);
}

QCheckBox *boxOf(const FudaSelectDlg &dlg, int number)
{
    return dlg.findChild<QCheckBox *>(QStringLiteral("chk_") + suffixOf(number));
}

QPushButton *buttonOf(const FudaSelectDlg &dlg, int number)
{
    return dlg.findChild<QPushButton *>(QStringLiteral("Btn_") + suffixOf(number));
}

// Card numbers whose boxes are checked, ascending.
QList<int> checkedCards(const FudaSelectDlg &dlg)
{
    QList<int> checked;
    for (int n = 1; n <= PoemTable::CardCount; ++n) {
        QCheckBox *box = boxOf(dlg, n);
        if (box && box->isChecked())
            checked << n;
    }
    return checked;
}

QAbstractButton *standardButton(const FudaSelectDlg &dlg, QDialogButtonBox::StandardButton which)
{
    auto *box = dlg.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    return box ? box->button(which) : nullptr;
}

void clickGroup(const FudaSelectDlg &dlg, const char *name)
{
    auto *button = dlg.findChild<QPushButton *>(QStringLiteral("Btn_") + QString::fromLatin1(name));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class TestFudaSelectDlg : public QObject
{
    Q_OBJECT

private slots:
    void form_titleSizeModalityAndButtons();
    void cells_placedInColumns_data();
    void cells_placedInColumns();
    void cells_boxThenLabelledButton();
    void setFudaList_checksListedCardsOnly();
    void okAtOnce_rewritesListInReadBackOrder_data();
    void okAtOnce_rewritesListInReadBackOrder();
    void okFromExec_listWrittenBeforeExecReturns();
    void okWithoutList_doesNothing();
    void groupButton_onMixedGroup_invertsBoxByBox();
    void groupButton_togglesOwnColumnOnly_data();
    void groupButton_togglesOwnColumnOnly();
    void cardButton_togglesOwnBoxOnly();
    void rejectWays_leaveListUntouched_data();
    void rejectWays_leaveListUntouched();
};

void TestFudaSelectDlg::form_titleSizeModalityAndButtons()
{
    FudaSelectDlg dlg;
    QCOMPARE(dlg.objectName(), QStringLiteral("FudaSelectDlg"));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Fuda"));
    QCOMPARE(dlg.windowModality(), Qt::ApplicationModal);
    QCOMPARE(dlg.size(), QSize(800, 581));
    QCOMPARE(dlg.minimumSize(), QSize(800, 581));
    QCOMPARE(dlg.maximumSize(), QSize(800, 581));

    auto *buttonBox = dlg.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QVERIFY(buttonBox);
    QCOMPARE(buttonBox->geometry(), QRect(510, 540, 271, 32));
    QCOMPARE(buttonBox->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

    const QList<PoemTable::Group> &groups = PoemTable::groups();
    for (qsizetype g = 0; g < groups.size(); ++g) {
        auto *button = dlg.findChild<QPushButton *>(QStringLiteral("Btn_")
                                                    + QString::fromLatin1(groups.at(g).name));
        QVERIFY2(button, groups.at(g).name);
        QCOMPARE(button->geometry(), QRect(50 + 110 * int(g), 10, 75, 23));
        QCOMPARE(button->text(), QString::fromUtf8(groups.at(g).label));
    }
    QCOMPARE(dlg.findChild<QPushButton *>(QStringLiteral("Btn_Itihiki"))->text(),
             QStringLiteral("い ち ひ き"));
    QCOMPARE(dlg.findChildren<QCheckBox *>().size(), 100);
    QVERIFY(checkedCards(dlg).isEmpty());
}

void TestFudaSelectDlg::cells_placedInColumns_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QPoint>("position");

    // First and last of each column, and the cells after the wider steps.
    QTest::newRow("87 top of MuseUyu") << "Mu" << QPoint(30, 40);
    QTest::newRow("77 before step") << "Se" << QPoint(30, 220);
    QTest::newRow("74 after step") << "Uka" << QPoint(30, 260);
    QTest::newRow("46 bottom of MuseUyu") << "Yura" << QPoint(30, 530);
    QTest::newRow("61 top of Itihiki") << "Ini" << QPoint(140, 40);
    QTest::newRow("17 after step") << "Chiha" << QPoint(140, 150);
    QTest::newRow("33 after step") << "Hisa" << QPoint(140, 260);
    QTest::newRow("91 after step") << "Kiri" << QPoint(140, 370);
    QTest::newRow("15 bottom of Itihiki") << "Kimiha" << QPoint(140, 430);
    QTest::newRow("96 top of Hayayoka") << "Hanasa" << QPoint(250, 40);
    QTest::newRow("47 after step") << "Yae" << QPoint(250, 170);
    QTest::newRow("85 after step") << "Yomo" << QPoint(250, 300);
    QTest::newRow("48 bottom of Hayayoka") << "Kazewo" << QPoint(250, 520);
    QTest::newRow("90 top of Mitako") << "Mise" << QPoint(360, 40);
    QTest::newRow("73 after step") << "Taka" << QPoint(360, 200);
    QTest::newRow("68 bottom of Mitako") << "Kokoroni" << QPoint(360, 540);
    QTest::newRow("5 top of Owa") << "Oku" << QPoint(470, 40);
    QTest::newRow("20 after step") << "Wabi" << QPoint(470, 280);
    QTest::newRow("11 bottom of Owa") << "Wataya" << QPoint(470, 460);
    QTest::newRow("36 top of Na") << "Natu" << QPoint(580, 40);
    QTest::newRow("19 bottom of Na") << "Naniwaga" << QPoint(580, 250);
    QTest::newRow("43 top of A") << "Ai" << QPoint(690, 40);
    QTest::newRow("64 bottom of A") << "Asau" << QPoint(690, 490);
}

void TestFudaSelectDlg::cells_placedInColumns()
{
    QFETCH(QString, suffix);
    QFETCH(QPoint, position);

    FudaSelectDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto *box = dlg.findChild<QCheckBox *>(QStringLiteral("chk_") + suffix);
    QVERIFY(box);
    QWidget *cell = box->parentWidget();
    QCOMPARE(cell->parentWidget(), &dlg);
    QCOMPARE(cell->geometry(), QRect(position, QSize(96, 25)));
}

void TestFudaSelectDlg::cells_boxThenLabelledButton()
{
    FudaSelectDlg dlg;
    for (int n = 1; n <= PoemTable::CardCount; ++n) {
        QCheckBox *box = boxOf(dlg, n);
        QPushButton *button = buttonOf(dlg, n);
        QVERIFY2(box && button, qPrintable(suffixOf(n)));
        QVERIFY(box->text().isEmpty());
        QCOMPARE(button->text(), QString::fromUtf8(PoemTable::card(n).label));
        QCOMPARE(button->parentWidget(), box->parentWidget());
        auto *layout = qobject_cast<QHBoxLayout *>(box->parentWidget()->layout());
        QVERIFY(layout);
        QCOMPARE(layout->contentsMargins(), QMargins(0, 0, 0, 0));
        QCOMPARE(layout->count(), 2);
        QCOMPARE(layout->itemAt(0)->widget(), box);
        QCOMPARE(layout->itemAt(1)->widget(), button);
    }
    QCOMPARE(buttonOf(dlg, 50)->text(), QStringLiteral("きみ～お"));
    QCOMPARE(buttonOf(dlg, 43)->text(), QStringLiteral("あい"));
}

void TestFudaSelectDlg::setFudaList_checksListedCardsOnly()
{
    QList<int> list = {5, 0, 5, 120, -3};
    FudaSelectDlg dlg;
    dlg.SetFudaList(&list);
    QCOMPARE(checkedCards(dlg), QList<int>({5}));
    QVERIFY(dlg.findChild<QCheckBox *>(QStringLiteral("chk_Oku"))->isChecked());
    // Setting the boxes leaves the list alone.
    QCOMPARE(list, QList<int>({5, 0, 5, 120, -3}));
}

void TestFudaSelectDlg::okAtOnce_rewritesListInReadBackOrder_data()
{
    QTest::addColumn<QList<int>>("given");
    QTest::addColumn<QList<int>>("written");

    QTest::newRow("empty") << QList<int>() << QList<int>();
    QTest::newRow("duplicates and strays") << QList<int>({5, 0, 5, 120}) << QList<int>({5});
    QTest::newRow("Hayayoka before A") << QList<int>({1, 2}) << QList<int>({2, 1});
    QTest::newRow("63 before 21") << QList<int>({21, 63}) << QList<int>({63, 21});

    QList<int> all;
    for (int n = 100; n >= 1; --n)
        all << n;
    QTest::newRow("all hundred") << all << PoemTable::readBackOrder();
}

void TestFudaSelectDlg::okAtOnce_rewritesListInReadBackOrder()
{
    QFETCH(QList<int>, given);
    QFETCH(QList<int>, written);

    QList<int> list = given;
    FudaSelectDlg dlg;
    dlg.SetFudaList(&list);
    QSignalSpy accepted(&dlg, &QDialog::accepted);
    dlg.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTest::mouseClick(standardButton(dlg, QDialogButtonBox::Ok), Qt::LeftButton);

    QCOMPARE(accepted.count(), 1);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(list, written);
}

void TestFudaSelectDlg::okFromExec_listWrittenBeforeExecReturns()
{
    QList<int> list = {21, 63, 1};
    FudaSelectDlg dlg;
    dlg.SetFudaList(&list);
    QTimer::singleShot(0, &dlg, [&dlg] {
        QTest::mouseClick(buttonOf(dlg, 2), Qt::LeftButton); // adds card 2
        QTest::mouseClick(standardButton(dlg, QDialogButtonBox::Ok), Qt::LeftButton);
    });
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
    QCOMPARE(list, QList<int>({63, 21, 2, 1}));
}

void TestFudaSelectDlg::okWithoutList_doesNothing()
{
    // Never given a list (or given none): OK closes the dialog and writes nowhere.
    FudaSelectDlg dlg;
    dlg.SetFudaList(nullptr);
    dlg.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTest::mouseClick(buttonOf(dlg, 1), Qt::LeftButton);
    QTest::mouseClick(standardButton(dlg, QDialogButtonBox::Ok), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
}

void TestFudaSelectDlg::groupButton_onMixedGroup_invertsBoxByBox()
{
    QList<int> list = {61, 63, 1};
    FudaSelectDlg dlg;
    dlg.SetFudaList(&list);

    clickGroup(dlg, "Itihiki");
    QCOMPARE(checkedCards(dlg), QList<int>({1, 15, 17, 21, 33, 35, 42, 50, 75, 91, 99}));

    clickGroup(dlg, "Itihiki");
    QCOMPARE(checkedCards(dlg), QList<int>({1, 61, 63}));
    QCOMPARE(list, QList<int>({61, 63, 1}));
}

void TestFudaSelectDlg::groupButton_togglesOwnColumnOnly_data()
{
    QTest::addColumn<int>("group");
    const QList<PoemTable::Group> &groups = PoemTable::groups();
    for (qsizetype g = 0; g < groups.size(); ++g)
        QTest::newRow(groups.at(g).name) << int(g);
}

void TestFudaSelectDlg::groupButton_togglesOwnColumnOnly()
{
    QFETCH(int, group);
    const PoemTable::Group &column = PoemTable::groups().at(group);
    QList<int> expected = column.cards;
    std::sort(expected.begin(), expected.end());

    QList<int> list;
    FudaSelectDlg dlg;
    dlg.SetFudaList(&list);

    // All unchecked -> all checked, nothing outside the column.
    clickGroup(dlg, column.name);
    QCOMPARE(checkedCards(dlg), expected);
    // All checked -> all unchecked.
    clickGroup(dlg, column.name);
    QVERIFY(checkedCards(dlg).isEmpty());
}

void TestFudaSelectDlg::cardButton_togglesOwnBoxOnly()
{
    QList<int> list;
    FudaSelectDlg dlg;
    dlg.SetFudaList(&list);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));

    auto *akino = dlg.findChild<QPushButton *>(QStringLiteral("Btn_Akino"));
    auto *akinoBox = dlg.findChild<QCheckBox *>(QStringLiteral("chk_Akino"));
    QVERIFY(akino && akinoBox);
    QTest::mouseClick(akino, Qt::LeftButton);
    QVERIFY(akinoBox->isChecked());
    QCOMPARE(checkedCards(dlg), QList<int>({1}));
    QTest::mouseClick(akino, Qt::LeftButton);
    QVERIFY(!akinoBox->isChecked());

    // Every card's button is wired to its own box exactly once.
    for (int n = 1; n <= PoemTable::CardCount; ++n) {
        QTest::mouseClick(buttonOf(dlg, n), Qt::LeftButton);
        QCOMPARE(checkedCards(dlg), QList<int>({n}));
        // The box itself toggles too.
        QTest::mouseClick(boxOf(dlg, n), Qt::LeftButton);
        QVERIFY(checkedCards(dlg).isEmpty());
    }
}

void TestFudaSelectDlg::rejectWays_leaveListUntouched_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("close button") << "close";
}

void TestFudaSelectDlg::rejectWays_leaveListUntouched()
{
    QFETCH(QString, way);
    const QList<int> before = {2, 1, 120, 2};
    QList<int> list = before;
    {
        FudaSelectDlg dlg;
        dlg.SetFudaList(&list);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        clickGroup(dlg, "A");
        QTest::mouseClick(buttonOf(dlg, 2), Qt::LeftButton);
        QTest::mouseClick(buttonOf(dlg, 100), Qt::LeftButton);

        QSignalSpy rejected(&dlg, &QDialog::rejected);
        if (way == QLatin1String("cancel"))
            QTest::mouseClick(standardButton(dlg, QDialogButtonBox::Cancel), Qt::LeftButton);
        else if (way == QLatin1String("escape"))
            QTest::keyClick(&dlg, Qt::Key_Escape);
        else
            QVERIFY(dlg.close());
        QCOMPARE(rejected.count(), 1);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(list, before);
    }
    // Opening again shows the list's state, not the lost toggles.
    FudaSelectDlg again;
    again.SetFudaList(&list);
    QCOMPARE(checkedCards(again), QList<int>({1, 2}));
}

QTEST_MAIN(TestFudaSelectDlg)
#include "tst_fudaselectdlg.moc"
