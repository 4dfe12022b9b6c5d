#include "FixtureAudio.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

bool run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000))
        return false;
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool makeWav(const QString &path, double frequencyHz, double seconds)
{
    return run(
        QStringLiteral("sox"),
        {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-c"),
         QStringLiteral("1"), QStringLiteral("-b"), QStringLiteral("16"), path,
         QStringLiteral("synth"), QString::number(seconds, 'f', 3), QStringLiteral("sine"),
         QString::number(frequencyHz, 'f', 1), QStringLiteral("vol"), QStringLiteral("0.5")});
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
    if (!makeWav(wav, frequencyHz, seconds))
        return false;
    if (run(QStringLiteral("oggenc"), {QStringLiteral("-Q"), QStringLiteral("-o"), path, wav}))
        return true;
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

    QDir dir(appDir);
    for (const Voice &voice : voices) {
        if (!dir.mkpath(QString::fromLatin1(voice.folder)))
            return false;
        for (int card : cards) {
            for (int half = (card == 0 ? 2 : 1); half <= 2; ++half) {
                const QString name = QString::asprintf(voice.pattern, card, half);
                const QString path =
                    dir.filePath(QString::fromLatin1(voice.folder) + QLatin1Char('/') + name);
                if (!MakeOggTone(path, ToneFrequency(card, half), seconds))
                    return false;
            }
        }
    }
    return true;
}

} // namespace FixtureAudio
