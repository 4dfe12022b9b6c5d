#ifndef CARDREVEAL_H
#define CARDREVEAL_H

#include "ViewSettings.h"

// Which card of a reading may be shown now, following the reveal option:
// with its upper verse, after its lower verse, or when the reading is over.
// A card once shown stays shown until the next one is, so a player reads it
// at leisure while the next upper verse is heard. The poem panel and the
// status line's card part follow the same model.
class CardReveal
{
public:
    explicit CardReveal(ViewSettings::PoemReveal option = ViewSettings::PoemReveal::AfterLower)
        : revealOption(option)
    {
    }

    ViewSettings::PoemReveal option() const { return revealOption; }
    // Takes effect at the next moment of the reading.
    void setOption(ViewSettings::PoemReveal option) { revealOption = option; }

    // The moments of a reading; each returns whether revealed() changed.
    bool readingStarted();
    bool upperStarted(int card);
    bool lowerEnded();
    bool readingOver();

    // The card that may be shown, 0 for none.
    int revealed() const { return shown; }
    // The card whose upper verse was started last, 0 before the first.
    int current() const { return reading; }
    // Whether the card being read may be shown.
    bool currentRevealed() const { return reading != 0 && shown == reading; }

private:
    bool at(ViewSettings::ReadingMoment moment);

    ViewSettings::PoemReveal revealOption;
    int reading = 0;
    int shown = 0;
};

#endif
