#ifndef VOICES_H
#define VOICES_H

#include <QString>

class AppFolder;
class ReaderInUse;

// Where the recordings of each voice live in the application folder and how
// their files are named: voice 1 in Music/rindou_NNN_H, voice 2 in
// Music2/asagao_NNN_H (NNN the card, 000 the preamble; H the half). These
// names are fixed: they are never translated. While a reader of the library
// is in use (ReaderInUse), its files serve both voices, the probe included.
// Thread-safe, as the folder and the reader in use it looks at are; both
// must outlive it.
class Voices
{
public:
    static constexpr int First = 0; // as stored in SelectVoice
    static constexpr int Second = 1; // any voice number other than First means this one

    Voices(const AppFolder &folder, const ReaderInUse &reader);

    // The voice's folder name ("Music", "Music2").
    static QString folderName(int voice);
    // The file of a card's half in the voice: card 0 is the preamble, half 1
    // the upper verse, 2 the lower verse.
    QString filePath(int voice, int card, int half) const;
    // The voice can read: its preamble's lower verse, the probe file, exists.
    bool isAvailable(int voice) const;
    // The reader of the library reading in place of the voices, if any.
    const ReaderInUse &readerInUse() const { return reader; }

private:
    // The recording's path without extension.
    QString basePath(int voice, int card, int half) const;

    const AppFolder &folder;
    const ReaderInUse &reader;
};

#endif
