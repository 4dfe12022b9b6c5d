#ifndef READINGSEQUENCE_H
#define READINGSEQUENCE_H

#include "ReadingPlan.h"

#include <QList>

// Walks a reading plan. Pure: it neither plays nor waits; every input returns
// what the caller has to do now, in order. The rules:
// - a pause taken during a verse reads that verse again from its beginning;
// - a pause taken in the pause after an upper verse resumes with the next
//   verse at once;
// - a pause taken in the pause after a lower verse resumes by reading that
//   lower verse again, then its pause, then on;
// - Next ends the current pause (a manual take included); during a verse it
//   does nothing;
// - Repeat reads the current verse again from its beginning or, in a pause,
//   the verse just read, then goes on as before;
// - stop ends the reading from any state.
class ReadingSequence
{
public:
    enum class Phase { Idle, Verse, Pause, Paused };

    struct Action
    {
        enum Kind {
            PlayVerse, // play plan step `step` from its beginning
            CancelVerse, // cut the verse that sounds short; its end is not an input
            CountPause, // count `seconds` after step `step`; untilNext: wait for Next
            Ended // the reading is over (ran out or stopped)
        };
        Kind kind = PlayVerse;
        int step = -1;
        int seconds = 0;
        bool untilNext = false;

        bool operator==(const Action &other) const = default;
    };
    using Actions = QList<Action>;

    // Takes a plan while idle; false (and nothing changes) otherwise or when
    // the plan is empty.
    bool setPlan(const ReadingPlan &plan);

    Actions start(); // starts the plan, or resumes a paused reading
    Actions pause();
    Actions stop();
    Actions verseEnded();
    Actions pauseElapsed();
    Actions next();
    Actions repeat();

    Phase phase() const { return m_phase; }
    // The step that sounds, or whose pause runs, or where a pause was taken;
    // -1 while idle.
    int currentStep() const { return m_phase == Phase::Idle ? -1 : m_step; }
    // Half of the current step, for the callers that report upper/lower.
    int currentHalf() const;
    const ReadingPlan &plan() const { return m_plan; }

private:
    Actions playStep(int step);
    Actions endReading();
    Action pauseAfter(int step) const;

    ReadingPlan m_plan;
    Phase m_phase = Phase::Idle;
    Phase m_pausedFrom = Phase::Idle;
    int m_step = 0;
};

#endif
