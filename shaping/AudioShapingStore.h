#ifndef AUDIOSHAPINGSTORE_H
#define AUDIOSHAPINGSTORE_H

#include "AudioShaping.h"
#include "GuardedValue.h"

// The shaping in force, one for the program, made in main(). The settings
// set it, and the options dialog while it is open so its sample sounds as
// chosen; the player reads it when it decodes a verse. Thread-safe.
class AudioShapingStore
{
public:
    AudioShaping get() const { return current.get(); }
    void set(const AudioShaping &shaping) { current.set(shaping); }

private:
    GuardedValue<AudioShaping> current;
};

#endif
