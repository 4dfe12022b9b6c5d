#include "VerseShaping.h"

void applyShaping(AudioClip &clip)
{
    Q_UNUSED(clip);
}
