#ifndef AUDIOOUTPUT_H
#define AUDIOOUTPUT_H

#include "AudioClip.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

class AudioDevice;
class WakeSignal;

// The program's audio output (made once in main(), a test makes its own):
// one device kept open and playing (silence when nothing sounds), fed by one
// mixer. All functions are thread-safe; none decodes while holding a lock
// that another caller needs. Whoever plays borrows it: it must outlive them.
//
// Verses are decoded whole into memory before they play (one at a time);
// the memorization timer's cues are mixed over whatever plays. Timing is
// taken from the output clock: the frames the device has taken so far.
class AudioOutput
{
public:
    using Stream = quint32; // 0 = none
    using DeviceMaker = std::function<std::unique_ptr<AudioDevice>()>;

    // The device is made by makeDevice when it is first opened (the
    // system's default output unless told otherwise). Nothing opens yet.
    explicit AudioOutput(DeviceMaker makeDevice);
    AudioOutput();
    // Closes the device if it is open (cues may have kept it), and waits
    // for a close begun by closeForGood().
    ~AudioOutput();
    AudioOutput(const AudioOutput &) = delete;
    AudioOutput &operator=(const AudioOutput &) = delete;

    // Opens the default output device at 44100 Hz. Reference-counted and
    // idempotent; the window handle is accepted and not needed. The device
    // opens on a worker thread: a server that takes longer than half a
    // second leaves it opening, and IsOpen() tells when it is open.
    void Init(quintptr windowHandle);
    // From now on Init() counts but leaves the device closed until
    // openHeldBack(): at start the window is shown first, and the device
    // (a sound server's answer, the audio libraries) opens right after.
    void holdBackOpening();
    bool isOpeningHeldBack() const;
    // Opens the device as Init() would have, if one was held back; waits as
    // Init() does. A Start (Reopen()) or a cue before that opens it themselves.
    void openHeldBack();
    // Releases one Init; the last one closes the device (unless cues that
    // opened it themselves still hold it).
    void Free();
    // True while the device is open.
    bool IsOpen() const;
    // Tries to open the device again if an Init holds the output and it is
    // closed (it could not be opened before); true when it is open. Waits
    // for the opening worker 40 ms at most (it is asked on Start).
    bool Reopen();

    // Decodes a whole file (see AudioDecoder); 0 when it cannot be played or
    // no device is open. Blocks while decoding, without holding the output.
    Stream StreamCreateFile(const QString &path);
    // A stream of a clip decoded beforehand; 0 for none or without a device.
    Stream StreamCreateClip(std::shared_ptr<const AudioClip> clip);
    // Starts the stream at once; false when it did not start.
    bool ChannelPlay(Stream stream);
    // Starts the stream at that frame of the output clock (see PlayedFrames);
    // a frame already played means at once.
    bool ChannelPlayAt(Stream stream, qint64 frame);
    // True from ChannelPlay until the stream's last sample has been played.
    bool ChannelIsActive(Stream stream) const;
    // The frame of the output clock the stream starts at; -1 if it is not playing.
    qint64 ChannelStartFrame(Stream stream) const;
    // True while any verse sounds or waits for its frame, whichever stream it is.
    bool IsMusicPlaying() const;
    void ChannelStop(Stream stream);
    void StreamFree(Stream stream);

    // The output clock: frames taken by the device since the process began
    // (44100 a second while open).
    qint64 PlayedFrames() const;
    // Milliseconds until that frame is rendered (negative: how long ago),
    // finer than the device's buffers.
    qint64 MsUntilFrame(qint64 frame) const;
    // About how long a frame rendered now waits in the sound server before
    // it sounds (0 without a device, or when the driver does not say).
    qint64 OutputLatencyMs() const;
    // False while a device without a wall clock (a test's) is in use: time
    // is then only what it has taken.
    bool HasWallClock() const;
    // Alarms on the output clock: the audio thread wakes the signal, without
    // a lock, once it has rendered the alarm's frame. AddClockAlarm() gives a
    // slot (-1 when none is free); after RemoveClockAlarm() returns the
    // signal is no longer touched. A frame below 0 clears the alarm; a frame
    // rendered already does not wake.
    int AddClockAlarm(WakeSignal *signal);
    void RemoveClockAlarm(int slot);
    void SetClockAlarm(int slot, qint64 frame);

    // Master volume of the verses, 0.0 to 1.0; applies at once and is not
    // stored anywhere. Never waits for the device.
    void SetVolume(float level);
    // The level last set, exactly as set (clamped to 0.0..1.0); 1.0 before any set.
    float GetVolume() const;

    // Sound cues of the memorization timer: plays a .wav (bare name = current
    // working directory) asynchronously, mixed over whatever sounds; opens the
    // device itself if needed; a missing or broken file is simply not heard.
    // Opening and decoding run on a worker thread; the observer is called
    // before this returns.
    void PlayCue(const QString &fileName);
    // The device to use from now on (the broadcast switches between the
    // local one and the network's). An open device is closed, and the new
    // one opened if an Init holds the output.
    void useDevice(std::unique_ptr<AudioDevice> device);

    // Ends the output for good: the device is closed and never opened
    // again. The close runs on a thread of its own (see
    // AudioOutputShutdown); waitUntilClosed() or the destructor waits for it.
    void closeForGood();
    void waitUntilClosed();

private:
    struct State;
    std::unique_ptr<State> d;
};

// Ends the output for good as the program ends: from its construction on
// the device is closed and never opened again. SDL lets a closing device
// play out two more buffers before its thread ends, so the close runs on a
// thread of its own while the program winds down; the destructor waits for
// it, and no audio thread outlives the scope (main()'s, normally).
class AudioOutputShutdown
{
public:
    explicit AudioOutputShutdown(AudioOutput &output);
    ~AudioOutputShutdown();
    AudioOutputShutdown(const AudioOutputShutdown &) = delete;
    AudioOutputShutdown &operator=(const AudioOutputShutdown &) = delete;

private:
    AudioOutput &output;
};

#endif
