#include "ReadingPlan.h"

namespace {

constexpr int Upper = 1;
constexpr int Lower = 2;
// The beginner hears the lower verse this long after the upper one, before the take.
constexpr int BeginnerGapSeconds = 1;

void appendPreamble(ReadingPlan &plan, const PlanOptions &options)
{
    const auto preambleStep = [&](int half) {
        ReadingStep step;
        step.card = 0;
        step.half = half;
        step.pauseSeconds = options.wait2Seconds;
        step.counted = false;
        return step;
    };
    if (options.style == ReadingStyle::Competitive && options.preambleUpperAvailable) {
        plan.append(preambleStep(Upper));
        plan.append(preambleStep(Lower));
    }
    plan.append(preambleStep(Lower));
}

void appendCard(ReadingPlan &plan, int card, const PlanOptions &options)
{
    const int takeSeconds =
        options.advance == AdvanceMode::Manual ? ReadingStep::UntilNext : options.wait1Seconds;
    const bool dead = options.deadCards.contains(card);
    const auto cardStep = [&](int half, int pauseSeconds, bool take) {
        ReadingStep step;
        step.card = card;
        step.half = half;
        step.pauseSeconds = pauseSeconds;
        step.take = take;
        step.dead = dead;
        return step;
    };
    if (options.style == ReadingStyle::Beginner) {
        plan.append(cardStep(Upper, BeginnerGapSeconds, false));
        plan.append(cardStep(Lower, takeSeconds, true));
        plan.append(cardStep(Lower, options.wait2Seconds, false));
    } else {
        plan.append(cardStep(Upper, takeSeconds, true));
        plan.append(cardStep(Lower, options.wait2Seconds, false));
    }
}

} // namespace

namespace ReadingPlanBuilder {

ReadingPlan standard(const QList<int> &playList, int wait1Seconds, int wait2Seconds)
{
    PlanOptions options;
    options.wait1Seconds = wait1Seconds;
    options.wait2Seconds = wait2Seconds;
    return build(playList, options);
}

ReadingPlan build(const QList<int> &playList, const PlanOptions &options)
{
    ReadingPlan plan;
    for (qsizetype i = 0; i < playList.size(); ++i) {
        // Only a leading 0 is the preamble; further on it is a card like any other.
        if (i == 0 && playList.at(i) == 0)
            appendPreamble(plan, options);
        else
            appendCard(plan, playList.at(i), options);
    }
    if (!plan.isEmpty())
        plan.last().pauseSeconds = ReadingStep::NoPause;
    return plan;
}

int countedCards(const ReadingPlan &plan)
{
    int count = 0;
    for (const ReadingStep &step : plan) {
        if (step.counted && step.half == Upper)
            ++count;
    }
    return count;
}

} // namespace ReadingPlanBuilder
