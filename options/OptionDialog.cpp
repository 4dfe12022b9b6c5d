#include "OptionDialog.h"
#include "ui_optiondialog.h"

#include "PlaySequenceThread.h"
#include "Voices.h"

#include <QList>
#include <QTimer>

OptionDialog::OptionDialog(QWidget *parent, int voice, bool voice2Available, PlaySequenceThread *thread)
    : QDialog(parent)
    , ui(std::make_unique<Ui::OptionDialog>())
{
    // The form joins accepted()/rejected() to accept()/reject() before the
    // slots below are joined by name, so accept() runs first on OK.
    ui->setupUi(this);
    pollTimer = new QTimer(this);
    connect(pollTimer, &QTimer::timeout, this, &OptionDialog::TimeoutDone);

    ui->radioButton_2->setEnabled(voice2Available);

    this->thread = thread;
    ui->Btn_TestPlay->setEnabled(thread != nullptr);

    chosenVoice = voice;
    ui->radioButton_1->setChecked(voice == Voices::First);
    ui->radioButton_2->setChecked(voice != Voices::First);
}

OptionDialog::~OptionDialog()
{
    // Cuts short a sample that is still sounding; an idle thread ignores it.
    if (thread)
        thread->RequestStop();
    pollTimer->stop();
}

int OptionDialog::voice() const
{
    return chosenVoice;
}

int OptionDialog::voiceOnScreen() const
{
    return ui->radioButton_1->isChecked() ? Voices::First : Voices::Second;
}

void OptionDialog::on_buttonBox_accepted()
{
    chosenVoice = voiceOnScreen();
}

void OptionDialog::on_buttonBox_rejected()
{
    // Nothing to do: the form's own connection to reject() closes the dialog.
}

void OptionDialog::on_Btn_TestPlay_clicked()
{
    if (!thread)
        return;

    // The preamble poem alone. The thread keeps its own copy of the list, so
    // the sample may outlive this dialog without reading freed memory.
    QList<int> sample{0};
    thread->SetParameters(voiceOnScreen(), 1, 1);
    thread->SetFudaList(&sample);
    ui->Btn_TestPlay->setEnabled(false);
    pollTimer->start(PollIntervalMs);
    thread->RequestStart();
}

void OptionDialog::TimeoutDone()
{
    if (thread && thread->GetState() == 0) {
        ui->Btn_TestPlay->setEnabled(true);
        pollTimer->stop();
    }
}
