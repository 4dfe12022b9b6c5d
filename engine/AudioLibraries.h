#ifndef AUDIOLIBRARIES_H
#define AUDIOLIBRARIES_H

#include "OnDemandLibrary.h"

#include <thread>

// The sound libraries the engine opens when first needed (see
// OnDemandLibrary): the outputs', the decoder's.
extern OnDemandLibrary sdlLibrary;
extern OnDemandLibrary pulseLibrary;
extern OnDemandLibrary sndfileLibrary;
extern OnDemandLibrary samplerateLibrary;

// Opens the sound libraries on a thread of its own from its construction on,
// so that they load while the window is made, not before it on the GUI
// thread: first the library the output will try first (the device opens at
// start, and its opening waits for what it needs, as a call of a library
// still loading waits for it), then the decoder's, ready for the first
// reading. SDL is not opened where PulseAudio is tried first: it is needed
// only if no server answers. Nor are the shaper's libraries (Rubber Band
// alone weighs 0.7 MiB): the default shaping needs neither, and the first
// verse shaped opens them on its loader thread. Nothing waits for the thread
// but the destructor.
class AudioLibraryPreload
{
public:
    AudioLibraryPreload();
    ~AudioLibraryPreload();
    AudioLibraryPreload(const AudioLibraryPreload &) = delete;
    AudioLibraryPreload &operator=(const AudioLibraryPreload &) = delete;

private:
    std::thread loader;
};

#endif
