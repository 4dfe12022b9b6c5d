#ifndef FIXTUREAUDIO_H
#define FIXTUREAUDIO_H

#include <QString>

// Makes small audio files for tests (Ogg Vorbis with oggenc, installed by the
// test command). Every function returns false and leaves no file on failure.
namespace FixtureAudio {

// A sine tone of the given frequency and length as Ogg Vorbis, 44.1 kHz mono.
bool MakeOggTone(const QString &path, double frequencyHz, double seconds);

// The same tone as a 16-bit PCM .wav file.
bool MakeWavTone(const QString &path, double frequencyHz, double seconds);

// Writes a complete voice folder layout for the given cards under appDir:
// Music/rindou_%03d_%1d.ogg (voice 0) and, if withVoice2, Music2/asagao_...
// Card 0 gets only its half 2. Every file is a tone of the given length whose
// pitch identifies the card and the half (see ToneFrequency).
bool MakeVoiceFolder(const QString &appDir, const QList<int> &cards, double seconds,
                     bool withVoice2 = true);

// The pitch used for card n, half p by MakeVoiceFolder.
double ToneFrequency(int card, int half);

} // namespace FixtureAudio

#endif
