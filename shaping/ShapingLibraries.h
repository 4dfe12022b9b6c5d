#ifndef SHAPINGLIBRARIES_H
#define SHAPINGLIBRARIES_H

#include "OnDemandLibrary.h"

// The libraries shaping and measuring verses use, opened when first needed
// (see OnDemandLibrary); a thread started in main() opens them ahead of the
// first reading.
extern OnDemandLibrary ebur128Library;
extern OnDemandLibrary rubberBandLibrary;

#endif
