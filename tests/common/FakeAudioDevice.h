#ifndef FAKEAUDIODEVICE_H
#define FAKEAUDIODEVICE_H

#include "AudioClip.h"
#include "AudioDevice.h"
#include "AudioMixer.h"

#include <vector>

// An output without sound or wall clock: the test pulls the mix itself, a
// buffer at a time, as a sound card's callback would, and the output clock
// moves only then (a test's AudioOutput plays on it).
class FakeAudioDevice : public AudioDevice
{
public:
    bool open(AudioMixer *target) override
    {
        mixer = target;
        return true;
    }
    void close() override { mixer = nullptr; }
    bool isOpen() const override { return mixer != nullptr; }
    bool hasWallClock() const override { return false; }

    // Renders frames and appends them to `heard` (the left channel), if
    // the device is open.
    void pump(int frames)
    {
        if (!mixer)
            return;
        std::vector<float> buffer(static_cast<size_t>(frames) * AudioClip::Channels);
        mixer->render(buffer.data(), frames);
        for (int i = 0; i < frames; ++i)
            heard.push_back(buffer[static_cast<size_t>(i) * AudioClip::Channels]);
    }

    std::vector<float> heard;

private:
    AudioMixer *mixer = nullptr;
};

#endif
