#ifndef WINDOWSERVICES_H
#define WINDOWSERVICES_H

#include "AppServices.h"
#include "CuePlayer.h"
#include "ScopedAppFolder.h"

// What main() makes for the window, for one test: the folder's services, and
// the timer's cues through the audio output.
class WindowServices : public ScopedAppFolder
{
public:
    using ScopedAppFolder::ScopedAppFolder;

    AppServices services() { return {folder(), reader, shaping, voices(), cues}; }

    OutputCuePlayer cues {folder()};
};

#endif
