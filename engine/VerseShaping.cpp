#include "VerseShaping.h"

#include "VerseShaper.h"

void applyShaping(AudioClip &clip, const AudioShaping &shaping)
{
    if (shaping.isDefault())
        return; // the verse as recorded, not even copied
    if (shaping.trimSilence)
        clip.trimmedLeadFrames = static_cast<qint64>(
            VerseShaper::trimmedLeadFrames(clip.samples, AudioClip::Channels, AudioClip::Rate));
    clip.samples =
        VerseShaper::shape(std::move(clip.samples), AudioClip::Channels, AudioClip::Rate, shaping);
}
