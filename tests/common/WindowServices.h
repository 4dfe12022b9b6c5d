#ifndef WINDOWSERVICES_H
#define WINDOWSERVICES_H

#include "AppServices.h"
#include "AudioOutput.h"
#include "CuePlayer.h"
#include "ScopedAppFolder.h"

// What main() makes for the window, for one test: the folder's services, an
// audio output of its own (the system's device until the test puts another
// under it), and the timer's cues through that output.
class WindowServices : public ScopedAppFolder
{
public:
    using ScopedAppFolder::ScopedAppFolder;

    AppServices services() { return {folder(), reader, shaping, voices(), cues, audio}; }

    AudioOutput audio;
    OutputCuePlayer cues {folder(), audio};
};

#endif
