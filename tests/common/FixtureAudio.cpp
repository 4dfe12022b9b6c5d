#include "FixtureAudio.h"

#include "ToneFiles.h"

#include <QFile>

#include <cmath>
#include <numbers>

namespace {

// A sine tone at half scale, 16-bit mono at 44.1 kHz.
bool makeWav(const QString &path, double frequencyHz, double seconds)
{
    constexpr int Rate = 44100;
    const auto frames = static_cast<quint32>(seconds * Rate + 0.5);
    QByteArray data;
    data.reserve(44 + int(frames) * 2);
    const auto put = [&data](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            data.append(char((value >> (8 * i)) & 0xff));
    };
    data.append("RIFF");
    put(36 + frames * 2, 4);
    data.append("WAVEfmt ");
    put(16, 4); // PCM header size
    put(1, 2); // PCM
    put(1, 2); // mono
    put(Rate, 4);
    put(Rate * 2, 4); // bytes a second
    put(2, 2); // bytes a frame
    put(16, 2); // bits a sample
    data.append("data");
    put(frames * 2, 4);
    for (quint32 i = 0; i < frames; ++i) {
        const double value = 0.5 * std::sin(2.0 * std::numbers::pi * frequencyHz * i / Rate);
        put(static_cast<quint16>(static_cast<qint16>(std::lround(value * 32767.0))), 2);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

} // namespace

namespace FixtureAudio {

bool MakeWavTone(const QString &path, double frequencyHz, double seconds)
{
    if (makeWav(path, frequencyHz, seconds))
        return true;
    QFile::remove(path);
    return false;
}

bool MakeOggTone(const QString &path, double frequencyHz, double seconds)
{
    return ToneFiles::WriteOggTone(path, frequencyHz, seconds);
}

double ToneFrequency(int card, int half)
{
    // 60 Hz apart per card, halves 30 Hz apart, all below 6.3 kHz: distinct
    // after Vorbis encoding and easy to tell apart with a frequency estimate.
    return 220.0 + card * 60.0 + (half - 1) * 30.0;
}

bool MakeVoiceFolder(const QString &appDir, const QList<int> &cards, double seconds,
                     bool withVoice2)
{
    return ToneFiles::WriteVoiceFolder(appDir, cards, seconds, withVoice2);
}

} // namespace FixtureAudio
