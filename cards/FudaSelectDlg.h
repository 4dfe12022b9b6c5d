#ifndef FUDASELECTDLG_H
#define FUDASELECTDLG_H

#include <QDialog>
#include <QList>

#include "CardQueryParser.h"
#include "CardSets.h"
#include "PoemTable.h"


#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QMenu;

namespace Ui {
class FudaSelectDlg;
}

// Modal dialog choosing the cards in play: one check box per card with a
// button beside it that toggles it, and seven group buttons that toggle whole
// columns. It edits the caller's list in place: SetFudaList() checks the boxes
// of the listed cards, OK rewrites the list from the boxes, Cancel, Escape and
// the close button leave it untouched.
//
// Besides the boxes and the group buttons: the count of checked cards, buttons
// to check all, none or the others, a field naming cards by deciding syllables or
// numbers, and the card-set menu (saved and ready-made sets, replacing or
// added to the selection; a set copied or pasted as one line of text).
class FudaSelectDlg : public QDialog
{
    Q_OBJECT

public:
    explicit FudaSelectDlg(QWidget *parent = nullptr);
    ~FudaSelectDlg() override;

    // The list must outlive the dialog; it is not copied.
    void SetFudaList(QList<int> *list);

    // The saved card sets the card-set menu offers, saves to and deletes
    // from, edited in place (the caller stores them with the other settings).
    // Not copied: they must outlive the dialog. Without them only the
    // ready-made sets are offered.
    void SetCardSets(CardSets *sets);
    // The checked cards, in the order OK writes them back.
    QList<int> CheckedCards() const;
    // Checks exactly the given cards.
    void CheckCards(const QList<int> &cards);
    // Checks the given cards as well, leaving the others as they are.
    void AddCards(const QList<int> &cards);
    // Applies the typed field (see CardQueryParser); false, with the unknown
    // words shown and nothing changed, when a word names no card.
    bool ApplyCardQuery();

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();
    void on_Btn_MuseUyu_clicked();
    void on_Btn_Itihiki_clicked();
    void on_Btn_Hayayoka_clicked();
    void on_Btn_Mitako_clicked();
    void on_Btn_Owa_clicked();
    void on_Btn_Na_clicked();
    void on_Btn_A_clicked();

private:
    static constexpr int CellX = 30;
    static constexpr int ColumnStep = 110;
    static constexpr int CellWidth = 96;
    static constexpr int CellHeight = 25;

    void BuildCardCells();
    void ToggleGroup(int group);
    QCheckBox *Box(int number) const;
    void BuildCardSetsMenu();
    void AddSetsMenuEntries(QMenu *menu);
    // The checked cards' set name the user types (trimmed); none when no card
    // is checked (the user is told) or the user cancels.
    std::optional<QString> AskSetName(const QList<int> &cards);
    void SaveCurrentAsSet();
    void DeleteSet(const QString &name);
    void CopySetAsText(const QString &name, const QList<int> &cards);
    void CopySelectionAsText();
    void PasteSetFromText();
    // Stores a set (after asking when the name is taken); false when not stored.
    bool StoreSet(const QString &name, const QList<int> &cards);
    void ApplySet(const QList<int> &cards);
    void ShowSelectionCount();
    void BuildSelectionControls();

    std::unique_ptr<Ui::FudaSelectDlg> ui;
    QList<int> *fudaList = nullptr;
    // The check box of card n is element n - 1; the boxes belong to the dialog.
    std::array<QCheckBox *, PoemTable::CardCount> boxes {};
    CardSets *cardSets = nullptr; // the caller's
    bool addSets = false; // a chosen set adds to the selection instead of replacing it
    CardQueryParser queryParser;
};

#endif
