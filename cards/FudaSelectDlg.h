#ifndef FUDASELECTDLG_H
#define FUDASELECTDLG_H

#include <QDialog>
#include <QList>

#include "PoemTable.h"

class QSettings;

#include <array>
#include <memory>

class QCheckBox;

namespace Ui {
class FudaSelectDlg;
}

// Modal dialog choosing the cards in play: one check box per card with a
// button beside it that toggles it, and seven group buttons that toggle whole
// columns. It edits the caller's list in place: SetFudaList() checks the boxes
// of the listed cards, OK rewrites the list from the boxes, Cancel, Escape and
// the close button leave it untouched.
class FudaSelectDlg : public QDialog
{
    Q_OBJECT

public:
    explicit FudaSelectDlg(QWidget *parent = nullptr);
    ~FudaSelectDlg() override;

    // The list must outlive the dialog; it is not copied.
    void SetFudaList(QList<int> *list);

    // The settings file whose group CardSets the card-set menu reads and
    // writes; without it only the ready-made sets are offered.
    void SetCardSetsFile(const QString &iniPath);
    // The checked cards, in the order OK writes them back.
    QList<int> CheckedCards() const;
    // Checks exactly the given cards.
    void CheckCards(const QList<int> &cards);

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
    void SaveCurrentAsSet();
    void DeleteSet(const QString &name);
    bool ReportWrite(QSettings &settings);

    std::unique_ptr<Ui::FudaSelectDlg> ui;
    QList<int> *fudaList = nullptr;
    // The check box of card n is element n - 1; the boxes belong to the dialog.
    std::array<QCheckBox *, PoemTable::CardCount> boxes {};
    QString cardSetsFile;
};

#endif
