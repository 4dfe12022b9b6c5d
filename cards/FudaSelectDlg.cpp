#include "FudaSelectDlg.h"
#include "ui_fudaselectdlg.h"

#include "CardCatalog.h"
#include "CardSetPresets.h"
#include "CardSetText.h"
#include "CardSets.h"
#include "PoemTable.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <functional>

namespace {

// Return in the typed field applies it. A line edit passes Return on to the
// dialog, whose default button would then close it with OK; this filter
// keeps the key in the field when `apply` takes it (an empty field leaves
// Return to the line edit as it was).
class ReturnApplies : public QObject
{
public:
    ReturnApplies(QObject *parent, std::function<bool()> apply)
        : QObject(parent)
        , apply(std::move(apply))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && apply())
                return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool()> apply;
};

} // namespace

FudaSelectDlg::FudaSelectDlg(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::FudaSelectDlg>())
    , queryParser(CardQueryParser::fromCatalog(CardCatalog::builtIn()))
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
    BuildSelectionControls();
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

void FudaSelectDlg::SetCardSets(CardSets *sets)
{
    cardSets = sets;
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

void FudaSelectDlg::AddCards(const QList<int> &cards)
{
    for (int n : cards) {
        if (QCheckBox *box = Box(n))
            box->setChecked(true);
    }
}

void FudaSelectDlg::BuildSelectionControls()
{
    for (QCheckBox *box : boxes)
        connect(box, &QCheckBox::toggled, this, &FudaSelectDlg::ShowSelectionCount);
    ShowSelectionCount();
    connect(ui->Btn_SelectAll, &QPushButton::clicked, this,
            [this] { AddCards(PoemTable::readBackOrder()); });
    connect(ui->Btn_ClearAll, &QPushButton::clicked, this, [this] { CheckCards({}); });
    connect(ui->Btn_Invert, &QPushButton::clicked, this, [this] {
        for (QCheckBox *box : boxes)
            box->toggle();
    });
    connect(ui->Btn_ApplyQuery, &QPushButton::clicked, this, &FudaSelectDlg::ApplyCardQuery);
    ui->cardQuery->installEventFilter(new ReturnApplies(ui->cardQuery, [this] {
        if (ui->cardQuery->text().trimmed().isEmpty())
            return false;
        ApplyCardQuery();
        return true;
    }));
    ui->cardQuery->setToolTip(
        tr("決まり字(かな・ローマ字)か番号を空白で区切って入れます。\n"
           "「あさ」はあさで始まる札すべて、「むすめふさほせ」は一字決まりの七枚、"
           "「1-20」は1番から20番。\n頭に - を付けると外します(-87、-1-20)。"));
    ui->cardQueryMessage->setToolTip(ui->cardQuery->toolTip());
}

void FudaSelectDlg::ShowSelectionCount()
{
    const auto count = std::count_if(boxes.cbegin(), boxes.cend(),
                                     [](const QCheckBox *box) { return box->isChecked(); });
    ui->selectionCount->setText(tr("選択: %n枚", nullptr, static_cast<int>(count)));
}

bool FudaSelectDlg::ApplyCardQuery()
{
    const CardQuery query = queryParser.parse(ui->cardQuery->text());
    if (query.isEmpty())
        return true;
    if (!query.unknown.isEmpty()) {
        ui->cardQueryMessage->setStyleSheet(QStringLiteral("color: #c00000"));
        ui->cardQueryMessage->setText(
            tr("わからない語: %1").arg(query.unknown.join(QLatin1Char(' '))));
        return false;
    }
    const QList<int> before = CheckedCards();
    const QSet<int> after = query.appliedTo(QSet<int>(before.cbegin(), before.cend()));
    CheckCards(QList<int>(after.cbegin(), after.cend()));
    const auto added = std::count_if(after.cbegin(), after.cend(),
                                     [&before](int card) { return !before.contains(card); });
    const auto removed = std::count_if(before.cbegin(), before.cend(),
                                       [&after](int card) { return !after.contains(card); });
    ui->cardQueryMessage->setStyleSheet(QString());
    ui->cardQueryMessage->setText(tr("加えた札 %1枚、外した札 %2枚").arg(added).arg(removed));
    ui->cardQuery->clear();
    return true;
}

void FudaSelectDlg::ApplySet(const QList<int> &cards)
{
    if (addSets)
        AddCards(cards);
    else
        CheckCards(cards);
}

void FudaSelectDlg::BuildCardSetsMenu()
{
    QMenu *menu = ui->Btn_CardSets->menu();
    menu->clear();
    // clear() leaves the submenus of the last opening behind as children.
    qDeleteAll(menu->findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly));

    QAction *save =
        menu->addAction(tr("今の選択を保存..."), this, &FudaSelectDlg::SaveCurrentAsSet);
    save->setObjectName(QStringLiteral("actionSaveCardSet"));
    save->setEnabled(cardSets != nullptr);
    AddSetsMenuEntries(menu);
    menu->addSeparator();

    QMenu *colours = menu->addMenu(tr("五色"));
    QMenu *firstKana = menu->addMenu(tr("頭の字"));
    const QStringList colourNames = {tr("青"), tr("桃"), tr("黄"), tr("緑"), tr("橙")};
    for (const CardSetPreset &preset : CardSetPresets::all(CardCatalog::builtIn())) {
        const QList<int> cards = preset.cards;
        const auto apply = [this, cards] { ApplySet(cards); };
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

void FudaSelectDlg::AddSetsMenuEntries(QMenu *menu)
{
    QAction *adding = menu->addAction(tr("選んだセットを今の選択に加える"));
    adding->setObjectName(QStringLiteral("actionAddSets"));
    adding->setCheckable(true);
    adding->setChecked(addSets);
    connect(adding, &QAction::toggled, this, [this](bool on) { addSets = on; });

    const QStringList names = cardSets ? cardSets->names() : QStringList();
    QMenu *saved = menu->addMenu(tr("保存した札セット"));
    saved->setObjectName(QStringLiteral("menuSavedCardSets"));
    QMenu *remove = menu->addMenu(tr("札セットを削除"));
    remove->setObjectName(QStringLiteral("menuRemoveCardSet"));
    QMenu *copy = menu->addMenu(tr("テキストでコピー"));
    copy->setObjectName(QStringLiteral("menuCopyCardSet"));
    copy->addAction(tr("今の選択..."), this, &FudaSelectDlg::CopySelectionAsText);
    for (const QString &name : names) {
        const QList<int> cards = cardSets->cards(name);
        const int count = static_cast<int>(cards.size());
        saved->addAction(tr("%1 (%n枚)", nullptr, count).arg(name), this,
                         [this, cards] { ApplySet(cards); });
        remove->addAction(name, this, [this, name] { DeleteSet(name); });
        copy->addAction(name, this, [this, name, cards] { CopySetAsText(name, cards); });
    }
    saved->setEnabled(!names.isEmpty());
    remove->setEnabled(!names.isEmpty());
    QAction *paste =
        menu->addAction(tr("テキストから読み込む..."), this, &FudaSelectDlg::PasteSetFromText);
    paste->setObjectName(QStringLiteral("actionPasteCardSet"));
    paste->setEnabled(cardSets != nullptr);
}

std::optional<QString> FudaSelectDlg::AskSetName(const QList<int> &cards)
{
    if (cards.isEmpty()) {
        QMessageBox::information(this, tr("札セット"), tr("札が選択されていません"));
        return std::nullopt;
    }
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, tr("札セット"), tr("名前:"), QLineEdit::Normal, QString(), &ok)
            .trimmed();
    return ok ? std::optional<QString>(name) : std::nullopt;
}

void FudaSelectDlg::SaveCurrentAsSet()
{
    const QList<int> cards = CheckedCards();
    const std::optional<QString> name = AskSetName(cards);
    if (name && !name->isEmpty())
        StoreSet(*name, cards);
}

bool FudaSelectDlg::StoreSet(const QString &name, const QList<int> &cards)
{
    if (!cardSets)
        return false;
    if (!CardSets::isValidName(name)) {
        QMessageBox::warning(this, tr("札セット"), tr("この名前は使えません: %1").arg(name));
        return false;
    }
    if (cardSets->contains(name)
        && QMessageBox::question(this, tr("札セット"),
                                 tr("札セット「%1」はもうあります。置き換えますか?").arg(name))
            != QMessageBox::Yes)
        return false;
    return cardSets->insert(name, cards);
}

void FudaSelectDlg::DeleteSet(const QString &name)
{
    if (!cardSets
        || QMessageBox::question(this, tr("札セット"),
                                 tr("札セット「%1」を削除しますか?").arg(name))
            != QMessageBox::Yes)
        return;
    cardSets->remove(name);
}

void FudaSelectDlg::CopySetAsText(const QString &name, const QList<int> &cards)
{
    QGuiApplication::clipboard()->setText(CardSetText {name, cards}.toLine());
}

void FudaSelectDlg::CopySelectionAsText()
{
    const QList<int> cards = CheckedCards();
    const std::optional<QString> name = AskSetName(cards);
    if (!name)
        return;
    if (!CardSets::isValidName(*name)) {
        QMessageBox::warning(this, tr("札セット"), tr("この名前は使えません: %1").arg(*name));
        return;
    }
    CopySetAsText(*name, cards);
}

void FudaSelectDlg::PasteSetFromText()
{
    bool ok = false;
    const QString line = QInputDialog::getText(
        this, tr("札セット"), tr("コピーした札セットの行 (名前: 番号,番号,...):"),
        QLineEdit::Normal, QGuiApplication::clipboard()->text().trimmed(), &ok);
    if (!ok)
        return;
    const std::optional<CardSetText> set = CardSetText::fromLine(line);
    if (!set) {
        QMessageBox::warning(this, tr("札セット"), tr("札セットとして読めません: %1").arg(line));
        return;
    }
    if (StoreSet(set->name, set->cards))
        ApplySet(set->cards);
}
