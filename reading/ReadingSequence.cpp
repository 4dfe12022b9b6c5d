#include "ReadingSequence.h"

bool ReadingSequence::setPlan(const ReadingPlan &plan)
{
    if (m_phase != Phase::Idle || plan.isEmpty())
        return false;
    m_plan = plan;
    return true;
}

int ReadingSequence::currentHalf() const
{
    if (m_phase == Phase::Idle || m_step < 0 || m_step >= m_plan.size())
        return 0;
    return m_plan.at(m_step).half;
}

ReadingSequence::Actions ReadingSequence::start()
{
    switch (m_phase) {
    case Phase::Idle:
        if (m_plan.isEmpty())
            return {};
        return playStep(0);
    case Phase::Paused:
        if (m_pausedFrom == Phase::Pause && m_plan.at(m_step).half == 1)
            return playStep(m_step + 1); // the take was cut short: on to the lower verse
        // Cut short in a verse, or in the pause after a lower verse: that
        // verse again, then its pause, then on.
        return playStep(m_step);
    case Phase::Verse:
    case Phase::Pause:
        return {};
    }
    return {};
}

ReadingSequence::Actions ReadingSequence::pause()
{
    if (m_phase != Phase::Verse && m_phase != Phase::Pause)
        return {};
    m_pausedFrom = m_phase;
    const bool inVerse = m_phase == Phase::Verse;
    m_phase = Phase::Paused;
    if (inVerse)
        return {Action {Action::CancelVerse, m_step}};
    return {};
}

ReadingSequence::Actions ReadingSequence::stop()
{
    if (m_phase == Phase::Idle)
        return {};
    Actions actions;
    if (m_phase == Phase::Verse)
        actions.append(Action {Action::CancelVerse, m_step});
    actions.append(endReading());
    return actions;
}

ReadingSequence::Actions ReadingSequence::verseEnded()
{
    if (m_phase != Phase::Verse)
        return {};
    if (m_step + 1 >= m_plan.size())
        return endReading();
    m_phase = Phase::Pause;
    return {pauseAfter(m_step)};
}

ReadingSequence::Actions ReadingSequence::pauseElapsed()
{
    if (m_phase != Phase::Pause || m_plan.at(m_step).pauseSeconds == ReadingStep::UntilNext)
        return {};
    return playStep(m_step + 1);
}

ReadingSequence::Actions ReadingSequence::next()
{
    if (m_phase != Phase::Pause)
        return {};
    return playStep(m_step + 1);
}

ReadingSequence::Actions ReadingSequence::repeat()
{
    if (m_phase == Phase::Verse) {
        Actions actions {Action {Action::CancelVerse, m_step}};
        actions.append(playStep(m_step));
        return actions;
    }
    if (m_phase == Phase::Pause)
        return playStep(m_step);
    return {};
}

ReadingSequence::Actions ReadingSequence::playStep(int step)
{
    m_step = step;
    m_phase = Phase::Verse;
    m_pausedFrom = Phase::Idle;
    return {Action {Action::PlayVerse, step}};
}

ReadingSequence::Actions ReadingSequence::endReading()
{
    // Like a list handed over for one reading: every start needs a new plan.
    m_phase = Phase::Idle;
    m_pausedFrom = Phase::Idle;
    m_step = 0;
    m_plan.clear();
    return {Action {Action::Ended}};
}

ReadingSequence::Action ReadingSequence::pauseAfter(int step) const
{
    Action action {Action::CountPause, step};
    const int seconds = m_plan.at(step).pauseSeconds;
    if (seconds == ReadingStep::UntilNext)
        action.untilNext = true;
    else
        action.seconds = qMax(0, seconds);
    return action;
}
