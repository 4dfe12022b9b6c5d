#ifndef CUEPLAYER_H
#define CUEPLAYER_H

#include <QString>

class AppFolder;
class AudioOutput;

// Sounds the memorization timer's cues ("start.wav", "before2min.wav",
// "fine.wav"), mixed over whatever plays, without waiting for them.
class CuePlayer
{
public:
    virtual ~CuePlayer() = default;
    virtual void playCue(const QString &name) = 0;
};

// The program's: through the audio output, each cue's file looked up in the
// application folder (AppFolder::cueFile); a missing or broken file is simply
// not heard. The folder and the output must outlive it.
class OutputCuePlayer final : public CuePlayer
{
public:
    OutputCuePlayer(const AppFolder &folder, AudioOutput &output);
    void playCue(const QString &name) override;

private:
    const AppFolder &folder;
    AudioOutput &output;
};

#endif
