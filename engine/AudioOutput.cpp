#include "AudioOutput.h"

#include "AudioDecoder.h"
#include "AudioDevice.h"
#include "AudioMixer.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <cstdlib>
#include <utility>

namespace {

// The mixer lives for the whole process (it keeps the clock and the volume
// across reopenings of the device); it has a lock of its own.
AudioMixer &mixer()
{
    static AudioMixer instance;
    return instance;
}

// Everything else. Opening and closing the device is slow (a sound server
// may take a while to answer): it holds deviceMutex only, which nothing
// else waits for, so a thread asking about streams or the clock never
// waits for a device being opened. Every other access holds mutex, for
// quick work only (moving a decoded clip in and out). deviceMutex is always
// taken before mutex.
struct Output
{
    QMutex deviceMutex;
    QMutex mutex;
    int initCount = 0; // Init() calls not yet matched by Free()
    bool cuesHoldDevice = false; // a cue opened the device, or kept it open after the last Free()
    bool exitHandlerRegistered = false;
    ~Output()
    {
        if (device)
            device->close(); // before the mixer goes, see output()
    }
    bool shutDown = false; // for good: see AudioOutputShutdown
    bool open = false; // the device is open and its streams can play
    // Replaced only under both mutexes, so that deviceMutex alone keeps it.
    std::unique_ptr<AudioDevice> device;
    AudioOutput::Stream nextStream = 1;
    AudioOutput::Stream playing = 0; // the stream last started
    AudioMixer::VerseId playingVerse = 0;
    QHash<AudioOutput::Stream, std::shared_ptr<const AudioClip>> streams;
    std::function<void(const QString &)> cueObserver;
};

Output &output()
{
    // The mixer is made first, so it is destroyed last: an exit without
    // AudioOutputShutdown closes the device (Output's destructor) while
    // the mixer its callback renders into is still there.
    mixer();
    static Output instance;
    return instance;
}

void releaseVerses(Output &out)
{
    mixer().stopVerse();
    out.streams.clear();
    out.playing = 0;
    out.playingVerse = 0;
}

// Opens the device unless it is open; the caller holds deviceMutex only.
bool openDevice(Output &out)
{
    AudioDevice *device = nullptr;
    {
        const QMutexLocker locker(&out.mutex);
        if (out.shutDown)
            return false;
        if (out.open)
            return true;
        if (!out.device)
            out.device = makeSystemAudioDevice();
        device = out.device.get();
    }
    mixer().setWallClock(device->hasWallClock());
    const bool opened = device->open(&mixer());
    const QMutexLocker locker(&out.mutex);
    out.open = opened;
    return opened;
}

// Closes the device if it is open; the caller holds deviceMutex only.
void closeDevice(Output &out)
{
    {
        const QMutexLocker locker(&out.mutex);
        if (!out.open)
            return;
        out.open = false;
        releaseVerses(out);
        out.cuesHoldDevice = false;
    }
    out.device->close();
    mixer().stopAll();
}

// At process exit: close a device that cues kept open.
void closeAtExit()
{
    Output &out = output();
    const QMutexLocker deviceLocker(&out.deviceMutex);
    {
        const QMutexLocker locker(&out.mutex);
        if (out.initCount > 0)
            return;
    }
    closeDevice(out);
}

// The caller holds mutex.
void registerExitHandler(Output &out)
{
    if (!out.exitHandlerRegistered) {
        out.exitHandlerRegistered = true;
        std::atexit(closeAtExit);
    }
}

} // namespace

void AudioOutput::Init(quintptr windowHandle)
{
    Q_UNUSED(windowHandle);
    Output &out = output();
    const QMutexLocker deviceLocker(&out.deviceMutex);
    {
        const QMutexLocker locker(&out.mutex);
        ++out.initCount;
    }
    openDevice(out);
}

void AudioOutput::Free()
{
    Output &out = output();
    const QMutexLocker deviceLocker(&out.deviceMutex);
    {
        const QMutexLocker locker(&out.mutex);
        if (out.initCount == 0)
            return;
        if (--out.initCount > 0 || !out.open)
            return;
        if (out.cuesHoldDevice) {
            // Cues may still sound: leave the device to them until the process ends.
            releaseVerses(out);
            registerExitHandler(out);
            return;
        }
    }
    closeDevice(out);
}

bool AudioOutput::IsOpen()
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    return out.open;
}

bool AudioOutput::Reopen()
{
    Output &out = output();
    const QMutexLocker deviceLocker(&out.deviceMutex);
    {
        const QMutexLocker locker(&out.mutex);
        if (out.initCount == 0 && !out.cuesHoldDevice)
            return false;
    }
    return openDevice(out);
}

AudioOutput::Stream AudioOutput::StreamCreateFile(const QString &path)
{
    if (!IsOpen())
        return 0;
    return StreamCreateClip(AudioDecoder::decodeFile(path));
}

AudioOutput::Stream AudioOutput::StreamCreateClip(std::shared_ptr<const AudioClip> clip)
{
    if (!clip || clip->frames() == 0)
        return 0;
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    if (!out.open)
        return 0;
    Stream id = out.nextStream++;
    while (id == 0 || out.streams.contains(id)) // after wrapping round
        id = out.nextStream++;
    out.streams.insert(id, std::move(clip));
    return id;
}

bool AudioOutput::ChannelPlay(Stream stream)
{
    return ChannelPlayAt(stream, 0);
}

bool AudioOutput::ChannelPlayAt(Stream stream, qint64 frame)
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    const std::shared_ptr<const AudioClip> clip = out.streams.value(stream);
    if (!clip || !out.open)
        return false;
    out.playingVerse = mixer().playVerse(clip, frame);
    out.playing = out.playingVerse != 0 ? stream : 0;
    return out.playing != 0;
}

bool AudioOutput::ChannelIsActive(Stream stream)
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    return stream != 0 && stream == out.playing && mixer().verseActive(out.playingVerse);
}

qint64 AudioOutput::ChannelStartFrame(Stream stream)
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    return stream != 0 && stream == out.playing ? mixer().verseStart(out.playingVerse) : -1;
}

qint64 AudioOutput::MsUntilFrame(qint64 frame)
{
    return mixer().msUntilFrame(frame);
}

qint64 AudioOutput::OutputLatencyMs()
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    if (!out.open)
        return 0;
    return qint64(out.device->latencyFrames()) * 1000 / AudioClip::Rate;
}

bool AudioOutput::HasWallClock()
{
    return mixer().hasWallClock();
}

int AudioOutput::AddClockAlarm(WakeSignal *signal)
{
    return mixer().addAlarm(signal);
}

void AudioOutput::RemoveClockAlarm(int slot)
{
    mixer().removeAlarm(slot);
}

void AudioOutput::SetClockAlarm(int slot, qint64 frame)
{
    if (frame < 0)
        mixer().clearAlarm(slot);
    else
        mixer().setAlarm(slot, frame);
}

bool AudioOutput::IsMusicPlaying()
{
    return mixer().anyVerseActive();
}

void AudioOutput::ChannelStop(Stream stream)
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    if (stream != 0 && stream == out.playing) {
        mixer().stopVerse(out.playingVerse);
        out.playing = 0;
        out.playingVerse = 0;
    }
}

void AudioOutput::StreamFree(Stream stream)
{
    std::shared_ptr<const AudioClip> clip; // freed after the lock is released
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    clip = out.streams.take(stream);
    if (clip && stream == out.playing) {
        mixer().stopVerse(out.playingVerse);
        out.playing = 0;
        out.playingVerse = 0;
    }
}

qint64 AudioOutput::PlayedFrames()
{
    return mixer().renderedFrames();
}

void AudioOutput::SetVolume(float level)
{
    if (!(level >= 0.0f)) // NaN as well
        level = 0.0f;
    if (level > 1.0f)
        level = 1.0f;
    mixer().setVolume(level);
}

float AudioOutput::GetVolume()
{
    return mixer().volume();
}

void AudioOutput::PlayCue(const QString &fileName)
{
    Output &out = output();
    std::function<void(const QString &)> observer;
    bool open = false;
    {
        const QMutexLocker deviceLocker(&out.deviceMutex);
        open = openDevice(out);
        const QMutexLocker locker(&out.mutex);
        observer = out.cueObserver;
        if (open) {
            // A cue may still sound when the last Free() comes: it keeps
            // the device until the process ends.
            out.cuesHoldDevice = true;
            registerExitHandler(out);
        }
    }
    if (open) // a cue is a short local .wav: decoded here, outside the locks
        mixer().addCue(AudioDecoder::decodeFile(fileName));
    if (observer)
        observer(fileName);
}

void AudioOutput::SetCueObserver(std::function<void(const QString &)> observer)
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    out.cueObserver = std::move(observer);
}

void AudioOutput::UseDevice(std::unique_ptr<AudioDevice> device)
{
    Output &out = output();
    const QMutexLocker deviceLocker(&out.deviceMutex);
    bool reopen = false;
    {
        const QMutexLocker locker(&out.mutex);
        reopen = out.open || out.initCount > 0;
    }
    closeDevice(out);
    std::unique_ptr<AudioDevice> previous; // destroyed outside the lock
    {
        const QMutexLocker locker(&out.mutex);
        previous = std::exchange(out.device, std::move(device));
    }
    previous.reset();
    if (reopen)
        openDevice(out);
}

AudioOutputShutdown::AudioOutputShutdown()
{
    std::unique_ptr<AudioDevice> device;
    {
        Output &out = output();
        const QMutexLocker deviceLocker(&out.deviceMutex);
        const QMutexLocker locker(&out.mutex);
        out.shutDown = true;
        device = std::move(out.device);
        if (!out.open)
            device.reset(); // closed already, or never opened
        out.open = false;
        releaseVerses(out);
        out.cuesHoldDevice = false;
    }
    if (device) {
        closer = std::thread([closing = std::move(device)] {
            closing->close();
            mixer().stopAll();
        });
    }
}

AudioOutputShutdown::~AudioOutputShutdown()
{
    if (closer.joinable())
        closer.join();
}
