#ifndef FINALMSGBOX_H
#define FINALMSGBOX_H

#include <QDialog>

#include <memory>

class CuePlayer;

namespace Ui {
class FinalMsgBox;
}

// Announces the end of the memorization period: plays "fine.wav" as soon as
// it is created (through the player given) and shows one line of text with
// an OK button.
class FinalMsgBox : public QDialog
{
    Q_OBJECT

public:
    FinalMsgBox(QWidget *parent, CuePlayer &cues);
    ~FinalMsgBox() override;

private slots:
    void on_ButtonOK_clicked();

private:
    std::unique_ptr<Ui::FinalMsgBox> ui;
};

#endif
