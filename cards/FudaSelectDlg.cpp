#include "FudaSelectDlg.h"
#include "ui_fudaselectdlg.h"

#include "CardCatalog.h"
#include "CardSetPresets.h"
#include "CardSets.h"
#include "PoemTable.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

FudaSelectDlg::FudaSelectDlg(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::FudaSelectDlg>())
{
    // setupUi joins the button box to accept()/reject() and then the nine
    // on_<object>_<signal> slots by name. The card cells come afterwards, so
    // the by-name pass never sees them and each is connected once below.
    ui->setupUi(this);
    BuildCardCells();
    // The menu is rebuilt each time it opens, so it lists the sets as stored.
    auto *menu = new QMenu(ui->Btn_CardSets);
    menu->setObjectName(QStringLiteral("cardSetsMenu"));
    ui->Btn_CardSets->setMenu(menu);
    connect(menu, &QMenu::aboutToShow, this, &FudaSelectDlg::BuildCardSetsMenu);
}

FudaSelectDlg::~FudaSelectDlg() = default;

void FudaSelectDlg::BuildCardCells()
{
    std::array<QPushButton *, PoemTable::CardCount> buttons {};
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
            button->setText(
                QString::fromUtf8(card.label)); // deciding syllables: data, never translated
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

void FudaSelectDlg::on_Btn_MuseUyu_clicked()
{
    ToggleGroup(0);
}
void FudaSelectDlg::on_Btn_Itihiki_clicked()
{
    ToggleGroup(1);
}
void FudaSelectDlg::on_Btn_Hayayoka_clicked()
{
    ToggleGroup(2);
}
void FudaSelectDlg::on_Btn_Mitako_clicked()
{
    ToggleGroup(3);
}
void FudaSelectDlg::on_Btn_Owa_clicked()
{
    ToggleGroup(4);
}
void FudaSelectDlg::on_Btn_Na_clicked()
{
    ToggleGroup(5);
}
void FudaSelectDlg::on_Btn_A_clicked()
{
    ToggleGroup(6);
}

void FudaSelectDlg::SetCardSetsFile(const QString &iniPath)
{
    cardSetsFile = iniPath;
}

QList<int> FudaSelectDlg::CheckedCards() const
{
    QList<int> cards;
    for (int n : PoemTable::readBackOrder()) {
        if (Box(n)->isChecked())
            cards.append(n);
    }
    return cards;
}

void FudaSelectDlg::CheckCards(const QList<int> &cards)
{
    for (int n = 1; n <= PoemTable::CardCount; ++n)
        Box(n)->setChecked(cards.contains(n));
}

void FudaSelectDlg::BuildCardSetsMenu()
{
    QMenu *menu = ui->Btn_CardSets->menu();
    menu->clear();

    CardSets sets;
    if (!cardSetsFile.isEmpty()) {
        QSettings settings(cardSetsFile, QSettings::IniFormat);
        sets = CardSets::load(settings);
    }
    QAction *save =
        menu->addAction(tr("今の選択を保存..."), this, &FudaSelectDlg::SaveCurrentAsSet);
    save->setObjectName(QStringLiteral("actionSaveCardSet"));
    save->setEnabled(!cardSetsFile.isEmpty());
    QMenu *saved = menu->addMenu(tr("保存した札セット"));
    saved->setObjectName(QStringLiteral("menuSavedCardSets"));
    QMenu *remove = menu->addMenu(tr("札セットを削除"));
    remove->setObjectName(QStringLiteral("menuRemoveCardSet"));
    for (const QString &name : sets.names()) {
        const QList<int> cards = sets.cards(name);
        saved->addAction(name, this, [this, cards] { CheckCards(cards); });
        remove->addAction(name, this, [this, name] { DeleteSet(name); });
    }
    saved->setEnabled(!sets.names().isEmpty());
    remove->setEnabled(!sets.names().isEmpty());
    menu->addSeparator();

    QMenu *colours = menu->addMenu(tr("五色"));
    QMenu *firstKana = menu->addMenu(tr("頭の字"));
    const QStringList colourNames = {tr("青"), tr("桃"), tr("黄"), tr("緑"), tr("橙")};
    for (const CardSetPreset &preset : CardSetPresets::all(CardCatalog::builtIn())) {
        const QList<int> cards = preset.cards;
        const auto apply = [this, cards] { CheckCards(cards); };
        // %n: the translation picks the singular or plural of "card".
        const int count = static_cast<int>(cards.size());
        switch (preset.kind) {
        case CardSetPreset::Kind::Colour: {
            const auto at = CardCatalog::colours().indexOf(preset.key);
            colours->addAction(
                tr("%1 (%n枚)", nullptr, count).arg(colourNames.value(at, preset.key)), this,
                apply);
            break;
        }
        case CardSetPreset::Kind::OneSyllable:
            menu->addAction(tr("一字決まり (%n枚)", nullptr, count), this, apply);
            break;
        case CardSetPreset::Kind::FirstKana:
            firstKana->addAction(tr("%1 (%n枚)", nullptr, count).arg(preset.key), this, apply);
            break;
        }
    }
}

void FudaSelectDlg::SaveCurrentAsSet()
{
    const QList<int> cards = CheckedCards();
    if (cards.isEmpty()) {
        QMessageBox::information(this, tr("札セット"), tr("札が選択されていません"));
        return;
    }
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, tr("札セット"), tr("名前:"), QLineEdit::Normal, QString(), &ok)
            .trimmed();
    if (!ok || name.isEmpty())
        return;
    QSettings settings(cardSetsFile, QSettings::IniFormat);
    if (!CardSets::saveOne(settings, name, cards)) {
        QMessageBox::warning(this, tr("札セット"), tr("この名前は使えません: %1").arg(name));
        return;
    }
    ReportWrite(settings);
}

void FudaSelectDlg::DeleteSet(const QString &name)
{
    QSettings settings(cardSetsFile, QSettings::IniFormat);
    CardSets::removeOne(settings, name);
    ReportWrite(settings);
}

bool FudaSelectDlg::ReportWrite(QSettings &settings)
{
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    QMessageBox::warning(this, tr("札セット"),
                         tr("札セットを保存できませんでした: %1").arg(cardSetsFile));
    return false;
}
