#ifndef READINGPLAN_H
#define READINGPLAN_H

#include <QList>
#include <QSet>

// One verse of a reading and the pause that follows it.
struct ReadingStep
{
    static constexpr int NoPause = -1; // after the last verse
    static constexpr int UntilNext = -2; // a manual take: lasts until the reader says Next

    int card = 0; // 0 = the preamble poem
    int half = 1; // 1 = upper verse, 2 = lower verse
    int pauseSeconds = NoPause; // after this verse: seconds, NoPause or UntilNext
    bool take = false; // the pause after it is the take, when players reach for the card
    bool counted = true; // counts in the "n / N" progress (the preamble does not)
    bool dead = false; // a card drawn in that is not on the tatami

    bool operator==(const ReadingStep &other) const = default;
};

// A whole reading: the verses in the order they are read.
using ReadingPlan = QList<ReadingStep>;

enum class ReadingStyle { Standard, Competitive, Beginner };
enum class AdvanceMode { Auto, Manual };

struct PlanOptions
{
    ReadingStyle style = ReadingStyle::Standard;
    AdvanceMode advance = AdvanceMode::Auto;
    int wait1Seconds = 10; // after an upper verse (the take)
    int wait2Seconds = 3; // after a lower verse
    // The voice has the preamble's upper verse; without it the competitive
    // style reads the preamble as the standard one does.
    bool preambleUpperAvailable = false;
    QSet<int> deadCards; // cards of the play list that are not on the tatami
};

namespace ReadingPlanBuilder {

// The classic reading: for [0, a, b] it is (0,2) W2, (a,1) W1, (a,2) W2,
// (b,1) W1, (b,2) end. A leading 0 is the preamble.
ReadingPlan standard(const QList<int> &playList, int wait1Seconds, int wait2Seconds);

// Any style and advance; the defaults give standard().
ReadingPlan build(const QList<int> &playList, const PlanOptions &options);

// How many cards count in the progress.
int countedCards(const ReadingPlan &plan);

} // namespace ReadingPlanBuilder

#endif
