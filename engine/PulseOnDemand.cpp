// libpulse, opened the first time the output uses it rather than linked
// (some 4 ms of every start, before main() and on the window's path): the
// output opens it once the window is shown. The functions the output calls
// are defined here under libpulse's own names and pass the call on (see
// OnDemandLibrary).
// Without the library the output cannot open and SDL's is tried. The main
// loop's callbacks look their functions up at the stream's first requests,
// as it opens and before anything sounds: a look-up may wait for a library
// another thread is loading then, and never again.
#include "AudioLibraries.h"

#include <pulse/pulseaudio.h>

OnDemandLibrary pulseLibrary("libpulse.so.0");

extern "C" {

QTUTAKAZE_FORWARD(pulseLibrary, pa_threaded_mainloop *, pa_threaded_mainloop_new, (void), (),
                  nullptr)
QTUTAKAZE_FORWARD(pulseLibrary, void, pa_threaded_mainloop_free, (pa_threaded_mainloop * m), (m),
                  void())
QTUTAKAZE_FORWARD(pulseLibrary, int, pa_threaded_mainloop_start, (pa_threaded_mainloop * m), (m),
                  -1)
QTUTAKAZE_FORWARD(pulseLibrary, void, pa_threaded_mainloop_stop, (pa_threaded_mainloop * m), (m),
                  void())
QTUTAKAZE_FORWARD(pulseLibrary, void, pa_threaded_mainloop_lock, (pa_threaded_mainloop * m), (m),
                  void())
QTUTAKAZE_FORWARD(pulseLibrary, void, pa_threaded_mainloop_unlock, (pa_threaded_mainloop * m), (m),
                  void())
QTUTAKAZE_FORWARD(pulseLibrary, void, pa_threaded_mainloop_wait, (pa_threaded_mainloop * m), (m),
                  void())
QTUTAKAZE_FORWARD(pulseLibrary, void, pa_threaded_mainloop_signal,
                  (pa_threaded_mainloop * m, int waitForAccept), (m, waitForAccept), void())
QTUTAKAZE_FORWARD(pulseLibrary, pa_mainloop_api *, pa_threaded_mainloop_get_api,
                  (pa_threaded_mainloop * m), (m), nullptr)

QTUTAKAZE_FORWARD(pulseLibrary, pa_context *, pa_context_new,
                  (pa_mainloop_api * mainloop, const char *name), (mainloop, name), nullptr)
QTUTAKAZE_FORWARD(pulseLibrary, void, pa_context_unref, (pa_context * c), (c), void())
QTUTAKAZE_FORWARD(pulseLibrary, void, pa_context_set_state_callback,
                  (pa_context * c, pa_context_notify_cb_t cb, void *userdata), (c, cb, userdata),
                  void())
QTUTAKAZE_FORWARD(pulseLibrary, pa_context_state_t, pa_context_get_state, (const pa_context *c),
                  (c), PA_CONTEXT_FAILED)
QTUTAKAZE_FORWARD(pulseLibrary, int, pa_context_connect,
                  (pa_context * c, const char *server, pa_context_flags_t flags,
                   const pa_spawn_api *api),
                  (c, server, flags, api), -1)
QTUTAKAZE_FORWARD(pulseLibrary, void, pa_context_disconnect, (pa_context * c), (c), void())

QTUTAKAZE_FORWARD(pulseLibrary, pa_stream *, pa_stream_new,
                  (pa_context * c, const char *name, const pa_sample_spec *format,
                   const pa_channel_map *map),
                  (c, name, format, map), nullptr)
QTUTAKAZE_FORWARD(pulseLibrary, void, pa_stream_unref, (pa_stream * s), (s), void())
QTUTAKAZE_FORWARD(pulseLibrary, pa_stream_state_t, pa_stream_get_state, (const pa_stream *s), (s),
                  PA_STREAM_FAILED)
QTUTAKAZE_FORWARD(pulseLibrary, void, pa_stream_set_state_callback,
                  (pa_stream * s, pa_stream_notify_cb_t cb, void *userdata), (s, cb, userdata),
                  void())
QTUTAKAZE_FORWARD(pulseLibrary, void, pa_stream_set_write_callback,
                  (pa_stream * s, pa_stream_request_cb_t cb, void *userdata), (s, cb, userdata),
                  void())
QTUTAKAZE_FORWARD(pulseLibrary, int, pa_stream_connect_playback,
                  (pa_stream * s, const char *dev, const pa_buffer_attr *attr,
                   pa_stream_flags_t flags, const pa_cvolume *volume, pa_stream *syncStream),
                  (s, dev, attr, flags, volume, syncStream), -1)
QTUTAKAZE_FORWARD(pulseLibrary, int, pa_stream_disconnect, (pa_stream * s), (s), -1)
QTUTAKAZE_FORWARD(pulseLibrary, int, pa_stream_begin_write,
                  (pa_stream * s, void **data, size_t *nbytes), (s, data, nbytes), -1)
QTUTAKAZE_FORWARD(pulseLibrary, int, pa_stream_write,
                  (pa_stream * s, const void *data, size_t nbytes, pa_free_cb_t freeCb,
                   int64_t offset, pa_seek_mode_t seek),
                  (s, data, nbytes, freeCb, offset, seek), -1)
QTUTAKAZE_FORWARD(pulseLibrary, int, pa_stream_get_time, (pa_stream * s, pa_usec_t *usec),
                  (s, usec), -1)

} // extern "C"
