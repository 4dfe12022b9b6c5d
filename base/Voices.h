#ifndef VOICES_H
#define VOICES_H

#include <QString>

// Where the recordings of each voice live in the application folder and how
// their files are named: voice 1 in Music/rindou_NNN_H, voice 2 in
// Music2/asagao_NNN_H (NNN the card, 000 the preamble; H the half). These
// names are fixed: they are never translated. While a reader of the library
// is in use (ReaderInUse), its files serve both voices, the probe included.
class Voices
{
public:
    static constexpr int First = 0; // as stored in SelectVoice
    static constexpr int Second = 1; // any voice number other than First means this one

    // The voice's folder name ("Music", "Music2").
    static QString folderName(int voice);
    // The file of a card's half in the voice: card 0 is the preamble, half 1
    // the upper verse, 2 the lower verse.
    static QString filePath(int voice, int card, int half);
    // The voice can read: its preamble's lower verse, the probe file, exists.
    static bool isAvailable(int voice);

private:
    // The recording's path without extension.
    static QString basePath(int voice, int card, int half);
    // The file used for a base path.
    static QString fileFor(const QString &basePath);
};

#endif
