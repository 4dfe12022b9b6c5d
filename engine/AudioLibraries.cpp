#include "AudioLibraries.h"

#include "AudioDevice.h"

AudioLibraryPreload::AudioLibraryPreload()
    : loader([triesPulse = systemOutputTriesPulse()] {
        for (OnDemandLibrary *library :
             {triesPulse ? &pulseLibrary : &sdlLibrary, &sndfileLibrary, &samplerateLibrary})
            library->load();
    })
{
}

AudioLibraryPreload::~AudioLibraryPreload()
{
    loader.join();
}
