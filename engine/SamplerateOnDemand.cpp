// libsamplerate, opened the first time a file at another rate is decoded
// rather than linked. src_simple() is defined here under its
// own name and passes the call on (see OnDemandLibrary). Without the library
// such a file does not decode.
#include "AudioLibraries.h"

#include <samplerate.h>

OnDemandLibrary samplerateLibrary("libsamplerate.so.0");

extern "C" {

// Any value but 0 is an error to libsamplerate.
QTUTAKAZE_FORWARD(samplerateLibrary, int, src_simple,
                  (SRC_DATA * data, int converterType, int channels),
                  (data, converterType, channels), 1)

} // extern "C"
