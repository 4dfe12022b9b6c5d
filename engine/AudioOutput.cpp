#include "AudioOutput.h"

#include "AudioDecoder.h"
#include "AudioDevice.h"
#include "AudioMixer.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace {

// A caller (the GUI thread among them) waits this long for the device to
// open; a sound server slower than that leaves it opening on its worker,
// and IsOpen() says when it is open.
constexpr auto StartupOpenWait = std::chrono::milliseconds(500);
constexpr auto StartOpenWait = std::chrono::milliseconds(40);

// Device work (opening, a cue's opening and decoding) on threads of its
// own: a sound server that is slow to answer never holds up the caller.
// Whatever still runs is waited for when the workers go.
class DeviceWorkers
{
public:
    void run(std::function<void()> work)
    {
        const std::lock_guard<std::mutex> lock(mutex);
        std::erase_if(running, [](const std::future<void> &job) {
            return job.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
        });
        running.push_back(std::async(std::launch::async, [job = std::move(work)] {
            job();
            releaseSdlThreadState();
        }));
    }
    void finish()
    {
        std::vector<std::future<void>> finishing;
        {
            const std::lock_guard<std::mutex> lock(mutex);
            finishing.swap(running);
        }
        finishing.clear(); // waits, outside the lock
    }

private:
    std::mutex mutex;
    std::vector<std::future<void>> running; // each waits for its work when destroyed
};

} // namespace

// Opening and closing the device is slow (a sound server may take a while
// to answer): it holds deviceMutex only, which nothing else waits for, so a
// thread asking about streams or the clock never waits for a device being
// opened. Every other access holds mutex, for quick work only (moving a
// decoded clip in and out). deviceMutex is always taken before mutex. The
// mixer has a lock of its own.
struct AudioOutput::State
{
    // First, so destroyed last: it keeps the clock and the volume across
    // reopenings of the device, and the device's callback renders into it
    // until the device is closed.
    AudioMixer mixer;
    QMutex deviceMutex;
    QMutex mutex;
    DeviceMaker makeDevice;
    int initCount = 0; // Init() calls not yet matched by Free()
    bool heldBack = false; // Init() leaves the device closed: see holdBackOpening()
    bool cuesHoldDevice = false; // a cue opened the device, or kept it open after the last Free()
    bool shutDown = false; // for good: see closeForGood()
    bool open = false; // the device is open and its streams can play
    // Replaced only under both mutexes, so that deviceMutex alone keeps it.
    std::unique_ptr<AudioDevice> device;
    AudioOutput::Stream nextStream = 1;
    AudioOutput::Stream playing = 0; // the stream last started
    AudioMixer::VerseId playingVerse = 0;
    QHash<AudioOutput::Stream, std::shared_ptr<const AudioClip>> streams;
    std::thread closer; // closeForGood()'s
    // Last, so destroyed first: no work runs once the rest goes.
    DeviceWorkers workers;

    ~State()
    {
        if (closer.joinable())
            closer.join();
        workers.finish();
        if (device && open)
            device->close(); // before the mixer goes
    }

    void releaseVerses()
    {
        mixer.stopVerse();
        streams.clear();
        playing = 0;
        playingVerse = 0;
    }

    // Opens the device unless it is open; the caller holds deviceMutex only.
    bool openDevice()
    {
        AudioDevice *opening = nullptr;
        {
            const QMutexLocker locker(&mutex);
            if (shutDown)
                return false;
            if (open)
                return true;
            if (!device)
                device = makeDevice();
            opening = device.get();
        }
        if (!opening)
            return false;
        mixer.setWallClock(opening->hasWallClock());
        const bool opened = opening->open(&mixer);
        const QMutexLocker locker(&mutex);
        open = opened;
        return opened;
    }

    // Opens the device on a worker; waits for it at most `wait`. The caller
    // holds no lock of the output.
    bool openOnWorker(std::chrono::milliseconds wait)
    {
        auto result = std::make_shared<std::promise<bool>>();
        std::future<bool> opened = result->get_future();
        workers.run([this, result] {
            const QMutexLocker deviceLocker(&deviceMutex);
            result->set_value(openDevice());
        });
        return opened.wait_for(wait) == std::future_status::ready && opened.get();
    }

    // Closes the device if it is open; the caller holds deviceMutex only.
    void closeDevice()
    {
        {
            const QMutexLocker locker(&mutex);
            if (!open)
                return;
            open = false;
            releaseVerses();
            cuesHoldDevice = false;
        }
        device->close();
        mixer.stopAll();
    }
};

AudioOutput::AudioOutput(DeviceMaker makeDevice)
    : d(std::make_unique<State>())
{
    d->makeDevice = std::move(makeDevice);
}

AudioOutput::AudioOutput()
    : AudioOutput(makeSystemAudioDevice)
{
}

AudioOutput::~AudioOutput()
{
    waitUntilClosed();
}

void AudioOutput::Init(quintptr windowHandle)
{
    Q_UNUSED(windowHandle);
    State &out = *d;
    {
        const QMutexLocker locker(&out.mutex);
        ++out.initCount;
        if (out.heldBack)
            return;
    }
    out.openOnWorker(StartupOpenWait);
}

void AudioOutput::holdBackOpening()
{
    const QMutexLocker locker(&d->mutex);
    d->heldBack = true;
}

bool AudioOutput::isOpeningHeldBack() const
{
    const QMutexLocker locker(&d->mutex);
    return d->heldBack;
}

void AudioOutput::openHeldBack()
{
    State &out = *d;
    {
        const QMutexLocker locker(&out.mutex);
        if (!std::exchange(out.heldBack, false) || out.initCount == 0 || out.open)
            return;
    }
    out.openOnWorker(StartupOpenWait);
}

void AudioOutput::Free()
{
    State &out = *d;
    const QMutexLocker deviceLocker(&out.deviceMutex);
    {
        const QMutexLocker locker(&out.mutex);
        if (out.initCount == 0)
            return;
        if (--out.initCount > 0 || !out.open)
            return;
        if (out.cuesHoldDevice) {
            // Cues may still sound: leave the device to them until the process ends.
            out.releaseVerses();
            return;
        }
    }
    out.closeDevice();
}

bool AudioOutput::IsOpen() const
{
    State &out = *d;
    const QMutexLocker locker(&out.mutex);
    return out.open;
}

bool AudioOutput::Reopen()
{
    State &out = *d;
    {
        const QMutexLocker locker(&out.mutex);
        if (out.initCount == 0 && !out.cuesHoldDevice)
            return false;
        out.heldBack = false; // a Start does not wait for the window
        if (out.open)
            return true;
    }
    return out.openOnWorker(StartOpenWait);
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
    State &out = *d;
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
    State &out = *d;
    const QMutexLocker locker(&out.mutex);
    const std::shared_ptr<const AudioClip> clip = out.streams.value(stream);
    if (!clip || !out.open)
        return false;
    out.playingVerse = out.mixer.playVerse(clip, frame);
    out.playing = out.playingVerse != 0 ? stream : 0;
    return out.playing != 0;
}

bool AudioOutput::ChannelIsActive(Stream stream) const
{
    State &out = *d;
    const QMutexLocker locker(&out.mutex);
    return stream != 0 && stream == out.playing && out.mixer.verseActive(out.playingVerse);
}

qint64 AudioOutput::ChannelStartFrame(Stream stream) const
{
    State &out = *d;
    const QMutexLocker locker(&out.mutex);
    return stream != 0 && stream == out.playing ? out.mixer.verseStart(out.playingVerse) : -1;
}

qint64 AudioOutput::MsUntilFrame(qint64 frame) const
{
    return d->mixer.msUntilFrame(frame);
}

qint64 AudioOutput::OutputLatencyMs() const
{
    State &out = *d;
    const QMutexLocker locker(&out.mutex);
    if (!out.open)
        return 0;
    return qint64(out.device->latencyFrames()) * 1000 / AudioClip::Rate;
}

bool AudioOutput::HasWallClock() const
{
    return d->mixer.hasWallClock();
}

int AudioOutput::AddClockAlarm(WakeSignal *signal)
{
    return d->mixer.addAlarm(signal);
}

void AudioOutput::RemoveClockAlarm(int slot)
{
    d->mixer.removeAlarm(slot);
}

void AudioOutput::SetClockAlarm(int slot, qint64 frame)
{
    if (frame < 0)
        d->mixer.clearAlarm(slot);
    else
        d->mixer.setAlarm(slot, frame);
}

bool AudioOutput::IsMusicPlaying() const
{
    return d->mixer.anyVerseActive();
}

void AudioOutput::ChannelStop(Stream stream)
{
    State &out = *d;
    const QMutexLocker locker(&out.mutex);
    if (stream != 0 && stream == out.playing) {
        out.mixer.stopVerse(out.playingVerse);
        out.playing = 0;
        out.playingVerse = 0;
    }
}

void AudioOutput::StreamFree(Stream stream)
{
    std::shared_ptr<const AudioClip> clip; // freed after the lock is released
    State &out = *d;
    const QMutexLocker locker(&out.mutex);
    clip = out.streams.take(stream);
    if (clip && stream == out.playing) {
        out.mixer.stopVerse(out.playingVerse);
        out.playing = 0;
        out.playingVerse = 0;
    }
}

qint64 AudioOutput::PlayedFrames() const
{
    return d->mixer.renderedFrames();
}

void AudioOutput::SetVolume(float level)
{
    if (!(level >= 0.0f)) // NaN as well
        level = 0.0f;
    if (level > 1.0f)
        level = 1.0f;
    d->mixer.setVolume(level);
}

float AudioOutput::GetVolume() const
{
    return d->mixer.volume();
}

void AudioOutput::PlayCue(const QString &fileName)
{
    State &out = *d;
    out.workers.run([&out, fileName] {
        bool open = false;
        {
            const QMutexLocker deviceLocker(&out.deviceMutex);
            open = out.openDevice();
            const QMutexLocker locker(&out.mutex);
            if (open) {
                // A cue may still sound when the last Free() comes: it
                // keeps the device until the process ends.
                out.cuesHoldDevice = true;
            }
        }
        if (open) // a short local .wav: decoded here, outside the locks
            out.mixer.addCue(AudioDecoder::decodeFile(fileName));
    });
}

void AudioOutput::useDevice(std::unique_ptr<AudioDevice> device)
{
    State &out = *d;
    const QMutexLocker deviceLocker(&out.deviceMutex);
    bool reopen = false;
    {
        const QMutexLocker locker(&out.mutex);
        reopen = out.open || (out.initCount > 0 && !out.heldBack);
    }
    out.closeDevice();
    std::unique_ptr<AudioDevice> previous; // destroyed outside the lock
    {
        const QMutexLocker locker(&out.mutex);
        previous = std::exchange(out.device, std::move(device));
    }
    previous.reset();
    if (reopen)
        out.openDevice();
}

void AudioOutput::closeForGood()
{
    std::unique_ptr<AudioDevice> closing;
    {
        State &out = *d;
        const QMutexLocker deviceLocker(&out.deviceMutex);
        const QMutexLocker locker(&out.mutex);
        if (out.shutDown)
            return;
        out.shutDown = true;
        closing = std::move(out.device);
        if (!out.open)
            closing.reset(); // closed already, or never opened
        out.open = false;
        out.releaseVerses();
        out.cuesHoldDevice = false;
    }
    if (closing) {
        d->closer = std::thread([state = d.get(), device = std::move(closing)] {
            device->close();
            state->mixer.stopAll();
        });
    }
}

void AudioOutput::waitUntilClosed()
{
    if (d->closer.joinable())
        d->closer.join();
}

AudioOutputShutdown::AudioOutputShutdown(AudioOutput &output)
    : output(output)
{
    output.closeForGood();
}

AudioOutputShutdown::~AudioOutputShutdown()
{
    output.waitUntilClosed();
}
