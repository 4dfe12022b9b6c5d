#include "FudaSelectDlg.h"
#include "ui_fudaselectdlg.h"

#include "PoemTable.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>

FudaSelectDlg::FudaSelectDlg(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::FudaSelectDlg>())
{
    // setupUi joins the button box to accept()/reject() and then the nine
    // on_<object>_<signal> slots by name. The card cells come afterwards, so
    // the by-name pass never sees them and each is connected once below.
    ui->setupUi(this);
    BuildCardCells();
}

FudaSelectDlg::~FudaSelectDlg() = default;

void FudaSelectDlg::BuildCardCells()
{
    std::array<QPushButton *, PoemTable::CardCount> buttons{};
    const QList<PoemTable::Group> &groups = PoemTable::groups();
    for (qsizetype g = 0; g < groups.size(); ++g) {
        const PoemTable::Group &group = groups.at(g);
        const int x = CellX + ColumnStep * static_cast<int>(g);
        for (qsizetype row = 0; row < group.cards.size(); ++row) {
            const PoemTable::Card &card = PoemTable::card(group.cards.at(row));
            const QString suffix = QString::fromLatin1(card.suffix);

            auto *cell = new QWidget(this);
            cell->setObjectName(QStringLiteral("cell_") + suffix);
            cell->setGeometry(x, group.cellY.at(row), CellWidth, CellHeight);

            auto *layout = new QHBoxLayout(cell);
            layout->setObjectName(QStringLiteral("cellLayout_") + suffix);
            layout->setContentsMargins(0, 0, 0, 0);

            auto *box = new QCheckBox(cell);
            box->setObjectName(QStringLiteral("chk_") + suffix);
            layout->addWidget(box);

            auto *button = new QPushButton(cell);
            button->setObjectName(QStringLiteral("Btn_") + suffix);
            button->setText(QCoreApplication::translate("FudaSelectDlg", card.label));
            layout->addWidget(button);

            const auto index = static_cast<std::size_t>(card.number - 1);
            boxes.at(index) = box;
            buttons.at(index) = button;
        }
    }

    // Each card's button toggles its own box, in card order.
    for (std::size_t i = 0; i < buttons.size(); ++i)
        connect(buttons.at(i), &QPushButton::clicked, boxes.at(i), &QCheckBox::toggle);
}

QCheckBox *FudaSelectDlg::Box(int number) const
{
    if (number < 1 || number > PoemTable::CardCount)
        return nullptr;
    return boxes.at(static_cast<std::size_t>(number - 1));
}

void FudaSelectDlg::SetFudaList(QList<int> *list)
{
    fudaList = list;
    if (!fudaList)
        return;
    // Only checks: numbers outside 1..100 have no box, duplicates check once.
    for (int n = 1; n <= PoemTable::CardCount; ++n) {
        if (fudaList->contains(n))
            Box(n)->setChecked(true);
    }
}

void FudaSelectDlg::on_buttonBox_accepted()
{
    // Without a list there is nothing to write back to.
    if (!fudaList)
        return;
    fudaList->clear();
    for (int n : PoemTable::readBackOrder()) {
        if (Box(n)->isChecked())
            fudaList->append(n);
    }
}

void FudaSelectDlg::on_buttonBox_rejected()
{
    // The list stays as it was; the dialog's reject() already closed it.
}

void FudaSelectDlg::ToggleGroup(int group)
{
    for (int n : PoemTable::groups().at(group).cards)
        Box(n)->toggle();
}

void FudaSelectDlg::on_Btn_MuseUyu_clicked() { ToggleGroup(0); }
void FudaSelectDlg::on_Btn_Itihiki_clicked() { ToggleGroup(1); }
void FudaSelectDlg::on_Btn_Hayayoka_clicked() { ToggleGroup(2); }
void FudaSelectDlg::on_Btn_Mitako_clicked() { ToggleGroup(3); }
void FudaSelectDlg::on_Btn_Owa_clicked() { ToggleGroup(4); }
void FudaSelectDlg::on_Btn_Na_clicked() { ToggleGroup(5); }
void FudaSelectDlg::on_Btn_A_clicked() { ToggleGroup(6); }
