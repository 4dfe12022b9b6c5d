#include "CuePlayer.h"

#include "AppFolder.h"
#include "AudioOutput.h"

OutputCuePlayer::OutputCuePlayer(const AppFolder &folder)
    : folder(folder)
{
}

void OutputCuePlayer::playCue(const QString &name)
{
    AudioOutput::PlayCue(folder.cueFile(name));
}
