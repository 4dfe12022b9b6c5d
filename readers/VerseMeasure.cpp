#include "VerseMeasure.h"

#include "AudioClip.h"
#include "AudioDecoder.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int BlockMs = 10;

// The level of each 10 ms block in dBFS (RMS of both channels).
std::vector<double> blockLevels(const std::vector<float> &stereo, int rate)
{
    const size_t blockFrames = size_t(rate) * BlockMs / 1000;
    const size_t frames = stereo.size() / 2;
    std::vector<double> levels;
    for (size_t start = 0; start < frames; start += blockFrames) {
        const size_t end = std::min(frames, start + blockFrames);
        double sum = 0;
        for (size_t i = start * 2; i < end * 2; ++i)
            sum += double(stereo[i]) * stereo[i];
        const double rms = std::sqrt(sum / double((end - start) * 2));
        levels.push_back(20.0 * std::log10(std::max(rms, 1e-10)));
    }
    return levels;
}

bool integratedLoudness(const std::vector<float> &stereo, int rate, double *lufs)
{
    ebur128_state *state = ebur128_init(2, unsigned(rate), EBUR128_MODE_I);
    if (!state)
        return false;
    ebur128_add_frames_float(state, stereo.data(), stereo.size() / 2);
    double value = 0;
    const bool ok =
        ebur128_loudness_global(state, &value) == EBUR128_SUCCESS && std::isfinite(value);
    ebur128_destroy(&state);
    *lufs = value;
    return ok;
}

} // namespace

VerseMeasure VerseMeasure::ofFile(const QString &path)
{
    const std::shared_ptr<AudioClip> clip = AudioDecoder::decodeFile(path);
    if (!clip)
        return {};
    return ofSamples(clip->samples, AudioClip::Rate);
}

VerseMeasure VerseMeasure::ofSamples(const std::vector<float> &stereo, int rate)
{
    VerseMeasure measure;
    if (rate <= 0 || stereo.size() < 2)
        return measure;
    measure.decodes = true;
    measure.seconds = double(stereo.size() / 2) / rate;

    float peak = 0;
    for (const float sample : stereo)
        peak = std::max(peak, std::abs(sample));
    measure.silent = peak < SilentPeak;
    if (measure.silent)
        return measure;

    const float threshold = peak * float(std::pow(10.0, SoundBelowPeakDb / 20.0));
    const auto first = std::find_if(stereo.begin(), stereo.end(),
                                    [threshold](float s) { return std::abs(s) > threshold; });
    measure.leadingSilence = double((first - stereo.begin()) / 2) / rate;
    measure.hasLoudness = integratedLoudness(stereo, rate, &measure.loudness);

    // The held tail: back from the last block of sound while no block dips
    // well below the loudest of the few blocks after it (a consonant or a
    // breath between morae does; a drawn-out, fading vowel does not).
    const std::vector<double> levels = blockLevels(stereo, rate);
    const double soundLevel = 20.0 * std::log10(double(peak)) + SoundBelowPeakDb;
    int last = int(levels.size()) - 1;
    while (last > 0 && levels[size_t(last)] < soundLevel)
        --last;
    constexpr int Window = 5;
    int start = last;
    while (start > 0) {
        double after = levels[size_t(start)];
        for (int i = start; i <= std::min(last, start + Window); ++i)
            after = std::max(after, levels[size_t(i)]);
        if (levels[size_t(start - 1)] < after - TailDipDb || levels[size_t(start - 1)] < soundLevel)
            break;
        --start;
    }
    measure.heldTail = double(last + 1 - start) * BlockMs / 1000.0;
    return measure;
}
