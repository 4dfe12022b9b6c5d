#ifndef GUARDEDVALUE_H
#define GUARDEDVALUE_H

#include <QMutex>
#include <QMutexLocker>

// One value shared between threads, read and replaced whole under its lock.
template <typename T>
class GuardedValue
{
public:
    T get() const
    {
        const QMutexLocker lock(&mutex);
        return value;
    }
    void set(const T &newValue)
    {
        const QMutexLocker lock(&mutex);
        value = newValue;
    }

private:
    mutable QMutex mutex;
    T value {};
};

#endif
