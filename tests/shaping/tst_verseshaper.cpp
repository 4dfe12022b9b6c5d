#include "VerseShaper.h"

#include <ebur128.h>

#include <QtTest>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int Rate = 44100;
constexpr int Stereo = 2;

// A sine of the given length, amplitude and pitch, the same in every channel.
std::vector<float> tone(double seconds, double amplitude, double hz = 440.0, int channels = Stereo)
{
    std::vector<float> samples(static_cast<std::size_t>(seconds * Rate) * channels);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] =
            float(amplitude * std::sin(2.0 * std::numbers::pi * hz * double(i / channels) / Rate));
    return samples;
}

double seconds(const std::vector<float> &samples)
{
    return double(samples.size() / Stereo) / Rate;
}

float peak(const std::vector<float> &samples)
{
    float p = 0.0f;
    for (float s : samples)
        p = std::max(p, std::fabs(s));
    return p;
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

// Pitch from the rising zero crossings of the left channel in the middle half.
double frequency(const std::vector<float> &samples)
{
    const std::size_t frames = samples.size() / Stereo;
    std::size_t first = 0, last = 0, crossings = 0;
    for (std::size_t f = frames / 4; f < frames * 3 / 4; ++f)
        if (samples[(f - 1) * Stereo] < 0.0f && samples[f * Stereo] >= 0.0f) {
            first = crossings++ == 0 ? f : first;
            last = f;
        }
    return crossings < 2 ? 0.0 : double(crossings - 1) * Rate / double(last - first);
}

} // namespace

class VerseShaperTest : public QObject
{
    Q_OBJECT

private slots:
    void defaults_returnSamplesBitIdentical()
    {
        std::vector<float> samples = tone(0.5, 0.3, 523.0);
        samples.push_back(0.125f); // a partial frame stays too
        QVERIFY(VerseShaper::shape(samples, Stereo, Rate, AudioShaping {}) == samples);
    }

    void trim_cutsSilentEndsWithoutClick()
    {
        // A faint hiss, 54 dB below the peak, still counts as silence.
        const std::vector<float> hiss = tone(1.0, 0.001, 9000.0);
        std::vector<float> input = hiss;
        for (const auto &part : {tone(1.0, 0.5), hiss})
            input.insert(input.end(), part.begin(), part.end());

        const auto trimmed =
            VerseShaper::shape(input, Stereo, Rate, AudioShaping {.trimSilence = true});
        const double kept = (VerseShaper::KeepBeforeMs + VerseShaper::KeepAfterMs) / 1000.0;
        QVERIFY2(std::fabs(seconds(trimmed) - 1.0 - kept) < 0.003,
                 qPrintable(QString::number(seconds(trimmed))));
        QVERIFY(std::fabs(trimmed.front()) < 1e-4f && std::fabs(trimmed.back()) < 1e-4f);
        // No jump between neighbouring samples larger than the tone makes.
        const float toneStep = 0.5f * 2.0f * std::numbers::pi_v<float> * 440.0f / Rate;
        for (std::size_t i = Stereo; i < trimmed.size(); ++i)
            QVERIFY(std::fabs(trimmed[i] - trimmed[i - Stereo]) <= toneStep * 1.01f);
    }

    void normalize_levelsAndNeverClips()
    {
        const AudioShaping on {.normalize = true};
        const auto quiet = VerseShaper::shape(tone(2.0, 0.05), Stereo, Rate, on);
        const auto loud = VerseShaper::shape(tone(2.0, 0.2), Stereo, Rate, on); // 12 dB louder
        QVERIFY(std::fabs(loudness(quiet) - loudness(loud)) < 1.0);
        QVERIFY2(std::fabs(loudness(loud) - VerseShaper::TargetLufs) < 1.0,
                 qPrintable(QString::number(loudness(loud))));

        // Quiet on the whole but with loud clicks: the full gain would clip them.
        std::vector<float> clicks = tone(2.0, 0.005);
        for (std::size_t i = 0; i < clicks.size(); i += Rate / 2)
            clicks[i] = clicks[i + 1] = 0.9f;
        const float shapedPeak = peak(VerseShaper::shape(clicks, Stereo, Rate, on));
        QVERIFY2(shapedPeak > 0.85f
                     && shapedPeak
                         <= std::pow(10.0f, float(VerseShaper::TruePeakCeilingDbtp) / 20.0f)
                             + 1e-4f,
                 qPrintable(QString::number(shapedPeak)));
    }

    void speed_changesLengthKeepsPitch()
    {
        // speed, expected length of a 2 s verse; 0.1 is clamped to 0.5
        for (const auto &[speed, expected] :
             {std::pair {0.5, 4.0}, std::pair {2.0, 1.0}, std::pair {0.1, 4.0}}) {
            const auto stretched =
                VerseShaper::shape(tone(2.0, 0.3), Stereo, Rate, AudioShaping {.speed = speed});
            const QString figures = QStringLiteral("speed %1: %2 s, %3 Hz")
                                        .arg(speed)
                                        .arg(seconds(stretched))
                                        .arg(frequency(stretched));
            QVERIFY2(std::fabs(seconds(stretched) - expected) <= expected * 0.01,
                     qPrintable(figures));
            QVERIFY2(std::fabs(frequency(stretched) - 440.0) <= 440.0 * 0.02, qPrintable(figures));
        }
    }

    void oddBuffers_areSafe_data()
    {
        QTest::addColumn<std::vector<float>>("samples");
        QTest::addColumn<int>("channels");
        QTest::newRow("empty") << std::vector<float> {} << Stereo;
        QTest::newRow("all silent") << std::vector<float>(Rate * Stereo, 0.0f) << Stereo;
        QTest::newRow("one frame") << std::vector<float> {0.5f, -0.5f} << Stereo;
        QTest::newRow("10 ms, under a gating block") << tone(0.01, 0.5) << Stereo;
        QTest::newRow("mono") << tone(0.5, 0.1, 440.0, 1) << 1;
        QTest::newRow("no channels: as given") << tone(0.1, 0.5) << 0;
    }

    void oddBuffers_areSafe()
    {
        QFETCH(std::vector<float>, samples);
        QFETCH(int, channels);
        const auto shaped = VerseShaper::shape(samples, channels, Rate, {true, true, 0.5});
        QVERIFY(peak(shaped) <= std::max(peak(samples), 1.0f));
        if (peak(samples) == 0.0f)
            QCOMPARE(peak(shaped), 0.0f);
        if (channels == 0)
            QVERIFY(shaped == samples);
    }
};

QTEST_APPLESS_MAIN(VerseShaperTest)
#include "tst_verseshaper.moc"
