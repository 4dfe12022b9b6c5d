#ifndef SEQUENCETHREADENGINE_H
#define SEQUENCETHREADENGINE_H

#include "ReadingEngine.h"

class PlaySequenceThread;
class Voices;

// The reading thread as a session's engine. Its reports arrive on the thread
// this object lives in (queued from the reading thread), in their order. A
// reading handed over while another one's end is still on its way is refused,
// so that the other's end is never taken for the new one's.
class SequenceThreadEngine : public ReadingEngine
{
    Q_OBJECT

public:
    // Neither the thread nor the voices are owned.
    SequenceThreadEngine(PlaySequenceThread *thread, const Voices &voices,
                         QObject *parent = nullptr);

    bool openOutput() override;
    bool hasPreambleUpper(int voice) const override;
    bool setCardList(int voice, int wait1, int wait2, const QList<int> &cards) override;
    bool setPlan(int voice, int wait1, int wait2, const ReadingPlan &plan) override;
    void requestStart() override;
    void requestPause() override;
    void requestStop() override;
    void requestNext() override;
    void requestRepeat() override;
    qint64 clockMs() const override;

private:
    // Idle: no reading under way, and none whose end is still on its way
    // here (the options dialog's sample uses the same thread).
    bool idle() const;

    PlaySequenceThread *thread;
    const Voices &voices;
    bool readingReported = false; // begun, and its end not yet reported
};

#endif
