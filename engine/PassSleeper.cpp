#include "PassSleeper.h"

#include <QDeadlineTimer>
#include <QMutexLocker>

void PassSleeper::beginPass()
{
    const QMutexLocker locker(&mutex);
    woken = false;
}

void PassSleeper::sleep(unsigned long ms)
{
    QMutexLocker locker(&mutex);
    const QDeadlineTimer deadline(static_cast<qint64>(ms));
    while (!woken && !deadline.hasExpired())
        condition.wait(&mutex, deadline);
    woken = false;
}

void PassSleeper::wake()
{
    {
        const QMutexLocker locker(&mutex);
        woken = true;
    }
    condition.wakeAll();
}
