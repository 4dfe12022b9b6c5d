#include "AudioLibraries.h"

#include "AudioDevice.h"
#include "ShapingLibraries.h"

AudioLibraryPreload::AudioLibraryPreload()
    : loader([triesPulse = systemOutputTriesPulse()] {
        for (OnDemandLibrary *library : {triesPulse ? &pulseLibrary : &sdlLibrary, &sndfileLibrary,
                                         &samplerateLibrary, &ebur128Library, &rubberBandLibrary})
            library->load();
    })
{
}

AudioLibraryPreload::~AudioLibraryPreload()
{
    loader.join();
}
