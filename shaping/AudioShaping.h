#ifndef AUDIOSHAPING_H
#define AUDIOSHAPING_H

#include <algorithm>
#include <cmath>

// How each verse is shaped before it is played. Every option is off by
// default, and the default shaping leaves a verse's samples untouched.
struct AudioShaping
{
    static constexpr double MinSpeed = 0.5;
    static constexpr double MaxSpeed = 2.0;
    static constexpr double NormalSpeed = 1.0;

    bool trimSilence = false; // cut leading and trailing silence
    bool normalize = false; // bring the verse to one loudness
    double speed = NormalSpeed; // reading speed, pitch kept; MinSpeed..MaxSpeed

    // The speed within its range; a value that is not a number reads as normal.
    static double clampedSpeed(double speed)
    {
        return std::isnan(speed) ? NormalSpeed : std::clamp(speed, MinSpeed, MaxSpeed);
    }

    bool isDefault() const
    {
        return !trimSilence && !normalize && clampedSpeed(speed) == NormalSpeed;
    }

    friend bool operator==(const AudioShaping &, const AudioShaping &) = default;
};

#endif
