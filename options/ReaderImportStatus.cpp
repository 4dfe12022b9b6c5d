#include "ReaderImportStatus.h"

#include "OptionDialog.h"
#include "ReaderImportJob.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

ReaderImportStatus::ReaderImportStatus(ReaderImportJob *job, QWidget *parent)
    : QWidget(parent)
    , job(job)
    , label(new QLabel(this))
    , bar(new QProgressBar(this))
    , cancelButton(new QPushButton(tr("キャンセル"), this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(bar);
    layout->addWidget(cancelButton);
    bar->setFormat(QStringLiteral("%v / %m"));
    bar->setRange(0, 0);
    hide();
    connect(cancelButton, &QPushButton::clicked, job, &ReaderImportJob::cancel);
    connect(job, &ReaderImportJob::started, this, &ReaderImportStatus::showStarted);
    connect(job, &ReaderImportJob::progressed, this, &ReaderImportStatus::showProgress);
    connect(job, &ReaderImportJob::replaceAsked, this, &ReaderImportStatus::askReplace);
    connect(job, &ReaderImportJob::finished, this, &ReaderImportStatus::showEnd);
    if (job->state() != ReaderImportJob::State::Idle) // made for an import under way
        showStarted();
}

void ReaderImportStatus::showStarted()
{
    label->setText(tr("読手 %1 を取り込んでいます").arg(job->name()));
    bar->setRange(0, 0);
    cancelButton->setEnabled(true);
    show();
}

void ReaderImportStatus::showProgress(int done, int toDo)
{
    bar->setRange(0, toDo);
    bar->setValue(done);
}

void ReaderImportStatus::askReplace()
{
    label->setText(tr("読手 %1 を置き換えるか確かめています").arg(job->name()));
    question = message(QMessageBox::Question,
                       tr("読手 %1 はすでにあります。新しい録音の確認:\n%2\n置き換えますか?")
                           .arg(job->name(), OptionDialog::summaryOf(job->stagedReport())),
                       QMessageBox::Yes | QMessageBox::No);
    question->setDefaultButton(QMessageBox::No);
    QPointer<ReaderImportJob> answered = job;
    QMessageBox *box = question;
    connect(box, &QMessageBox::finished, job, [answered, box] {
        if (answered)
            answered->answerReplace(box->clickedButton() == box->button(QMessageBox::Yes));
    });
    // Gone with the dialog it came over, unanswered: the old reader stays.
    connect(box, &QObject::destroyed, job, [answered] {
        if (answered)
            answered->answerReplace(false);
    });
}

void ReaderImportStatus::showEnd()
{
    hide();
    if (question)
        question->close(); // answered already or cancelled: its answer is ignored
    if (job->wasCancelled())
        return;
    const ImportOutcome &outcome = job->outcome();
    if (outcome.imported) {
        QMessageBox *box = message(QMessageBox::Information,
                                   tr("読手 %1 を追加しました。\n%2")
                                       .arg(job->name(), OptionDialog::summaryOf(outcome.report)),
                                   QMessageBox::Ok);
        box->setDetailedText(outcome.report.lines().join(QLatin1Char('\n')));
        return;
    }
    message(QMessageBox::Warning,
            tr("読手 %1 を追加できませんでした。\n%2")
                .arg(job->name(), outcome.refusals.join(QLatin1Char('\n'))),
            QMessageBox::Ok);
}

QMessageBox *ReaderImportStatus::message(int icon, const QString &text, int buttons)
{
    // Over a modal dialog when one is open (a window beside it would take no
    // input); otherwise beside the main window, which stays usable.
    QWidget *over = QApplication::activeModalWidget();
    auto *box = new QMessageBox(QMessageBox::Icon(icon), tr("読手の追加"), text,
                                QMessageBox::StandardButtons(buttons), over ? over : window());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    // The keys of a reading (a remote, a pedal) stay with the window.
    box->setAttribute(Qt::WA_ShowWithoutActivating, !over);
    box->show();
    return box;
}
