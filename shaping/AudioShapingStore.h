#ifndef AUDIOSHAPINGSTORE_H
#define AUDIOSHAPINGSTORE_H

#include "AudioShaping.h"

// The shaping in force for the whole process. The window sets it (from the
// settings, and while the options dialog is open so its sample sounds as
// chosen); the audio output reads it when it decodes a verse. Thread-safe.
class AudioShapingStore
{
public:
    static AudioShaping get();
    static void set(const AudioShaping &shaping);
};

#endif
