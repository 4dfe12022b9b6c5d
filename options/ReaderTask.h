#ifndef READERTASK_H
#define READERTASK_H

#include "ImportProgress.h"

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>

#include <functional>
#include <memory>

class QThread;
class QTimer;
class QWidget;

// Runs a reader's import or check on a worker thread, so that the window,
// the reading, the media keys and the single-instance socket go on, and
// shows its progress (files done of files to do) with a Cancel button.
// finished() comes once the worker has ended, cancelled or not.
class ReaderTask : public QObject
{
    Q_OBJECT

public:
    using Work = std::function<void(ImportProgress *)>;

    // Starts at once. work runs on the worker thread: it must touch no widget.
    ReaderTask(QWidget *parent, const QString &label, Work work);
    // Cancels the work and waits for the worker (a file at most).
    ~ReaderTask() override;

    bool wasCancelled() const { return progress.isCancelled(); }

signals:
    void finished();

private:
    void showProgress();

    ImportProgress progress; // shared with the worker: atomics only
    std::unique_ptr<QThread> worker;
    QPointer<QProgressDialog> dialog; // child of the parent widget
    QTimer *poll = nullptr; // child of this
};

// What a worker hands over to the window's thread when it ends.
template<typename T>
class TaskResult
{
public:
    void put(T result)
    {
        const QMutexLocker lock(&mutex);
        value = std::move(result);
    }
    T take()
    {
        const QMutexLocker lock(&mutex);
        return std::move(value);
    }

private:
    QMutex mutex;
    T value;
};

#endif
