#include "FixtureAudio.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>
#include <numbers>

namespace {

bool run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000))
        return false;
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A sine tone at half scale, 16-bit mono at 44.1 kHz, written here rather
// than by sox: a voice folder of tones is then one oggenc run.
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

// Encodes every .wav to an .ogg beside it, in one run.
bool encodeOgg(const QStringList &wavs)
{
    return run(QStringLiteral("oggenc"), QStringList {QStringLiteral("-Q")} + wavs);
}

QString oggBeside(const QString &wav)
{
    return wav.chopped(4) + QStringLiteral(".ogg");
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
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return false;
    const QString wav = scratch.filePath(QStringLiteral("tone.wav"));
    if (makeWav(wav, frequencyHz, seconds) && encodeOgg({wav})) {
        QFile::remove(path);
        if (QFile::rename(oggBeside(wav), path))
            return true;
    }
    QFile::remove(path);
    return false;
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
    struct Voice
    {
        const char *folder;
        const char *pattern;
    };
    QList<Voice> voices {{"Music", "rindou_%03d_%1d.ogg"}};
    if (withVoice2)
        voices.append(Voice {"Music2", "asagao_%03d_%1d.ogg"});

    QTemporaryDir scratch;
    if (!scratch.isValid())
        return false;
    QDir dir(appDir);
    QStringList wavs;
    QStringList targets;
    for (const Voice &voice : voices) {
        if (!dir.mkpath(QString::fromLatin1(voice.folder)))
            return false;
        for (int card : cards) {
            for (int half = (card == 0 ? 2 : 1); half <= 2; ++half) {
                const QString name = QString::asprintf(voice.pattern, card, half);
                wavs << scratch.filePath(QStringLiteral("%1_%2").arg(wavs.size()).arg(name))
                            .chopped(4)
                        + QStringLiteral(".wav");
                targets << dir.filePath(QString::fromLatin1(voice.folder) + QLatin1Char('/')
                                        + name);
                if (!makeWav(wavs.last(), ToneFrequency(card, half), seconds))
                    return false;
            }
        }
    }
    if (!encodeOgg(wavs))
        return false;
    for (qsizetype i = 0; i < wavs.size(); ++i) {
        QFile::remove(targets.at(i));
        if (!QFile::rename(oggBeside(wavs.at(i)), targets.at(i)))
            return false;
    }
    return true;
}

} // namespace FixtureAudio
