#include "FinalMsgBox.h"
#include "ui_finalmsgbox.h"

#include "AppFolder.h"
#include "AudioOutput.h"

FinalMsgBox::FinalMsgBox(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::FinalMsgBox>())
{
    ui->setupUi(this); // also joins on_ButtonOK_clicked() by name
    // Started before the box is shown; closing the box does not stop it.
    AudioOutput::PlayCue(AppFolder::cueFile(QStringLiteral("fine.wav")));
}

FinalMsgBox::~FinalMsgBox() = default;

void FinalMsgBox::on_ButtonOK_clicked()
{
    close();
}
