#include "AudioMixer.h"

#include "WakeSignal.h"

#include <algorithm>
#include <thread>

namespace {
constexpr int C = AudioClip::Channels;
constexpr qint64 NoFrame = std::numeric_limits<qint64>::max();

qint64 nsOf(std::chrono::steady_clock::time_point time)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
}

qint64 framesToNs(qint64 frames)
{
    return frames * 1000000000 / AudioClip::Rate;
}

} // namespace

// Holds the rewriter (if any) for one change, taken before the mixer's
// lock; setRewriter() waits for every holder to let go.
class AudioMixer::RewriterLock
{
public:
    explicit RewriterLock(const AudioMixer &mixer) : users(mixer.rewriterUsers)
    {
        users.fetch_add(1);
        held = mixer.rewriter.load();
        if (held)
            held->lock();
    }
    ~RewriterLock()
    {
        if (held)
            held->unlock();
        users.fetch_sub(1);
    }
    RewriterLock(const RewriterLock &) = delete;
    RewriterLock &operator=(const RewriterLock &) = delete;
    Rewriter *device() const { return held; }

private:
    std::atomic_int &users;
    Rewriter *held = nullptr;
};

AudioMixer::AudioMixer() = default;

AudioMixer::~AudioMixer()
{
    delete verse.load();
    for (auto &cue : cues)
        delete cue.load();
}

void AudioMixer::setRewriter(Rewriter *value)
{
    rewriter = value;
    while (rewriterUsers.load() != 0) // a change under way still uses the old one
        std::this_thread::yield();
}

qint64 AudioMixer::changeFrame() const
{
    const qint64 now = rendered.load();
    Rewriter *device = rewriter.load(); // held by the caller
    return device ? std::min(device->earliestFrame(), now) : now;
}

void AudioMixer::swapVerse(std::unique_ptr<Verse> next)
{
    std::unique_ptr<Verse> old(verse.exchange(next.release()));
    waitForAudioThread();
    // old (and its clip, unless a stream still holds it) is freed here, on
    // this thread; the lock only keeps the other changing threads out.
}

AudioMixer::VerseId AudioMixer::playVerse(std::shared_ptr<const AudioClip> clip, qint64 startFrame)
{
    const RewriterLock rewriterLock(*this);
    Rewriter *device = rewriterLock.device();
    qint64 start = 0;
    VerseId id = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        const qint64 earliest = changeFrame();
        start = earliest;
        if (clip && clip->frames() > 0) {
            auto next = std::make_unique<Verse>();
            id = nextId++;
            next->clip = std::move(clip);
            next->id = id;
            next->start = start = std::max(startFrame, earliest);
            swapVerse(std::move(next));
        } else {
            swapVerse(nullptr);
        }
    }
    if (device && start < rendered.load())
        device->rewrite(start);
    return id;
}

void AudioMixer::stopVerse(VerseId id)
{
    const RewriterLock rewriterLock(*this);
    Rewriter *device = rewriterLock.device();
    qint64 from = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        const Verse *current = verse.load();
        if (!current || (id != 0 && current->id != id))
            return;
        from = changeFrame(); // a verse rendered whole may still be held ahead
        swapVerse(nullptr);
    }
    if (device && from < rendered.load())
        device->rewrite(from);
}

void AudioMixer::freeCue(int slot)
{
    std::unique_ptr<Cue> old(cues[size_t(slot)].exchange(nullptr));
    if (old)
        waitForAudioThread();
}

bool AudioMixer::addCue(std::shared_ptr<const AudioClip> clip)
{
    if (!clip || clip->frames() == 0)
        return false;
    const RewriterLock rewriterLock(*this);
    Rewriter *device = rewriterLock.device();
    qint64 start = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        int freeSlot = -1;
        for (int slot = 0; slot < MaxCues; ++slot) {
            const Cue *cue = cues[size_t(slot)].load();
            if (!cue || cue->done.load()) {
                freeCue(slot);
                freeSlot = freeSlot < 0 ? slot : freeSlot;
            }
        }
        if (freeSlot < 0)
            return false;
        auto cue = std::make_unique<Cue>();
        cue->clip = std::move(clip);
        cue->start = start = changeFrame();
        cues[size_t(freeSlot)].store(cue.release());
    }
    if (device && start < rendered.load())
        device->rewrite(start);
    return true;
}

void AudioMixer::stopAll()
{
    const RewriterLock rewriterLock(*this);
    Rewriter *device = rewriterLock.device();
    qint64 from = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        from = changeFrame();
        swapVerse(nullptr);
        for (int slot = 0; slot < MaxCues; ++slot)
            freeCue(slot);
    }
    if (device && from < rendered.load())
        device->rewrite(from);
}

void AudioMixer::setVolume(float value)
{
    level = value;
}

float AudioMixer::volume() const
{
    return level;
}

qint64 AudioMixer::renderedFrames() const
{
    return rendered;
}

bool AudioMixer::verseActive(VerseId id) const
{
    const std::lock_guard<std::mutex> lock(mutex); // keeps the verse from being freed
    const Verse *current = verse.load();
    return id != 0 && current && current->id == id && !current->done;
}

bool AudioMixer::anyVerseActive() const
{
    const std::lock_guard<std::mutex> lock(mutex);
    const Verse *current = verse.load();
    return current && !current->done;
}

qint64 AudioMixer::verseStart(VerseId id) const
{
    const std::lock_guard<std::mutex> lock(mutex);
    const Verse *current = verse.load();
    return id != 0 && current && current->id == id ? current->start : -1;
}

qint64 AudioMixer::msUntilFrame(qint64 frame) const
{
    if (!wallClock)
        return (frame - rendered) * 1000 / AudioClip::Rate;
    if (!anchored)
        return 0;
    const qint64 dueNs = frameZeroNs.load() + framesToNs(frame);
    return (dueNs - nsOf(std::chrono::steady_clock::now())) / 1000000;
}

void AudioMixer::setWallClock(bool value)
{
    wallClock = value;
}

bool AudioMixer::hasWallClock() const
{
    return wallClock;
}

void AudioMixer::setClockAnchor(qint64 frame, std::chrono::steady_clock::time_point time)
{
    frameZeroNs = nsOf(time) - framesToNs(frame);
    anchored = true;
}

void AudioMixer::setDeviceKeepsAnchor(bool keeps)
{
    deviceKeepsAnchor = keeps;
}

void AudioMixer::rewindTo(qint64 frame)
{
    rendered = std::min(frame, rendered.load());
}

int AudioMixer::addAlarm(WakeSignal *signal)
{
    for (int slot = 0; slot < MaxAlarms; ++slot) {
        WakeSignal *none = nullptr; // a free slot's frame is NoFrame already
        if (alarms[size_t(slot)].signal.compare_exchange_strong(none, signal))
            return slot;
    }
    return -1;
}

void AudioMixer::removeAlarm(int slot)
{
    if (slot < 0 || slot >= MaxAlarms)
        return;
    alarms[size_t(slot)].frame = NoFrame;
    alarms[size_t(slot)].signal = nullptr;
    waitForAudioThread();
}

void AudioMixer::setAlarm(int slot, qint64 frame)
{
    if (slot >= 0 && slot < MaxAlarms)
        alarms[size_t(slot)].frame = frame;
}

void AudioMixer::clearAlarm(int slot)
{
    setAlarm(slot, NoFrame);
}

void AudioMixer::waitForAudioThread() const
{
    // The audio thread is inside for a few microseconds at most. The
    // counter is raised before it loads a pointer (both sequentially
    // consistent), so a pointer swapped out before this sees 0 is no
    // longer in use.
    while (audioThreadInside.load() != 0)
        std::this_thread::yield();
}

void AudioMixer::wakeAlarms(qint64 renderedNow)
{
    for (Alarm &alarm : alarms) {
        qint64 due = alarm.frame.load();
        if (due > renderedNow)
            continue;
        // A frame set meanwhile is left for a later callback.
        if (!alarm.frame.compare_exchange_strong(due, NoFrame))
            continue;
        if (WakeSignal *signal = alarm.signal.load())
            signal->wake();
    }
}

void AudioMixer::render(float *out, int frames)
{
    std::fill(out, out + static_cast<qsizetype>(frames) * C, 0.0f);
    audioThreadInside.fetch_add(1);
    const qint64 begin = rendered.load();
    const qint64 end = begin + frames;
    // Verses and cues are placed by frame: after a rewind the same frames
    // come out again, a verse or cue rendered whole included.
    if (Verse *current = verse.load()) {
        const float gain = level.load();
        const qint64 verseEnd = current->start + current->clip->frames();
        const qint64 from = std::max(begin, current->start);
        const qint64 to = std::min(end, verseEnd);
        const float *source = current->clip->samples.data();
        for (qint64 f = from; f < to; ++f) {
            for (int c = 0; c < C; ++c)
                out[(f - begin) * C + c] += source[(f - current->start) * C + c] * gain;
        }
        if (end >= verseEnd) {
            // The verse itself is freed by the next change, on another
            // thread: freeing memory has no place on the audio thread.
            current->done = true;
        }
    }
    for (auto &slot : cues) {
        Cue *cue = slot.load();
        if (!cue)
            continue;
        const qint64 cueEnd = cue->start + cue->clip->frames();
        const qint64 from = std::max(begin, cue->start);
        const qint64 to = std::min(end, cueEnd);
        const float *source = cue->clip->samples.data();
        for (qint64 f = from; f < to; ++f) {
            for (int c = 0; c < C; ++c)
                out[(f - begin) * C + c] += source[(f - cue->start) * C + c];
        }
        if (end >= cueEnd)
            cue->done = true;
    }
    rendered = end;
    if (!deviceKeepsAnchor.load())
        setClockAnchor(begin, std::chrono::steady_clock::now());
    wakeAlarms(end);
    audioThreadInside.fetch_sub(1);
}
