#ifndef VERSESHAPING_H
#define VERSESHAPING_H

#include "AudioClip.h"
#include "AudioShaping.h"

// The one place where a verse, decoded and not yet played, may be reshaped
// (trimmed, levelled, slowed). Runs on the decoding thread, never on the
// audio thread. With the default shaping the verse stays as recorded.
void applyShaping(AudioClip &clip, const AudioShaping &shaping);

#endif
