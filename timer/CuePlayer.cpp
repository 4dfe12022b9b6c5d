#include "CuePlayer.h"

#include "AppFolder.h"
#include "AudioOutput.h"

OutputCuePlayer::OutputCuePlayer(const AppFolder &folder, AudioOutput &audioOutput)
    : folder(folder)
    , output(audioOutput)
{
}

void OutputCuePlayer::playCue(const QString &name)
{
    output.PlayCue(folder.cueFile(name));
}
