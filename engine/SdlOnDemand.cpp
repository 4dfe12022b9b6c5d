// SDL2, opened the first time the output uses it rather than linked: with
// what it brings along (X11 extras, Wayland, libdecor, DRM, ALSA, libpulse,
// libsndfile and its codecs) it cost every start some 7 ms and 2 MiB, before
// main() and on the window's path. Where a PulseAudio server answers, SDL is
// not needed at all. The functions the output calls are defined here under
// SDL's own names and pass the call on (see OnDemandLibrary).
#include "AudioLibraries.h"

#include <SDL.h>

// SDL2's binary interface number, the same for every 2.x release.
OnDemandLibrary sdlLibrary("libSDL2-2.0.so.0");

extern "C" {

QTUTAKAZE_FORWARD(sdlLibrary, SDL_bool, SDL_SetHint, (const char *name, const char *value),
                  (name, value), SDL_FALSE)
QTUTAKAZE_FORWARD(sdlLibrary, int, SDL_InitSubSystem, (Uint32 flags), (flags), -1)
QTUTAKAZE_FORWARD(sdlLibrary, void, SDL_QuitSubSystem, (Uint32 flags), (flags), void())
QTUTAKAZE_FORWARD(sdlLibrary, void, SDL_Quit, (void), (), void())
QTUTAKAZE_FORWARD(sdlLibrary, const char *, SDL_GetError, (void), (),
                  "the program could not load libSDL2-2.0.so.0")
QTUTAKAZE_FORWARD(sdlLibrary, const char *, SDL_GetCurrentAudioDriver, (void), (), nullptr)
QTUTAKAZE_FORWARD(sdlLibrary, SDL_AudioDeviceID, SDL_OpenAudioDevice,
                  (const char *device, int isCapture, const SDL_AudioSpec *desired,
                   SDL_AudioSpec *obtained, int allowedChanges),
                  (device, isCapture, desired, obtained, allowedChanges), 0)
QTUTAKAZE_FORWARD(sdlLibrary, void, SDL_PauseAudioDevice, (SDL_AudioDeviceID dev, int pauseOn),
                  (dev, pauseOn), void())
QTUTAKAZE_FORWARD(sdlLibrary, void, SDL_CloseAudioDevice, (SDL_AudioDeviceID dev), (dev), void())
QTUTAKAZE_FORWARD(sdlLibrary, void, SDL_TLSCleanup, (void), (), void())

} // extern "C"

void releaseSdlThreadState()
{
    // Only SDL can have kept state for this thread: where SDL was never
    // opened (PulseAudio answered), it stays unopened.
    if (sdlLibrary.isLoaded())
        SDL_TLSCleanup();
}
