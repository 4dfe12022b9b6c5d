#ifndef VERSEMEASURE_H
#define VERSEMEASURE_H

#include <QString>

#include <vector>

// What the check of a reader learns from one recording.
struct VerseMeasure
{
    // Peak below which a recording counts as silent (-60 dBFS).
    static constexpr float SilentPeak = 0.001f;
    // Sound is anything above this level relative to the peak, as the trimming does.
    static constexpr double SoundBelowPeakDb = -40.0;
    // A dip of this much below the sound just after it ends the held tail.
    static constexpr double TailDipDb = 6.0;

    bool decodes = false;
    bool silent = false;
    double seconds = 0; // the whole recording
    double leadingSilence = 0; // before the first sound
    double loudness = 0; // integrated, LUFS; valid only when hasLoudness
    bool hasLoudness = false;
    double heldTail = 0; // the last sound: from the dip before it to its end

    // Decodes and measures a recording; decodes is false when it cannot be played.
    static VerseMeasure ofFile(const QString &path);
    // The same on decoded samples (interleaved stereo at rate).
    static VerseMeasure ofSamples(const std::vector<float> &stereo, int rate);
};

#endif
