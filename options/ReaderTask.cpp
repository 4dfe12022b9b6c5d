#include "ReaderTask.h"

#include <QProgressDialog>
#include <QThread>
#include <QTimer>

ReaderTask::ReaderTask(QWidget *parent, const QString &label, Work work)
    : QObject(parent)
    , worker(QThread::create([this, work = std::move(work)] { work(&progress); }))
{
    dialog = new QProgressDialog(label, tr("キャンセル"), 0, 0, parent);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(0);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    connect(dialog, &QProgressDialog::canceled, this, [this] { progress.cancel(); });
    poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, &ReaderTask::showProgress);
    connect(worker.get(), &QThread::finished, this, [this] {
        poll->stop();
        if (dialog) {
            dialog->hide();
            dialog->deleteLater();
        }
        emit finished();
    });
    poll->start(100);
    worker->start();
    dialog->show();
}

ReaderTask::~ReaderTask()
{
    progress.cancel();
    worker->wait();
    delete dialog;
}

void ReaderTask::showProgress()
{
    if (!dialog || !worker->isRunning())
        return;
    dialog->setMaximum(progress.filesToDo());
    dialog->setValue(std::min(progress.filesDone(), progress.filesToDo()));
}
