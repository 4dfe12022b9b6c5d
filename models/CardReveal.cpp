#include "CardReveal.h"

bool CardReveal::readingStarted()
{
    const bool changed = shown != 0;
    reading = 0;
    shown = 0;
    return changed;
}

bool CardReveal::upperStarted(int card)
{
    reading = card;
    return at(ViewSettings::ReadingMoment::UpperStarted);
}

bool CardReveal::lowerEnded()
{
    return at(ViewSettings::ReadingMoment::LowerEnded);
}

bool CardReveal::readingOver()
{
    return at(ViewSettings::ReadingMoment::ReadingOver);
}

bool CardReveal::at(ViewSettings::ReadingMoment moment)
{
    if (!ViewSettings::reveals(revealOption, moment) || shown == reading)
        return false;
    shown = reading;
    return true;
}
