#include "ReaderTask.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <atomic>

// The worker of an import or a check: the window's thread goes on while it
// works, its progress shows, and Cancel or the task's end stop it.
class ReaderTaskTest : public QObject
{
    Q_OBJECT

private slots:
    void work_offTheWindowsThread_progressShown_cancelStopsIt()
    {
        QWidget window;
        std::atomic<bool> onWindowThread {true};
        auto *task = new ReaderTask(
            &window, QStringLiteral("work"), [&onWindowThread](ImportProgress *progress) {
                onWindowThread = QThread::currentThread() == QCoreApplication::instance()->thread();
                progress->setTotal(10);
                progress->fileDone();
                while (!progress->isCancelled())
                    QThread::msleep(5);
            });
        QSignalSpy finished(task, &ReaderTask::finished);
        // The event loop turns while the worker works.
        QElapsedTimer clock;
        clock.start();
        qint64 longestGap = 0, last = 0;
        QTimer ticks;
        connect(&ticks, &QTimer::timeout, this, [&] {
            longestGap = std::max(longestGap, clock.elapsed() - last);
            last = clock.elapsed();
        });
        ticks.start(10);
        auto *dialog = window.findChild<QProgressDialog *>();
        QVERIFY(dialog);
        QTRY_COMPARE(dialog->value(), 1);
        QCOMPARE(dialog->maximum(), 10);
        QVERIFY(finished.isEmpty());
        QVERIFY2(longestGap < 100, qPrintable(QString::number(longestGap)));

        dialog->findChild<QPushButton *>()->click(); // Cancel
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(task->wasCancelled());
        QVERIFY(!onWindowThread);
        delete task;

        // A task that goes with its window is cancelled and waited for.
        std::atomic<bool> ended {false};
        auto *window2 = new QWidget;
        new ReaderTask(window2, QStringLiteral("work"), [&ended](ImportProgress *progress) {
            while (!progress->isCancelled())
                QThread::msleep(5);
            ended = true;
        });
        delete window2;
        QVERIFY(ended);
    }
};

QTEST_MAIN(ReaderTaskTest)
#include "tst_readertask.moc"
