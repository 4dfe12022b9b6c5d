#include "AudioOutput.h"

#include "AudioDecoder.h"
#include "AudioDevice.h"
#include "AudioMixer.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <chrono>
#include <cstdlib>
#include <future>
#include <mutex>
#include <utility>
#include <vector>

namespace {

// The mixer lives for the whole process (it keeps the clock and the volume
// across reopenings of the device); it has a lock of its own.
AudioMixer &mixer()
{
    static AudioMixer instance;
    return instance;
}

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
        workers.finish();
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
    // Last, so destroyed first: no work runs once the rest goes.
    DeviceWorkers workers;
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

// Opens the device on a worker; waits for it at most `wait`. The caller
// holds no lock of the output.
bool openOnWorker(Output &out, std::chrono::milliseconds wait)
{
    auto result = std::make_shared<std::promise<bool>>();
    std::future<bool> opened = result->get_future();
    out.workers.run([&out, result] {
        const QMutexLocker deviceLocker(&out.deviceMutex);
        result->set_value(openDevice(out));
    });
    return opened.wait_for(wait) == std::future_status::ready && opened.get();
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
    {
        const QMutexLocker locker(&out.mutex);
        ++out.initCount;
    }
    openOnWorker(out, StartupOpenWait);
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
    {
        const QMutexLocker locker(&out.mutex);
        if (out.initCount == 0 && !out.cuesHoldDevice)
            return false;
        if (out.open)
            return true;
    }
    return openOnWorker(out, StartOpenWait);
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
    out.workers.run([&out, fileName] {
        bool open = false;
        {
            const QMutexLocker deviceLocker(&out.deviceMutex);
            open = openDevice(out);
            const QMutexLocker locker(&out.mutex);
            if (open) {
                // A cue may still sound when the last Free() comes: it
                // keeps the device until the process ends.
                out.cuesHoldDevice = true;
                registerExitHandler(out);
            }
        }
        if (open) // a short local .wav: decoded here, outside the locks
            mixer().addCue(AudioDecoder::decodeFile(fileName));
    });
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
