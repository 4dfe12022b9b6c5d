#include "FinalMsgBox.h"
#include "ui_finalmsgbox.h"

#include "CuePlayer.h"

FinalMsgBox::FinalMsgBox(QWidget *parent, CuePlayer &cues)
    : QDialog(parent)
    , ui(std::make_unique<Ui::FinalMsgBox>())
{
    ui->setupUi(this); // also joins on_ButtonOK_clicked() by name
    // Started before the box is shown; closing the box does not stop it.
    cues.playCue(QStringLiteral("fine.wav"));
}

FinalMsgBox::~FinalMsgBox() = default;

void FinalMsgBox::on_ButtonOK_clicked()
{
    close();
}
