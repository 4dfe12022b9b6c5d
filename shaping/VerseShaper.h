#ifndef VERSESHAPER_H
#define VERSESHAPER_H

#include "AudioShaping.h"

#include <vector>

// Shapes one decoded verse (interleaved float samples) before it is played:
// trims its silent ends, stretches it to the reading speed and levels its
// loudness, in that order, each only when asked. Runs off the audio thread;
// a verse of a few seconds takes milliseconds (tens for a stretch).
class VerseShaper
{
public:
    // Trimming: sound is anything louder than this, relative to the peak.
    static constexpr double SilenceBelowPeakDb = -40.0;
    // Kept around the sound so onsets and decays are not clipped.
    static constexpr int KeepBeforeMs = 10;
    static constexpr int KeepAfterMs = 20;
    // Fade at each cut so the new ends do not click.
    static constexpr int FadeMs = 5;
    // Peak below which a verse counts as silent (-90 dBFS).
    static constexpr float SilentPeak = 3.2e-5f;

    // Loudness every verse is brought to, and the ceiling its true peak may
    // not pass after the gain.
    static constexpr double TargetLufs = -20.0;
    static constexpr double TruePeakCeilingDbtp = -1.0;
    // Shorter verses carry no integrated loudness (one gating block).
    static constexpr int MinLoudnessMs = 400;

    // The whole chain. With the default shaping the samples come back as
    // they went in. channels or sampleRate below 1 return the samples as given.
    static std::vector<float> shape(std::vector<float> samples, int channels, int sampleRate,
                                    const AudioShaping &shaping);

    // The steps, each usable alone.
    static std::vector<float> trimSilence(std::vector<float> samples, int channels, int sampleRate);
    // The frames trimSilence() would cut from the start (0 when it cuts none).
    static std::size_t trimmedLeadFrames(const std::vector<float> &samples, int channels,
                                         int sampleRate);
    static std::vector<float> changeSpeed(std::vector<float> samples, int channels, int sampleRate,
                                          double speed);
    static std::vector<float> normalizeLoudness(std::vector<float> samples, int channels,
                                                int sampleRate);
};

#endif
