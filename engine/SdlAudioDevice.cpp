#include "AudioDevice.h"

#include "AudioClip.h"
#include "AudioMixer.h"
#include "Logging.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

namespace {

// 1024 frames (23 ms) per callback on PulseAudio, PipeWire and ALSA, the
// drivers that reach the speakers. A verse starts at the next callback and
// the server holds about one buffer more, so the buffer is most of Start to
// first sound (about 45 ms with this size, 70 ms with 2048); and a closing
// device plays out two more buffers before SDL ends its thread, which is
// most of the time the program takes to quit (46 ms here). The callback only
// copies samples, and SDL runs it at the highest priority the system grants:
// a reading with four busy processes on two cores had no drop-out.
constexpr int BufferFrames = 1024;
// The other drivers (the dummy and disk drivers of the tests among them,
// which pace themselves by sleeping) keep the 4096 frames they have always
// had. Whatever the size, it must be a power of two there: SDL 2.26 rounds
// other sizes up for them and then paces the rounded buffer as the size
// asked for (the dummy driver's clock ran at 75 %), and allowing the change
// instead (SDL_AUDIO_ALLOW_SAMPLES_CHANGE) overruns SDL's own work buffer on
// the dummy driver.
constexpr int OtherDriverFrames = 4096;

bool reachesSpeakers(const char *driver)
{
    for (const char *name : {"pulseaudio", "pipewire", "alsa"}) {
        if (driver && std::strcmp(driver, name) == 0)
            return true;
    }
    return false;
}

class SdlAudioDevice : public AudioDevice
{
public:
    ~SdlAudioDevice() override { close(); }

    bool open(AudioMixer *target) override
    {
        if (device != 0)
            return true;
        // SDL would otherwise turn SIGINT and SIGTERM into events that nobody
        // reads, and the program could no longer be ended by a signal.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            qCWarning(lcAudio, "cannot open the audio device: %s", SDL_GetError());
            return false;
        }
        mixer = target;
        SDL_AudioSpec wanted {};
        wanted.freq = AudioClip::Rate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = AudioClip::Channels;
        wanted.samples =
            reachesSpeakers(SDL_GetCurrentAudioDriver()) ? BufferFrames : OtherDriverFrames;
        wanted.callback = &SdlAudioDevice::callback;
        wanted.userdata = this;
        // No changes allowed: SDL converts to the hardware's format itself,
        // so the callback always works in 16-bit stereo at 44.1 kHz. The
        // scratch buffer is sized by what SDL grants, before the device starts.
        SDL_AudioSpec obtained {};
        device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (device == 0) {
            qCWarning(lcAudio, "cannot open the audio device: %s", SDL_GetError());
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        const int frames = obtained.samples > 0 ? obtained.samples : wanted.samples;
        // SDL asks a sound server to hold one buffer ahead of what sounds.
        latency.store(reachesSpeakers(SDL_GetCurrentAudioDriver()) ? frames : 0);
        scratch.assign(static_cast<size_t>(frames) * AudioClip::Channels, 0.0f);
        qCDebug(lcAudio, "audio device open: %d frames per callback", frames);
        SDL_PauseAudioDevice(device, 0);
        return true;
    }

    void close() override
    {
        if (device == 0)
            return;
        SDL_CloseAudioDevice(device); // waits for a running callback
        device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SDL_Quit();
    }

    bool isOpen() const override { return device != 0; }
    int latencyFrames() const override { return latency.load(); }

private:
    static void SDLCALL callback(void *userdata, Uint8 *stream, int bytes)
    {
        auto *self = static_cast<SdlAudioDevice *>(userdata);
        auto *out = reinterpret_cast<Sint16 *>(stream);
        int frames = bytes / int(sizeof(Sint16) * AudioClip::Channels);
        const int chunkFrames = int(self->scratch.size()) / AudioClip::Channels;
        while (frames > 0) {
            const int count = std::min(frames, chunkFrames);
            self->mixer->render(self->scratch.data(), count);
            for (int i = 0; i < count * AudioClip::Channels; ++i) {
                const float value = std::clamp(self->scratch[size_t(i)], -1.0f, 1.0f);
                out[i] = static_cast<Sint16>(value * 32767.0f);
            }
            out += count * AudioClip::Channels;
            frames -= count;
        }
    }

    SDL_AudioDeviceID device = 0;
    AudioMixer *mixer = nullptr;
    std::vector<float> scratch; // the callback's own, sized at open
    std::atomic_int latency {0}; // read by any thread
};

} // namespace

std::unique_ptr<AudioDevice> makeSdlAudioDevice()
{
    return std::make_unique<SdlAudioDevice>();
}
