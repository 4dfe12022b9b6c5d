#ifndef AUDIOLIBRARIES_H
#define AUDIOLIBRARIES_H

#include "OnDemandLibrary.h"

// The sound libraries the engine opens when first needed (see
// OnDemandLibrary): the outputs', the decoder's.
extern OnDemandLibrary sdlLibrary;
extern OnDemandLibrary pulseLibrary;
extern OnDemandLibrary sndfileLibrary;
extern OnDemandLibrary samplerateLibrary;

#endif
