#include "OptionDialog.h"
#include "ui_optiondialog.h"

#include "AudioShapingStore.h"
#include "PlaySequenceThread.h"
#include "Voices.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QList>
#include <QTimer>

OptionDialog::OptionDialog(QWidget *parent, int voice, bool voice2Available,
                           PlaySequenceThread *thread)
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

    ui->groupBox_shaping->hide();
}

OptionDialog::OptionDialog(QWidget *parent, int voice, bool voice2Available,
                           PlaySequenceThread *thread, const AudioShaping &shaping)
    : OptionDialog(parent, voice, voice2Available, thread)
{
    showShapingControls(shaping);
}

OptionDialog::~OptionDialog()
{
    // Cuts short a sample that is still sounding; an idle thread ignores it.
    if (thread)
        thread->RequestStop();
    pollTimer->stop();
    if (editsShaping && !shapingAccepted)
        AudioShapingStore::set(shapingInForceBefore);
}

int OptionDialog::voice() const
{
    return chosenVoice;
}

int OptionDialog::voiceOnScreen() const
{
    return ui->radioButton_1->isChecked() ? Voices::First : Voices::Second;
}

AudioShaping OptionDialog::shaping() const
{
    return chosenShaping;
}

AudioShaping OptionDialog::shapingOnScreen() const
{
    return {ui->checkBox_trimSilence->isChecked(), ui->checkBox_normalize->isChecked(),
            ui->doubleSpinBox_speed->value()};
}

void OptionDialog::showShapingControls(const AudioShaping &shaping)
{
    editsShaping = true;
    chosenShaping = shaping;
    shapingInForceBefore = AudioShapingStore::get();

    ui->checkBox_trimSilence->setChecked(shaping.trimSilence);
    ui->checkBox_normalize->setChecked(shaping.normalize);
    ui->doubleSpinBox_speed->setValue(AudioShaping::clampedSpeed(shaping.speed));
    putShapingOnScreenInForce();
    connect(ui->checkBox_trimSilence, &QCheckBox::toggled, this,
            &OptionDialog::putShapingOnScreenInForce);
    connect(ui->checkBox_normalize, &QCheckBox::toggled, this,
            &OptionDialog::putShapingOnScreenInForce);
    connect(ui->doubleSpinBox_speed, &QDoubleSpinBox::valueChanged, this,
            &OptionDialog::putShapingOnScreenInForce);

    // The shaping group sits below the voice choice; the buttons move below it
    // and the dialog grows to hold them, with the form's spacing and margin.
    const int gap = ui->buttonBox->y() - (ui->groupBox->y() + ui->groupBox->height());
    const int margin = height() - ui->buttonBox->geometry().bottom();
    ui->groupBox_shaping->show();
    ui->buttonBox->move(ui->buttonBox->x(),
                        ui->groupBox_shaping->y() + ui->groupBox_shaping->height() + gap);
    const QSize enlarged(width(), ui->buttonBox->geometry().bottom() + margin);
    setMinimumSize(enlarged);
    setMaximumSize(enlarged);
    resize(enlarged);
}

void OptionDialog::putShapingOnScreenInForce()
{
    AudioShapingStore::set(shapingOnScreen());
}

void OptionDialog::on_buttonBox_accepted()
{
    chosenVoice = voiceOnScreen();
    if (editsShaping) {
        chosenShaping = shapingOnScreen();
        shapingAccepted = true;
        AudioShapingStore::set(chosenShaping);
    }
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
    QList<int> sample {0};
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
