#include "VerseShaper.h"

#include <ebur128.h>

#include <QtTest>

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace {

constexpr int Rate = 44100;
constexpr int Stereo = 2;

// A sine of the given amplitude in every channel.
std::vector<float> tone(double seconds, double amplitude, double hz = 440.0, int channels = Stereo)
{
    const auto frames = static_cast<std::size_t>(seconds * Rate);
    std::vector<float> samples(frames * channels);
    for (std::size_t f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c)
            samples[f * channels + c] =
                static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * hz * f / Rate));
    return samples;
}

std::vector<float> joined(std::vector<float> a, const std::vector<float> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

double seconds(const std::vector<float> &samples, int channels = Stereo)
{
    return static_cast<double>(samples.size() / channels) / Rate;
}

double loudness(const std::vector<float> &samples)
{
    ebur128_state *meter = ebur128_init(Stereo, Rate, EBUR128_MODE_I);
    ebur128_add_frames_float(meter, samples.data(), samples.size() / Stereo);
    double lufs = 0.0;
    ebur128_loudness_global(meter, &lufs);
    ebur128_destroy(&meter);
    return lufs;
}

// Dominant frequency from the rising zero crossings of the first channel,
// over the middle half (away from the stretcher's ramps).
double frequency(const std::vector<float> &samples)
{
    const std::size_t frames = samples.size() / Stereo;
    std::size_t firstCross = 0, lastCross = 0;
    int crossings = 0;
    for (std::size_t f = frames / 4; f < frames * 3 / 4; ++f) {
        if (samples[(f - 1) * Stereo] < 0.0f && samples[f * Stereo] >= 0.0f) {
            if (crossings == 0)
                firstCross = f;
            lastCross = f;
            ++crossings;
        }
    }
    return crossings < 2 ? 0.0 : (crossings - 1) * double(Rate) / double(lastCross - firstCross);
}

float peak(const std::vector<float> &samples)
{
    float p = 0.0f;
    for (float s : samples)
        p = std::max(p, std::fabs(s));
    return p;
}

} // namespace

class VerseShaperTest : public QObject
{
    Q_OBJECT

private slots:
    void defaults_returnSamplesBitIdentical();
    void trim_cutsSilentEndsWithoutClick();
    void normalize_levelsFixtures12dBApart();
    void normalize_gainStopsBelowCeiling();
    void speed_changesLengthKeepsPitch_data();
    void speed_changesLengthKeepsPitch();
    void oddBuffers_areSafe_data();
    void oddBuffers_areSafe();
};

void VerseShaperTest::defaults_returnSamplesBitIdentical()
{
    std::vector<float> samples = tone(0.5, 0.3, 523.0);
    samples.push_back(0.125f);   // a partial frame is kept too
    const std::vector<float> shaped = VerseShaper::shape(samples, Stereo, Rate, AudioShaping{});
    QCOMPARE(shaped.size(), samples.size());
    QVERIFY(std::memcmp(shaped.data(), samples.data(), samples.size() * sizeof(float)) == 0);
}

void VerseShaperTest::trim_cutsSilentEndsWithoutClick()
{
    // A faint hiss (-54 dB below the peak) in the "silence" is still silence.
    std::vector<float> hiss = tone(1.0, 0.001, 9000.0);
    const std::vector<float> input = joined(joined(hiss, tone(1.0, 0.5)), hiss);

    const std::vector<float> trimmed =
        VerseShaper::shape(input, Stereo, Rate, AudioShaping{.trimSilence = true});

    const double kept = (VerseShaper::KeepBeforeMs + VerseShaper::KeepAfterMs) / 1000.0;
    QVERIFY2(std::fabs(seconds(trimmed) - (1.0 + kept)) < 0.003, qPrintable(QString::number(seconds(trimmed))));
    QVERIFY(std::fabs(trimmed.front()) < 1e-4f);
    QVERIFY(std::fabs(trimmed.back()) < 1e-4f);
    // The fades: no sample-to-sample jump larger than the tone itself makes.
    const float toneStep = 0.5f * 2.0f * std::numbers::pi_v<float> * 440.0f / Rate;
    for (std::size_t i = Stereo; i < trimmed.size(); ++i)
        QVERIFY(std::fabs(trimmed[i] - trimmed[i - Stereo]) <= toneStep * 1.01f);
}

void VerseShaperTest::normalize_levelsFixtures12dBApart()
{
    const AudioShaping normalize{.normalize = true};
    const std::vector<float> quiet = VerseShaper::shape(tone(2.0, 0.05), Stereo, Rate, normalize);
    const std::vector<float> loud = VerseShaper::shape(tone(2.0, 0.2), Stereo, Rate, normalize);
    QVERIFY(std::fabs(loudness(quiet) - loudness(loud)) < 1.0);
    QVERIFY2(std::fabs(loudness(loud) - VerseShaper::TargetLufs) < 1.0, qPrintable(QString::number(loudness(loud))));
}

void VerseShaperTest::normalize_gainStopsBelowCeiling()
{
    // Quiet on the whole but with loud clicks: the full gain would clip them.
    std::vector<float> samples = tone(2.0, 0.005);
    for (std::size_t f = 0; f < samples.size() / Stereo; f += Rate / 4)
        samples[f * Stereo] = samples[f * Stereo + 1] = 0.9f;
    const std::vector<float> shaped = VerseShaper::normalizeLoudness(samples, Stereo, Rate);
    QVERIFY(peak(shaped) <= float(std::pow(10.0, VerseShaper::TruePeakCeilingDbtp / 20.0)) + 1e-4f);
    QVERIFY2(peak(shaped) > 0.85f, qPrintable(QString::number(peak(shaped))));   // raised as far as it may go
}

void VerseShaperTest::speed_changesLengthKeepsPitch_data()
{
    QTest::addColumn<double>("speed");
    QTest::addColumn<double>("expectedSeconds");
    QTest::newRow("half speed") << 0.5 << 4.0;
    QTest::newRow("double speed") << 2.0 << 1.0;
    QTest::newRow("too slow, clamped to 0.5") << 0.1 << 4.0;
}

void VerseShaperTest::speed_changesLengthKeepsPitch()
{
    QFETCH(double, speed);
    QFETCH(double, expectedSeconds);
    const std::vector<float> stretched =
        VerseShaper::shape(tone(2.0, 0.3), Stereo, Rate, AudioShaping{.speed = speed});
    QVERIFY2(std::fabs(seconds(stretched) - expectedSeconds) <= expectedSeconds * 0.01,
             qPrintable(QString::number(seconds(stretched))));
    QVERIFY2(std::fabs(frequency(stretched) - 440.0) <= 440.0 * 0.02,
             qPrintable(QString::number(frequency(stretched))));
}

void VerseShaperTest::oddBuffers_areSafe_data()
{
    QTest::addColumn<std::vector<float>>("samples");
    QTest::addColumn<int>("channels");
    QTest::addColumn<bool>("silent");
    QTest::newRow("empty") << std::vector<float>{} << Stereo << true;
    QTest::newRow("all silent") << std::vector<float>(Rate * Stereo, 0.0f) << Stereo << true;
    QTest::newRow("one frame") << std::vector<float>{0.5f, -0.5f} << Stereo << false;
    QTest::newRow("10 ms, shorter than a gating block") << tone(0.01, 0.5) << Stereo << false;
    QTest::newRow("mono") << tone(0.5, 0.1, 440.0, 1) << 1 << false;
    QTest::newRow("no channels") << tone(0.1, 0.5) << 0 << false;
}

void VerseShaperTest::oddBuffers_areSafe()
{
    QFETCH(std::vector<float>, samples);
    QFETCH(int, channels);
    QFETCH(bool, silent);
    const AudioShaping all{.trimSilence = true, .normalize = true, .speed = 0.5};
    const std::vector<float> shaped = VerseShaper::shape(samples, channels, Rate, all);
    QVERIFY(peak(shaped) <= 1.0f);
    if (silent)
        QCOMPARE(peak(shaped), 0.0f);
    if (channels == 0)
        QCOMPARE(shaped, samples);
}

QTEST_APPLESS_MAIN(VerseShaperTest)
#include "tst_verseshaper.moc"
