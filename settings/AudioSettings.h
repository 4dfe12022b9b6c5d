#ifndef AUDIOSETTINGS_H
#define AUDIOSETTINGS_H

#include "AudioShaping.h"

class QSettings;

// The verse shaping kept in group AUDIO of the settings file.
//
// Reading: a missing key or one that is not a value of its kind gives the
// default (off, speed 1.0); a speed out of 0.5 to 2.0 is clamped into it.
// Writing: the group is written only while some option is not at its
// default, and removed when all are back at their defaults, so a file of
// someone who never used shaping stays exactly as before.
struct AudioSettings
{
    bool trimSilence = false;
    bool normalize = false;
    double speed = AudioShaping::NormalSpeed;

    static AudioSettings load(QSettings &settings);
    static AudioSettings fromShaping(const AudioShaping &shaping);
    void save(QSettings &settings) const;
    AudioShaping shaping() const;

    friend bool operator==(const AudioSettings &, const AudioSettings &) = default;
};

#endif
