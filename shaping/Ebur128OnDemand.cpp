// libebur128, opened the first time a verse's loudness is measured rather
// than linked: every start loaded it on the window's path, for the loudness
// levelling most readings leave off and the reader check. The functions the
// shaper and the check call are defined here under libebur128's own names
// and pass the call on (see OnDemandLibrary). Without the library no
// loudness is measured: verses keep their level.
#include "OnDemandLibrary.h"

#include <ebur128.h>

namespace {
OnDemandLibrary ebur128Library("libebur128.so.1");
} // namespace

extern "C" {

QTUTAKAZE_FORWARD(ebur128Library, ebur128_state *, ebur128_init,
                  (unsigned int channels, unsigned long sampleRate, int mode),
                  (channels, sampleRate, mode), nullptr)
QTUTAKAZE_FORWARD(ebur128Library, void, ebur128_destroy, (ebur128_state * *state), (state), void())
QTUTAKAZE_FORWARD(ebur128Library, int, ebur128_set_channel,
                  (ebur128_state * state, unsigned int channel, int value), (state, channel, value),
                  EBUR128_ERROR_INVALID_MODE)
QTUTAKAZE_FORWARD(ebur128Library, int, ebur128_add_frames_float,
                  (ebur128_state * state, const float *source, size_t frames),
                  (state, source, frames), EBUR128_ERROR_INVALID_MODE)
QTUTAKAZE_FORWARD(ebur128Library, int, ebur128_loudness_global,
                  (ebur128_state * state, double *out), (state, out), EBUR128_ERROR_INVALID_MODE)
QTUTAKAZE_FORWARD(ebur128Library, int, ebur128_true_peak,
                  (ebur128_state * state, unsigned int channel, double *out), (state, channel, out),
                  EBUR128_ERROR_INVALID_MODE)

} // extern "C"
