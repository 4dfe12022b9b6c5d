#include "AnkiJikan_Dialog.h"
#include "ui_ankijikan_dialog.h"

#include "CuePlayer.h"
#include "FinalMsgBox.h"

#include <QLabel>
#include <QTimer>

#include <algorithm>

static_assert(AnkiJikan_Dialog::EndOffsetSeconds == AnkiJikan_Dialog::PeriodMinutes * 60);

namespace {

// A translated text can be longer than the Japanese one the form was drawn
// for: the label grows to the right, as far as its parent allows, instead of
// cutting it. A text that fits leaves the label as the form placed it.
void growToFit(QLabel *label)
{
    const int needed = label->sizeHint().width();
    if (needed <= label->width())
        return;
    const int room = label->parentWidget()->width() - label->x();
    label->resize(std::min(needed, room), label->height());
}

} // namespace

AnkiJikan_Dialog::AnkiJikan_Dialog(QWidget *parent, CuePlayer &cuePlayer)
    : QDialog(parent)
    , ui(std::make_unique<Ui::AnkiJikan_Dialog>())
    , cues(cuePlayer)
{
    ui->setupUi(this); // also joins on_StartStopBtn_clicked() by name
    growToFit(ui->label);
    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &AnkiJikan_Dialog::TimeOutDone);
}

AnkiJikan_Dialog::~AnkiJikan_Dialog()
{
    timer->stop();
}

void AnkiJikan_Dialog::setPeriodMinutes(int minutes)
{
    if (!running)
        period = std::clamp(minutes, int(ShortestPeriodMinutes), int(PeriodMinutes));
}

QDateTime AnkiJikan_Dialog::currentDateTime() const
{
    return QDateTime::currentDateTime();
}

void AnkiJikan_Dialog::on_StartStopBtn_clicked()
{
    if (running)
        stopCount();
    else
        startCount();
}

void AnkiJikan_Dialog::startCount()
{
    cues.playCue(QStringLiteral("start.wav"));
    ui->StartStopBtn->setText(tr("終了"));
    ui->MsgLabel->setText(tr("残り時間 : %1 分").arg(period));
    ui->progressBar->setValue(0);

    // Computed once: the label is not updated while the count runs.
    const QString endTime =
        currentDateTime().addSecs(qint64(period) * 60).toString(QStringLiteral("hh:mm"));
    ui->MsgLabel_2->setText(tr("終了時刻 : %1").arg(endTime));
    growToFit(ui->MsgLabel_2);

    minutesElapsed = 0;
    timer->start(TickMs);
    running = true;
}

void AnkiJikan_Dialog::stopCount()
{
    timer->stop();
    ui->StartStopBtn->setText(tr("開始"));
    ui->MsgLabel->clear();
    ui->progressBar->setValue(0);
    ui->MsgLabel_2->setText(tr("終了時刻 : "));
    running = false;
    close();
}

void AnkiJikan_Dialog::TimeOutDone()
{
    if (!running)
        return;

    ++minutesElapsed;
    if (minutesElapsed >= period) {
        finishCount();
        return;
    }

    const int minutesLeft = period - minutesElapsed;
    ui->MsgLabel->setText(tr("残り時間 : %1分").arg(minutesLeft));
    ui->progressBar->setValue(minutesElapsed * 100 / period);

    if (minutesLeft == WarningMinutesLeft)
        cues.playCue(QStringLiteral("before2min.wav"));
}

void AnkiJikan_Dialog::finishCount()
{
    timer->stop();
    ui->StartStopBtn->setText(tr("開始"));
    ui->MsgLabel->setText(tr("暗記時間終了"));
    ui->progressBar->setValue(100);

    // Plays "fine.wav" when created; however it is closed, this dialog closes.
    FinalMsgBox box(this, cues);
    box.exec();

    running = false;
    close();
}
