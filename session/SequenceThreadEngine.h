#ifndef SEQUENCETHREADENGINE_H
#define SEQUENCETHREADENGINE_H

#include "ReadingEngine.h"

class PlaySequenceThread;

// The reading thread as a session's engine. Its reports arrive on the thread
// this object lives in (queued from the reading thread), in their order.
class SequenceThreadEngine : public ReadingEngine
{
    Q_OBJECT

public:
    SequenceThreadEngine(PlaySequenceThread *thread, QObject *parent = nullptr);

    bool openOutput() override;
    bool hasPreambleUpper(int voice) const override;
    void setCardList(int voice, int wait1, int wait2, const QList<int> &cards) override;
    void setPlan(int voice, int wait1, int wait2, const ReadingPlan &plan) override;
    void requestStart() override;
    void requestPause() override;
    void requestStop() override;
    void requestNext() override;
    void requestRepeat() override;
    qint64 clockMs() const override;

private:
    PlaySequenceThread *thread;
};

#endif
