#ifndef PRACTICEDIALOG_H
#define PRACTICEDIALOG_H

#include "PracticeSettings.h"

#include <QDialog>

#include <memory>

namespace Ui {
class PracticeDialog;
}

// Lets the user choose how a practice reading runs: the reading style, how
// the take ends (timed or on Next), how many dead cards are mixed in and how
// often they share their first sounds with the selected cards, whether the
// reading starts over after its last card and how long the memorization
// timer runs. It also holds the view's "card in the status line with the
// poem panel" switch, the same one as the panel's. Each choice carries a one-line explanation in the form.
class PracticeDialog : public QDialog
{
    Q_OBJECT

public:
    PracticeDialog(QWidget *parent, const PracticeSettings &settings);
    ~PracticeDialog() override;

    // The choices on screen; the caller takes them when the dialog is accepted.
    PracticeSettings settings() const;
    // The status-line switch as the view settings hold it / as chosen.
    void setStatusCardWithPanel(bool on);
    bool statusCardWithPanel() const;

private:
    std::unique_ptr<Ui::PracticeDialog> ui;
};

#endif
