#ifndef PRACTICESETTINGS_H
#define PRACTICESETTINGS_H

#include "ReadingPlan.h"

class QSettings;

// The group PRACTICE of the settings file: how a practice reading runs.
// Keys and values (the stored words are fixed; a translation never changes them):
//   Style     = standard | competitive | beginner
//   Advance   = auto | manual
//   DeadCards = 0..100
//   DeadCardBias = 0..100 (how often dead cards share first sounds with the
//                  selected ones; written only while not 0)
//   Endless   = true (the cards are shuffled again after the last one; written
//               only while on)
//   MemorizationMinutes = 5..15 (the memorization timer's length; written
//               only while not 15)
// A word that is not one of these reads as the default; a number out of
// range is clamped. The defaults read exactly as the plain reading does.
struct PracticeSettings
{
    static constexpr int MaxDeadCards = 100;
    static constexpr int MaxDeadCardBias = 100;
    static constexpr int MinMemorizationMinutes = 5;
    static constexpr int MaxMemorizationMinutes = 15;

    ReadingStyle style = ReadingStyle::Standard;
    AdvanceMode advance = AdvanceMode::Auto;
    int deadCards = 0;
    int deadCardBias = 0; // 0: dead cards drawn uniformly, as always
    // A reading starts over with the cards shuffled again after its last
    // card, until it is stopped (a club reading until the hour is over).
    bool endless = false;
    int memorizationMinutes = MaxMemorizationMinutes;

    static PracticeSettings load(QSettings &settings);
    // Writes only the keys whose stored value does not already read as this
    // one: with the defaults a file without the group stays without it.
    void save(QSettings &settings) const;

    // True when every value is at its default.
    bool isDefault() const;
    // True when each card is read the plain way: the reading style, the take
    // and the dead cards at their defaults. Reading endlessly or the timer's
    // length change nothing in how a card is read.
    bool readsPlainly() const;

    bool operator==(const PracticeSettings &other) const = default;
};

#endif
