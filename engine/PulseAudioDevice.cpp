#include "AudioDevice.h"

#include "AudioClip.h"
#include "AudioMixer.h"
#include "Logging.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <atomic>
#include <chrono>

namespace {

constexpr int FrameBytes = int(sizeof(float)) * AudioClip::Channels;

constexpr uint32_t bytesOfMs(int ms)
{
    return uint32_t(AudioClip::Rate * ms / 1000 * FrameBytes);
}

// What the server holds ahead of what sounds: enough to ride out a busy
// machine, while a change (a verse placed at once, a stop) is written
// again over what is held, from just after what sounds now.
constexpr int TargetMs = 250;
// The server asks for more once this much has played: 20 wake-ups a second.
constexpr int RequestMs = 50;
// How far after the sample sounding now a change may take effect: the
// server's sink has to rewind and render again, which takes a moment.
constexpr qint64 ChangeMarginFrames = AudioClip::Rate * 15 / 1000;

// An output on libpulse (PulseAudio, or PipeWire's Pulse server). It keeps
// TargetMs in the server, written from the server's own requests on its
// main loop thread; the mixer's clock counts the frames written, and frame
// `firstFrame` is byte 0 of the stream, so a frame's place in the stream
// never changes. A change rewrites from the first frame changed with an
// absolute seek, which the server takes even for data its sink has already
// read (it rewinds the sink), so what is written again is sample-exact.
class PulseAudioDevice : public AudioDevice, private AudioMixer::Rewriter
{
public:
    ~PulseAudioDevice() override { close(); }

    bool open(AudioMixer *target) override
    {
        if (stream)
            return true;
        mixer = target;
        mainloop = pa_threaded_mainloop_new();
        if (!mainloop || pa_threaded_mainloop_start(mainloop) < 0) {
            qCWarning(lcAudio, "cannot start the PulseAudio main loop");
            teardown();
            return false;
        }
        pa_threaded_mainloop_lock(mainloop);
        const bool ready = connectContext() && connectStream();
        pa_threaded_mainloop_unlock(mainloop);
        if (!ready) {
            teardown();
            return false;
        }
        mixer->setDeviceKeepsAnchor(true);
        mixer->setRewriter(this);
        opened = true;
        qCDebug(lcAudio, "PulseAudio output open: %d ms held", TargetMs);
        return true;
    }

    void close() override
    {
        if (!mainloop)
            return;
        opened = false;
        if (mixer && stream)
            mixer->setRewriter(nullptr); // before the lock: a change may wait for it
        teardown();
        if (mixer)
            mixer->setDeviceKeepsAnchor(false);
    }

    bool isOpen() const override { return opened; }
    // The clock's anchor is when a frame sounds (see updateAnchor).
    int latencyFrames() const override { return 0; }

private:
    bool connectContext()
    {
        context = pa_context_new(pa_threaded_mainloop_get_api(mainloop), "QtUtakaze");
        if (!context)
            return false;
        pa_context_set_state_callback(context, &PulseAudioDevice::signalLoop, mainloop);
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return false;
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(context);
            if (state == PA_CONTEXT_READY)
                return true;
            if (!PA_CONTEXT_IS_GOOD(state))
                return false;
            pa_threaded_mainloop_wait(mainloop);
        }
    }

    bool connectStream()
    {
        const pa_sample_spec format {PA_SAMPLE_FLOAT32NE, uint32_t(AudioClip::Rate),
                                     uint8_t(AudioClip::Channels)};
        pa_stream *created = pa_stream_new(context, "QtUtakaze", &format, nullptr);
        if (!created)
            return false;
        pa_stream_set_state_callback(created, &PulseAudioDevice::signalLoop, mainloop);
        pa_stream_set_write_callback(created, &PulseAudioDevice::onWritable, this);
        pa_buffer_attr attr {};
        attr.maxlength = uint32_t(-1);
        attr.tlength = bytesOfMs(TargetMs);
        attr.prebuf = uint32_t(-1);
        attr.minreq = bytesOfMs(RequestMs);
        attr.fragsize = uint32_t(-1);
        const auto flags = pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING
                                             | PA_STREAM_AUTO_TIMING_UPDATE
                                             | PA_STREAM_ADJUST_LATENCY);
        firstFrame = mixer->renderedFrames();
        stream = created; // the write callback may come while this waits
        if (pa_stream_connect_playback(stream, nullptr, &attr, flags, nullptr, nullptr) < 0)
            return false;
        for (;;) {
            const pa_stream_state_t state = pa_stream_get_state(stream);
            if (state == PA_STREAM_READY)
                return true;
            if (!PA_STREAM_IS_GOOD(state))
                return false;
            pa_threaded_mainloop_wait(mainloop);
        }
    }

    void teardown()
    {
        if (!mainloop)
            return;
        pa_threaded_mainloop_lock(mainloop);
        if (stream) {
            pa_stream_set_write_callback(stream, nullptr, nullptr);
            pa_stream_set_state_callback(stream, nullptr, nullptr);
            if (pa_stream_get_state(stream) != PA_STREAM_UNCONNECTED)
                pa_stream_disconnect(stream);
            pa_stream_unref(stream);
            stream = nullptr;
        }
        if (context) {
            pa_context_set_state_callback(context, nullptr, nullptr);
            pa_context_disconnect(context);
            pa_context_unref(context);
            context = nullptr;
        }
        pa_threaded_mainloop_unlock(mainloop);
        pa_threaded_mainloop_stop(mainloop); // no callback runs after this
        pa_threaded_mainloop_free(mainloop);
        mainloop = nullptr;
    }

    static void signalLoop(pa_context *, void *loop)
    {
        pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop *>(loop), 0);
    }
    static void signalLoop(pa_stream *, void *loop)
    {
        pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop *>(loop), 0);
    }

    // The server wants more: on the main loop thread, which holds the lock.
    static void onWritable(pa_stream *, size_t bytes, void *self)
    {
        auto *device = static_cast<PulseAudioDevice *>(self);
        device->write(qint64(bytes / FrameBytes), 0, PA_SEEK_RELATIVE);
        device->updateAnchor();
    }

    // Renders `frames` frames into the server's buffers, the first piece
    // written with the seek given. The caller holds the lock.
    void write(qint64 frames, int64_t offset, pa_seek_mode_t seek)
    {
        while (frames > 0) {
            void *data = nullptr;
            size_t bytes = size_t(frames) * FrameBytes;
            if (pa_stream_begin_write(stream, &data, &bytes) < 0 || !data)
                return;
            const int count = int(std::min<qint64>(frames, qint64(bytes / FrameBytes)));
            mixer->render(static_cast<float *>(data), count);
            pa_stream_write(stream, data, size_t(count) * FrameBytes, nullptr, offset, seek);
            offset = 0;
            seek = PA_SEEK_RELATIVE;
            frames -= count;
        }
    }

    // The frame sounding now; false before the server has said.
    bool soundingFrame(qint64 &frame) const
    {
        pa_usec_t played = 0;
        if (pa_stream_get_time(stream, &played) < 0)
            return false;
        frame = firstFrame + qint64(played * AudioClip::Rate / 1000000);
        return true;
    }

    void updateAnchor()
    {
        qint64 frame = 0;
        if (soundingFrame(frame))
            mixer->setClockAnchor(frame, std::chrono::steady_clock::now());
    }

    // AudioMixer::Rewriter, on the thread making a change.
    void lock() override { pa_threaded_mainloop_lock(mainloop); }
    void unlock() override { pa_threaded_mainloop_unlock(mainloop); }

    qint64 earliestFrame() override
    {
        qint64 frame = 0;
        if (!soundingFrame(frame))
            return mixer->renderedFrames();
        return frame + ChangeMarginFrames;
    }

    void rewrite(qint64 from) override
    {
        const qint64 end = mixer->renderedFrames();
        if (from >= end)
            return;
        mixer->rewindTo(from);
        write(end - from, (from - firstFrame) * FrameBytes, PA_SEEK_ABSOLUTE);
        updateAnchor();
    }

    AudioMixer *mixer = nullptr;
    pa_threaded_mainloop *mainloop = nullptr;
    pa_context *context = nullptr;
    pa_stream *stream = nullptr; // touched under the main loop's lock once open
    std::atomic_bool opened {false};
    qint64 firstFrame = 0; // the mixer's frame at byte 0 of the stream
};

} // namespace

std::unique_ptr<AudioDevice> makePulseAudioDevice()
{
    return std::make_unique<PulseAudioDevice>();
}
