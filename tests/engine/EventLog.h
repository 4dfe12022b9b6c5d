#ifndef EVENTLOG_H
#define EVENTLOG_H

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// Records the engine's signals, with the time they arrive, on the thread the
// log lives on (the test's). Signals emitted on a worker thread reach it
// queued, as they reach the main window, so the tests never share a
// container with the engine's threads.
class EventLog : public QObject
{
    Q_OBJECT

public:
    struct Event
    {
        QString name;
        qint64 ms;
    };

    // Times come from `now` if given (a test's own clock), else from the wall clock.
    explicit EventLog(std::function<qint64()> now = {})
        : timeSource(std::move(now))
    {
        clock.start();
    }

    void add(const QString &name) { events.append({name, this->now()}); }

    QStringList names() const
    {
        QStringList list;
        for (const Event &event : events)
            list.append(event.name);
        return list;
    }

    qsizetype count(const QString &name) const { return names().count(name); }
    bool contains(const QString &name) const { return count(name) > 0; }

    // Time of the n-th (from 0) event of that name; -1 if there is none.
    qint64 time(const QString &name, int occurrence = 0) const
    {
        for (const Event &event : events) {
            if (event.name == name && occurrence-- == 0)
                return event.ms;
        }
        return -1;
    }

    qint64 now() const { return timeSource ? timeSource() : clock.elapsed(); }

    QList<Event> events;

private:
    QElapsedTimer clock;
    std::function<qint64()> timeSource;
};

#endif
