#ifndef VERSESHAPING_H
#define VERSESHAPING_H

#include "AudioClip.h"

// The one place where a verse, decoded and not yet played, may be reshaped
// (trimmed, levelled, slowed). Runs on the decoding thread, never on the
// audio thread. Follows the shaping in force (AudioShapingStore): with the
// defaults the verse stays as recorded.
void applyShaping(AudioClip &clip);

#endif
