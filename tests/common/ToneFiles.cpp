#include "ToneFiles.h"

#include "FixtureAudio.h"

#include <QDir>
#include <QFile>

#include <sndfile.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int Rate = 44100;

bool encode(const QString &path, double frequencyHz, double seconds)
{
    SF_INFO info {};
    info.samplerate = Rate;
    info.channels = 1;
    info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    // Half of full scale, as the fixtures made with sox.
    std::vector<float> samples(static_cast<size_t>(std::lround(seconds * Rate)));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = float(0.5 * std::sin(2 * std::numbers::pi * frequencyHz * double(i) / Rate));
    const auto frames = static_cast<sf_count_t>(samples.size());
    const bool written = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

} // namespace

namespace ToneFiles {

bool WriteOggTone(const QString &path, double frequencyHz, double seconds)
{
    if (encode(path, frequencyHz, seconds))
        return true;
    QFile::remove(path);
    return false;
}

bool WriteVoiceFolder(const QString &appDir, const QList<int> &cards, double seconds,
                      bool withVoice2)
{
    struct Voice
    {
        const char *folder;
        const char *pattern;
    };
    QList<Voice> voices {{"Music", "rindou_%03d_%1d.ogg"}};
    if (withVoice2)
        voices.append(Voice {"Music2", "asagao_%03d_%1d.ogg"});

    const QDir dir(appDir);
    for (const Voice &voice : voices) {
        const QString folder = QString::fromLatin1(voice.folder);
        if (!dir.mkpath(folder))
            return false;
        for (int card : cards) {
            for (int half = (card == 0 ? 2 : 1); half <= 2; ++half) {
                const QString path = dir.filePath(folder + QLatin1Char('/')
                                                  + QString::asprintf(voice.pattern, card, half));
                if (!WriteOggTone(path, FixtureAudio::ToneFrequency(card, half), seconds))
                    return false;
            }
        }
    }
    return true;
}

} // namespace ToneFiles
