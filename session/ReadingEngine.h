#ifndef READINGENGINE_H
#define READINGENGINE_H

#include "ReadingPlan.h"

#include <QList>
#include <QObject>

#include <chrono>

// What a reading session needs of the thread that plays a reading: hand it a
// reading, send it requests, and hear what it did. The program's engine is
// the reading thread (SequenceThreadEngine); tests drive a session with a
// fake that reports whatever the test says.
class ReadingEngine : public QObject
{
    Q_OBJECT

public:
    // The states the engine reports, as PlaySequenceThread numbers them.
    enum State { Stopped = 0, Upper, AfterUpper, Lower, AfterLower, Paused };

    using QObject::QObject;

    // Opens the audio output if it is closed; false when there is none.
    virtual bool openOutput() = 0;
    // Whether the voice has the preamble's upper verse (for the competitive style).
    virtual bool hasPreambleUpper(int voice) const = 0;
    // The next reading, taken only while the engine is idle: the standard
    // reading of a card list, or any plan. False when the engine refused it
    // (busy with another reading, or still ending one: its end is yet to be
    // reported).
    virtual bool setCardList(int voice, int wait1, int wait2, const QList<int> &cards) = 0;
    virtual bool setPlan(int voice, int wait1, int wait2, const ReadingPlan &plan) = 0;
    virtual void requestStart() = 0;
    virtual void requestPause() = 0;
    virtual void requestStop() = 0;
    virtual void requestNext() = 0;
    virtual void requestRepeat() = 0;
    // The clock a reading is timed by, in milliseconds from any fixed point:
    // the steady wall clock, unless the engine keeps time by another.
    virtual qint64 clockMs() const
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }

signals:
    // Every report of the engine, in the order it made them.
    void sequenceStarted();
    void upperStarted(int card);
    void upperEnded();
    void lowerStarted(int card);
    void lowerEnded();
    void sequenceEnded();
    void stateChanged(int state);
};

#endif
