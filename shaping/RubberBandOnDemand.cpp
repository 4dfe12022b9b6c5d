// Rubber Band, opened the first time a verse's speed is changed rather than
// linked: it cost every start its loading (0.7 MiB, on the window's path),
// for a setting most readings leave at its default. The functions of its C
// interface the shaper calls are defined here under their own names and
// pass the call on (see OnDemandLibrary). Without the library verses keep
// their speed.
#include "OnDemandLibrary.h"

#include <rubberband/rubberband-c.h>

namespace {
OnDemandLibrary rubberBandLibrary("librubberband.so.2");
} // namespace

extern "C" {

QTUTAKAZE_FORWARD(rubberBandLibrary, RubberBandState, rubberband_new,
                  (unsigned int sampleRate, unsigned int channels, RubberBandOptions options,
                   double initialTimeRatio, double initialPitchScale),
                  (sampleRate, channels, options, initialTimeRatio, initialPitchScale), nullptr)
QTUTAKAZE_FORWARD(rubberBandLibrary, void, rubberband_delete, (RubberBandState state), (state),
                  void())
QTUTAKAZE_FORWARD(rubberBandLibrary, void, rubberband_set_expected_input_duration,
                  (RubberBandState state, unsigned int samples), (state, samples), void())
QTUTAKAZE_FORWARD(rubberBandLibrary, void, rubberband_set_max_process_size,
                  (RubberBandState state, unsigned int samples), (state, samples), void())
QTUTAKAZE_FORWARD(rubberBandLibrary, void, rubberband_study,
                  (RubberBandState state, const float *const *input, unsigned int samples,
                   int final),
                  (state, input, samples, final), void())
QTUTAKAZE_FORWARD(rubberBandLibrary, void, rubberband_process,
                  (RubberBandState state, const float *const *input, unsigned int samples,
                   int final),
                  (state, input, samples, final), void())
QTUTAKAZE_FORWARD(rubberBandLibrary, int, rubberband_available, (const RubberBandState state),
                  (state), -1)
QTUTAKAZE_FORWARD(rubberBandLibrary, unsigned int, rubberband_retrieve,
                  (const RubberBandState state, float *const *output, unsigned int samples),
                  (state, output, samples), 0)

} // extern "C"
