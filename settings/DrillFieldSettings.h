#ifndef DRILLFIELDSETTINGS_H
#define DRILLFIELDSETTINGS_H

#include <QMap>

class QSettings;

// INI group DRILL_FIELD: how the take drill lays its cards out, and the
// player's own arrangement on the game field (定位置): for each card that
// has lain on the player's side, the slot it goes back to. At its defaults
// (today's grid, no arrangement) nothing is written.
struct DrillFieldSettings
{
    // Slots on one side of the game field: three rows, each of two halves
    // of eight (DrillFieldLayout numbers them).
    static constexpr int SideSlots = 48;

    bool gameField = false;
    QMap<int, int> ownSlots; // card 1..100 -> slot 0..SideSlots-1

    // Unknown values and broken entries are left out one by one.
    static DrillFieldSettings load(QSettings &settings);
    void save(QSettings &settings) const;

    bool operator==(const DrillFieldSettings &other) const = default;
};

#endif
