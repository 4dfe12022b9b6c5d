#ifndef TONEFILES_H
#define TONEFILES_H

#include <QList>
#include <QString>

// The files of FixtureAudio (Ogg Vorbis tones, 44.1 kHz mono, the same
// pitches and names), encoded in the test's own process: starting sox and
// oggenc for every file costs a suite seconds. Every function returns false
// and leaves no file on failure.
namespace ToneFiles {

bool WriteOggTone(const QString &path, double frequencyHz, double seconds);

// As FixtureAudio::MakeVoiceFolder.
bool WriteVoiceFolder(const QString &appDir, const QList<int> &cards, double seconds,
                      bool withVoice2 = true);

} // namespace ToneFiles

#endif
