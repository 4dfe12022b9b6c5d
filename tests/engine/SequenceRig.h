#ifndef SEQUENCERIG_H
#define SEQUENCERIG_H

#include "AudioOutput.h"
#include "EventLog.h"
#include "PlaySequenceThread.h"
#include "ScopedAppFolder.h"
#include "ToneFiles.h"
#include "VirtualTime.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

// A reading thread on a folder of tone verses, with every signal it emits
// written to an event log under a short name ("M1S 7", "M2E", "END 0"...).
// The base of the reading thread's suites: it makes the folders once and
// quits the thread after each test. A suite made with virtual time runs
// on an output clock it drives itself (VirtualTime), and its waits and
// event times are in output time; otherwise on SDL's dummy driver in real
// time.
class SequenceRig : public QObject
{
    Q_OBJECT

public:
    using Seq = PlaySequenceThread;

    static inline const QString M1E = QStringLiteral("M1E");
    static inline const QString M2E = QStringLiteral("M2E");
    static inline const QString End = QStringLiteral("END 0");
    static inline const QString Started = QStringLiteral("SequencStartded");

    explicit SequenceRig(bool virtualTime = false)
        : virtualSuite(virtualTime)
        , virtualTime(virtualTime)
    {
    }

    static QString m1s(int card) { return QStringLiteral("M1S %1").arg(card); }
    static QString m2s(int card) { return QStringLiteral("M2S %1").arg(card); }

    // The events a reading of the list makes without intervention.
    static QStringList plainReading(const QList<int> &list)
    {
        QStringList events {Started};
        for (int card : list) {
            if (card != 0)
                events << m1s(card) << M1E;
            events << m2s(card) << M2E;
        }
        return events << End;
    }

    // Protected: QTest finds these by name, and a suite may call cleanup() itself.
protected slots:
    void initTestCase()
    {
        shortDir = root.filePath(QStringLiteral("short"));
        longDir = root.filePath(QStringLiteral("long"));
        QVERIFY(root.isValid());
        QVERIFY(ToneFiles::WriteVoiceFolder(shortDir, {0, 7, 12}, 0.3, true));
        QVERIFY(ToneFiles::WriteVoiceFolder(longDir, {0, 7, 12}, 1.0, false));
        if (virtualSuite)
            clock.install();
    }

    // Quits the thread and checks that nothing sounds on.
    void cleanup()
    {
        if (seq) {
            seq->RequestQuit();
            QVERIFY(seq->wait(5000));
            seq.reset();
        }
        log.reset();
        QVERIFY(!musicPlaying());
        if (virtualSuite && !virtualTime) {
            clock.install();
            virtualTime = true;
        }
    }

protected:
    // True while a verse sounds on the suite's output.
    bool musicPlaying() const { return clock.output.IsMusicPlaying(); }

    // This test of a virtual-time suite runs on SDL's dummy driver in real time.
    void useRealTime()
    {
        clock.useRealDevice();
        virtualTime = false;
    }

    void makeThread(const QString &appDir)
    {
        seq.reset(); // before the folder it reads from
        app = std::make_unique<ScopedAppFolder>(appDir);
        seq = std::make_unique<Seq>(WId(0), clock.output, app->voices(), app->shaping);
        log = virtualTime ? std::make_unique<EventLog>([this] { return clock.nowMs(); })
                          : std::make_unique<EventLog>();
        EventLog *events = log.get();
        QObject::connect(seq.get(), &Seq::SequencStartded, events,
                         [events] { events->add(Started); });
        QObject::connect(seq.get(), &Seq::Music1Starteded, events,
                         [events](int card) { events->add(m1s(card)); });
        QObject::connect(seq.get(), &Seq::Music1Ended, events, [events] { events->add(M1E); });
        QObject::connect(seq.get(), &Seq::Music2Starteded, events,
                         [events](int card) { events->add(m2s(card)); });
        QObject::connect(seq.get(), &Seq::Music2Ended, events, [events] { events->add(M2E); });
        QObject::connect(seq.get(), &Seq::SequenceEnded, events, [events](int status) {
            events->add(QStringLiteral("END %1").arg(status));
        });
        seq->start();
    }

    void startReading(QList<int> list, int voice, int wait1, int wait2)
    {
        seq->SetParameters(voice, wait1, wait2);
        seq->SetFudaList(&list);
        list.clear(); // the thread has its own copy; the caller's may go away
        seq->RequestStart();
    }

    void waitFor(const QString &event, int occurrence = 0, int timeoutMs = 10000)
    {
        if (virtualTime) {
            QVERIFY2(clock.advanceUntil([&] { return log->count(event) > occurrence; }, timeoutMs),
                     qPrintable(QStringLiteral("waiting for %1 #%2; got: %3")
                                    .arg(event)
                                    .arg(occurrence)
                                    .arg(log->names().join(u", "))));
            return;
        }
        QTRY_VERIFY2_WITH_TIMEOUT(log->count(event) > occurrence,
                                  qPrintable(QStringLiteral("waiting for %1 #%2; got: %3")
                                                 .arg(event)
                                                 .arg(occurrence)
                                                 .arg(log->names().join(u", "))),
                                  timeoutMs);
    }

    // Lets time pass: output time with virtual time, else the wall clock.
    void pass(int ms)
    {
        if (virtualTime)
            clock.advance(ms);
        else
            QTest::qWait(ms);
    }

    // Lets time pass until `done` holds, at most timeoutMs.
    bool passUntil(const std::function<bool()> &done, int timeoutMs)
    {
        if (virtualTime)
            return clock.advanceUntil(done, timeoutMs);
        return QTest::qWaitFor(done, timeoutMs);
    }

    const bool virtualSuite;
    bool virtualTime;
    VirtualTime clock; // its output outlives seq
    QTemporaryDir root;
    QString shortDir; // 0.3 s verses of cards 0, 7, 12 in both voices
    QString longDir; // 1.0 s verses of cards 0, 7, 12 in the first voice only
    std::unique_ptr<ScopedAppFolder> app; // outlives seq
    std::unique_ptr<Seq> seq;
    std::unique_ptr<EventLog> log;
};

#endif
