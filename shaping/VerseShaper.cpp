#include "VerseShaper.h"

#include <ebur128.h>
#include <rubberband/rubberband-c.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <optional>

namespace {

double fromDb(double db)
{
    return std::pow(10.0, db / 20.0);
}

std::size_t framesOf(const std::vector<float> &samples, int channels)
{
    return samples.size() / static_cast<std::size_t>(channels);
}

std::size_t msToFrames(int ms, int sampleRate)
{
    return static_cast<std::size_t>(static_cast<long long>(ms) * sampleRate / 1000);
}

float framePeak(const float *frame, int channels)
{
    float peak = 0.0f;
    for (int c = 0; c < channels; ++c)
        peak = std::max(peak, std::fabs(frame[c]));
    return peak;
}

// Linear ramps over the first and last fadeFrames frames; the outermost
// samples become exactly zero.
void fadeEnds(std::vector<float> &samples, int channels, std::size_t fadeFrames, bool fadeIn,
              bool fadeOut)
{
    const std::size_t frames = framesOf(samples, channels);
    fadeFrames = std::min(fadeFrames, frames / 2);
    for (std::size_t i = 0; i < fadeFrames; ++i) {
        const float gain = static_cast<float>(i) / static_cast<float>(fadeFrames);
        for (int c = 0; c < channels; ++c) {
            if (fadeIn)
                samples[i * channels + c] *= gain;
            if (fadeOut)
                samples[(frames - 1 - i) * channels + c] *= gain;
        }
    }
}

// The frames trimming keeps, [begin, end); nothing when it keeps all
// (no usable format, or nothing sounds to measure silence against).
struct TrimRange
{
    std::size_t begin;
    std::size_t end;
};

std::optional<TrimRange> keptRange(const std::vector<float> &samples, int channels, int sampleRate)
{
    if (channels < 1 || sampleRate < 1)
        return std::nullopt;
    const std::size_t frames = framesOf(samples, channels);
    float peak = 0.0f;
    for (std::size_t f = 0; f < frames; ++f)
        peak = std::max(peak, framePeak(&samples[f * channels], channels));
    if (peak < VerseShaper::SilentPeak)
        return std::nullopt;

    const float threshold = peak * static_cast<float>(fromDb(VerseShaper::SilenceBelowPeakDb));
    std::size_t first = 0;
    while (framePeak(&samples[first * channels], channels) < threshold)
        ++first;
    std::size_t last = frames - 1;
    while (framePeak(&samples[last * channels], channels) < threshold)
        --last;
    const std::size_t keepBefore = msToFrames(VerseShaper::KeepBeforeMs, sampleRate);
    return TrimRange {
        first > keepBefore ? first - keepBefore : 0,
        std::min(frames, last + 1 + msToFrames(VerseShaper::KeepAfterMs, sampleRate))};
}

struct Ebur128Deleter
{
    void operator()(ebur128_state *state) const { ebur128_destroy(&state); }
};

struct StretcherDeleter
{
    void operator()(RubberBandState stretcher) const { rubberband_delete(stretcher); }
};

} // namespace

std::vector<float> VerseShaper::shape(std::vector<float> samples, int channels, int sampleRate,
                                      const AudioShaping &shaping)
{
    if (shaping.isDefault() || channels < 1 || sampleRate < 1)
        return samples;
    if (shaping.trimSilence)
        samples = trimSilence(std::move(samples), channels, sampleRate);
    samples = changeSpeed(std::move(samples), channels, sampleRate, shaping.speed);
    if (shaping.normalize)
        samples = normalizeLoudness(std::move(samples), channels, sampleRate);
    return samples;
}

std::vector<float> VerseShaper::trimSilence(std::vector<float> samples, int channels,
                                            int sampleRate)
{
    const std::optional<TrimRange> range = keptRange(samples, channels, sampleRate);
    const std::size_t frames = channels < 1 ? 0 : framesOf(samples, channels);
    if (!range || (range->begin == 0 && range->end == frames))
        return samples;
    const auto [begin, end] = *range;
    std::vector<float> kept(samples.begin() + static_cast<std::ptrdiff_t>(begin * channels),
                            samples.begin() + static_cast<std::ptrdiff_t>(end * channels));
    fadeEnds(kept, channels, msToFrames(FadeMs, sampleRate), begin > 0, end < frames);
    return kept;
}

std::size_t VerseShaper::trimmedLeadFrames(const std::vector<float> &samples, int channels,
                                           int sampleRate)
{
    const std::optional<TrimRange> range = keptRange(samples, channels, sampleRate);
    return range ? range->begin : 0;
}

std::vector<float> VerseShaper::changeSpeed(std::vector<float> samples, int channels,
                                            int sampleRate, double speed)
{
    speed = AudioShaping::clampedSpeed(speed);
    const std::size_t frames = channels < 1 ? 0 : framesOf(samples, channels);
    if (speed == AudioShaping::NormalSpeed || frames == 0 || sampleRate < 1)
        return samples;

    // Offline mode: the whole verse is at hand, so the stretcher studies it
    // first and then stretches it to the exact length with no start delay to
    // compensate. The R3 engine keeps a voice's pitch steadier than R2; its
    // short window halves the cost of the full one, so a verse is ready within
    // its pause even on a busy machine. One thread: the caller is a worker.
    // (Rubber Band's C interface: the library is opened when first needed.)
    const RubberBandOptions options = RubberBandOptionProcessOffline | RubberBandOptionEngineFiner
        | RubberBandOptionThreadingNever | RubberBandOptionChannelsTogether
        | RubberBandOptionWindowShort;
    const std::unique_ptr<RubberBandState_, StretcherDeleter> owned(
        rubberband_new(static_cast<unsigned>(sampleRate), static_cast<unsigned>(channels), options,
                       1.0 / speed, 1.0));
    if (!owned)
        return samples; // without the library the verse keeps its speed
    RubberBandState const stretcher = owned.get();

    std::vector<std::vector<float>> planar(channels, std::vector<float>(frames));
    for (std::size_t f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c)
            planar[c][f] = samples[f * channels + c];

    constexpr std::size_t BlockFrames = 4096;
    rubberband_set_expected_input_duration(stretcher, static_cast<unsigned>(frames));
    rubberband_set_max_process_size(stretcher, static_cast<unsigned>(BlockFrames));
    std::vector<const float *> in(channels);
    const auto pointAt = [&](std::size_t frame) {
        for (int c = 0; c < channels; ++c)
            in[c] = planar[c].data() + frame;
    };
    for (std::size_t pos = 0; pos < frames; pos += BlockFrames) {
        const std::size_t n = std::min(BlockFrames, frames - pos);
        pointAt(pos);
        rubberband_study(stretcher, in.data(), static_cast<unsigned>(n), pos + n == frames);
    }

    std::vector<float> stretched;
    stretched.reserve(static_cast<std::size_t>(static_cast<double>(samples.size()) / speed)
                      + BlockFrames);
    std::vector<std::vector<float>> chunk(channels);
    std::vector<float *> out(channels);
    const auto drain = [&]() {
        for (int available = rubberband_available(stretcher); available > 0;
             available = rubberband_available(stretcher)) {
            const auto n = static_cast<std::size_t>(available);
            for (int c = 0; c < channels; ++c) {
                chunk[c].resize(n);
                out[c] = chunk[c].data();
            }
            const std::size_t got =
                rubberband_retrieve(stretcher, out.data(), static_cast<unsigned>(n));
            for (std::size_t f = 0; f < got; ++f)
                for (int c = 0; c < channels; ++c)
                    stretched.push_back(chunk[c][f]);
        }
    };
    for (std::size_t pos = 0; pos < frames; pos += BlockFrames) {
        const std::size_t n = std::min(BlockFrames, frames - pos);
        pointAt(pos);
        rubberband_process(stretcher, in.data(), static_cast<unsigned>(n), pos + n == frames);
        drain();
    }
    drain();
    return stretched;
}

std::vector<float> VerseShaper::normalizeLoudness(std::vector<float> samples, int channels,
                                                  int sampleRate)
{
    if (channels < 1 || sampleRate < 1)
        return samples;
    const std::size_t frames = framesOf(samples, channels);
    if (frames < msToFrames(MinLoudnessMs, sampleRate))
        return samples;

    const std::unique_ptr<ebur128_state, Ebur128Deleter> meter(
        ebur128_init(static_cast<unsigned>(channels), static_cast<unsigned long>(sampleRate),
                     EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK));
    if (!meter)
        return samples;
    // A mono verse sounds from both speakers, as loud as a stereo one with
    // the same signal in each channel.
    if (channels == 1)
        ebur128_set_channel(meter.get(), 0, EBUR128_DUAL_MONO);
    if (ebur128_add_frames_float(meter.get(), samples.data(), frames) != EBUR128_SUCCESS)
        return samples;

    double loudness = 0.0;
    if (ebur128_loudness_global(meter.get(), &loudness) != EBUR128_SUCCESS
        || !std::isfinite(loudness))
        return samples; // silent: every block gated away
    double truePeak = 0.0;
    for (int c = 0; c < channels; ++c) {
        double channelPeak = 0.0;
        if (ebur128_true_peak(meter.get(), static_cast<unsigned>(c), &channelPeak)
            == EBUR128_SUCCESS)
            truePeak = std::max(truePeak, channelPeak);
    }

    double gain = fromDb(TargetLufs - loudness);
    if (truePeak > 0.0)
        gain = std::min(gain, fromDb(TruePeakCeilingDbtp) / truePeak);
    const auto g = static_cast<float>(gain);
    for (std::size_t i = 0; i < frames * static_cast<std::size_t>(channels); ++i)
        samples[i] *= g;
    return samples;
}
