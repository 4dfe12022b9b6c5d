#include "AudioDevice.h"

#include <QByteArray>
#include <QtGlobal>

namespace {

bool pulseWanted()
{
    const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
    return driver.isEmpty() || driver == "pulseaudio" || driver == "pipewire";
}

// Tries the Pulse output first, then SDL's, at every open.
class SystemAudioDevice : public AudioDevice
{
public:
    bool open(AudioMixer *mixer) override
    {
        if (active && active->isOpen())
            return true;
        active.reset();
        if (pulseWanted()) {
            auto pulse = makePulseAudioDevice();
            if (pulse->open(mixer)) {
                active = std::move(pulse);
                return true;
            }
        }
        auto sdl = makeSdlAudioDevice();
        if (!sdl->open(mixer))
            return false;
        active = std::move(sdl);
        return true;
    }

    void close() override
    {
        if (active)
            active->close();
    }

    bool isOpen() const override { return active && active->isOpen(); }
    int latencyFrames() const override { return active ? active->latencyFrames() : 0; }

private:
    // Replaced only in open(), which AudioOutput never runs beside the others.
    std::unique_ptr<AudioDevice> active;
};

} // namespace

std::unique_ptr<AudioDevice> makeSystemAudioDevice()
{
    return std::make_unique<SystemAudioDevice>();
}
