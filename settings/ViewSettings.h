#ifndef VIEWSETTINGS_H
#define VIEWSETTINGS_H

#include <QPoint>

class QSettings;

// INI group VIEW: the poem panel's state and whether the status line holds
// the card back. At its defaults nothing is written, so a settings file stays
// as it was until the panel is used.
struct ViewSettings
{
    // When the poem panel shows the card being read.
    enum class PoemReveal { WithUpper = 0, AfterLower = 1, AtEnd = 2 };

    bool poemPanelOpen = false;
    bool hasPoemPanelPos = false; // false: placed beside the main window
    QPoint poemPanelPos;
    PoemReveal poemReveal = PoemReveal::AfterLower;
    // The status line's card part (number and first phrase) appears when the
    // poem panel would show the card, not with the upper verse. Written as
    // StatusCard=withPanel only when on.
    bool statusCardWithPanel = false;

    // Unknown or broken values fall back to the defaults one by one.
    static ViewSettings load(QSettings &settings);
    void save(QSettings &settings) const;

    // The moments of a reading at which the panel may show a card.
    enum class ReadingMoment { UpperStarted, LowerEnded, ReadingOver };
    // Whether the card read last is shown at that moment.
    static bool reveals(PoemReveal option, ReadingMoment moment);

    bool operator==(const ViewSettings &other) const = default;
};

#endif
