#ifndef AUDIODEVICE_H
#define AUDIODEVICE_H

#include <QString>

#include <functional>
#include <memory>

class AudioMixer;

// An audio output that pulls the mixed stream. From open() to close() it
// keeps playing, silence when nothing sounds: a stream that stays warm is
// one a sound server never suspends, so the first syllable of a verse is
// never swallowed while the output wakes up.
class AudioDevice
{
public:
    virtual ~AudioDevice() = default;

    // Opens the output at AudioClip::Rate and starts pulling from mixer,
    // which must outlive the open device. False when there is no output.
    virtual bool open(AudioMixer *mixer) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Whether it takes frames in real time. One that does not (a test's)
    // advances the clock only when it is told to.
    virtual bool hasWallClock() const { return true; }
    // About how long a frame taken by the callback waits before it sounds
    // (what the sound server holds ahead); 0 when nothing is known of it.
    virtual int latencyFrames() const { return 0; }
};

// The real output: PulseAudio's own API when a server answers (PipeWire
// serves it too) and SDL_AUDIODRIVER is unset or names it; SDL2 otherwise
// (ALSA, and the dummy and disk drivers of the tests).
std::unique_ptr<AudioDevice> makeSystemAudioDevice();
// SDL2; its driver follows SDL_AUDIODRIVER.
std::unique_ptr<AudioDevice> makeSdlAudioDevice();
// libpulse; open() fails when no server answers.
std::unique_ptr<AudioDevice> makePulseAudioDevice();
// Where a broadcast sends the reading: the TCP source of a Snapcast server
// (16-bit stereo at AudioClip::Rate, the server listening). bufferMs is the
// server's buffer, how long after it is sent a frame sounds at the players.
// onConnection, when set, is called from the device's sender thread when the
// server goes away (false) and when it is reached again (true).
struct BroadcastTarget
{
    QString host;
    int sourcePort = 0;
    int bufferMs = 0;
    std::function<void(bool connected)> onConnection;
};
// Paces the mixed stream in real time to the server; open() fails when the
// server cannot be reached. While it is gone the clock stands still.
std::unique_ptr<AudioDevice> makeSnapcastAudioDevice(const BroadcastTarget &target);
// The one place an output is chosen: a broadcast when one is given, the
// system's sound device otherwise.
std::unique_ptr<AudioDevice> makeOutputDevice(const BroadcastTarget *broadcast);

// SDL keeps its error text per thread: a thread not made by SDL that has
// opened a device calls this before it ends.
void releaseSdlThreadState();

#endif
