#ifndef DRILLSETTINGS_H
#define DRILLSETTINGS_H

#include <QRect>

class QSettings;

// INI group DRILL: the take drill's own pace, its listening mode and where
// its window was. Keys (each written only while not at its default, so a
// file without the group stays without it):
//   BeforeLowerMs = 0..MaxPauseMs  pause after a take or a miss, before the lower verse
//   BeforeNextMs  = 0..MaxPauseMs  pause after the lower verse, before the next card
//   Listening     = true | false   the upper verse stops after its deciding syllables
//   Window        = x,y,width,height  the window's last place and size
// A number out of range is clamped; a broken value reads as the default.
struct DrillSettings
{
    static constexpr int DefaultBeforeLowerMs = 1000;
    static constexpr int DefaultBeforeNextMs = 2000;
    static constexpr int MaxPauseMs = 30000;

    int beforeLowerMs = DefaultBeforeLowerMs;
    int beforeNextMs = DefaultBeforeNextMs;
    bool listening = false;
    QRect window; // null: placed by the window system

    static DrillSettings load(QSettings &settings);
    void save(QSettings &settings) const;

    bool operator==(const DrillSettings &other) const = default;
};

#endif
