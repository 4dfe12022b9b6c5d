#include "AudioMixer.h"

#include "WakeSignal.h"

#include <algorithm>
#include <thread>

namespace {
constexpr int C = AudioClip::Channels;
constexpr qint64 NoFrame = std::numeric_limits<qint64>::max();
} // namespace

AudioMixer::AudioMixer()
{
    cues.reserve(MaxCues);
}

AudioMixer::VerseId AudioMixer::playVerse(std::shared_ptr<const AudioClip> clip, qint64 startFrame)
{
    std::shared_ptr<const AudioClip> old; // released after the lock
    const std::lock_guard<std::mutex> lock(mutex);
    old = std::move(verse.clip);
    verse = Verse {};
    if (!clip || clip->frames() == 0)
        return 0;
    const VerseId id = nextId++;
    verse.clip = std::move(clip);
    verse.id = id;
    verse.start = std::max(startFrame, rendered);
    verse.done = false;
    return id;
}

void AudioMixer::stopVerse(VerseId id)
{
    std::shared_ptr<const AudioClip> old; // released after the lock
    const std::lock_guard<std::mutex> lock(mutex);
    if (id != 0 && verse.id != id)
        return;
    old = std::move(verse.clip);
    verse = Verse {};
}

bool AudioMixer::addCue(std::shared_ptr<const AudioClip> clip)
{
    if (!clip || clip->frames() == 0)
        return false;
    std::vector<std::shared_ptr<const AudioClip>> finished; // released after the lock
    finished.reserve(MaxCues);
    const std::lock_guard<std::mutex> lock(mutex);
    for (auto it = cues.begin(); it != cues.end();) {
        if (it->done) {
            finished.push_back(std::move(it->clip));
            it = cues.erase(it);
        } else {
            ++it;
        }
    }
    if (cues.size() >= MaxCues)
        return false;
    cues.push_back(Cue {std::move(clip), 0, false}); // within the capacity reserved
    return true;
}

void AudioMixer::stopAll()
{
    std::vector<Cue> oldCues; // released after the lock
    oldCues.reserve(MaxCues);
    std::shared_ptr<const AudioClip> old;
    const std::lock_guard<std::mutex> lock(mutex);
    old = std::move(verse.clip);
    verse = Verse {};
    oldCues.swap(cues); // both keep a capacity of MaxCues
}

void AudioMixer::setVolume(float value)
{
    const std::lock_guard<std::mutex> lock(mutex);
    level = value;
}

float AudioMixer::volume() const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return level;
}

qint64 AudioMixer::renderedFrames() const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return rendered;
}

bool AudioMixer::verseActive(VerseId id) const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return id != 0 && verse.id == id && !verse.done;
}

bool AudioMixer::anyVerseActive() const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return verse.id != 0 && !verse.done;
}

bool AudioMixer::verseStarted(VerseId id) const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return id != 0 && verse.id == id && verse.started;
}

qint64 AudioMixer::verseStart(VerseId id) const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return id != 0 && verse.id == id ? verse.start : -1;
}

qint64 AudioMixer::msUntilFrame(qint64 frame) const
{
    const std::lock_guard<std::mutex> lock(mutex);
    if (!wallClock)
        return (frame - rendered) * 1000 / AudioClip::Rate;
    if (!anchored)
        return 0;
    const auto due =
        anchorTime + std::chrono::microseconds((frame - anchorFrame) * 1000000 / AudioClip::Rate);
    return std::chrono::duration_cast<std::chrono::milliseconds>(due
                                                                 - std::chrono::steady_clock::now())
        .count();
}

void AudioMixer::setWallClock(bool value)
{
    wallClock = value;
}

bool AudioMixer::hasWallClock() const
{
    return wallClock;
}

qint64 AudioMixer::lastVerseEnd() const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return lastEnd;
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
    // The audio thread is inside for a few microseconds at most.
    while (audioThreadInside.load() != 0)
        std::this_thread::yield();
}

void AudioMixer::wakeAlarms(qint64 renderedNow)
{
    audioThreadInside.fetch_add(1);
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
    audioThreadInside.fetch_sub(1);
}

void AudioMixer::render(float *out, int frames)
{
    std::fill(out, out + static_cast<qsizetype>(frames) * C, 0.0f);
    qint64 end = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        const qint64 begin = rendered;
        end = begin + frames;
        if (verse.clip && !verse.done) {
            const qint64 verseEnd = verse.start + verse.clip->frames();
            const qint64 from = std::max(begin, verse.start);
            const qint64 to = std::min(end, verseEnd);
            const float *source = verse.clip->samples.data();
            for (qint64 f = from; f < to; ++f) {
                for (int c = 0; c < C; ++c)
                    out[(f - begin) * C + c] += source[(f - verse.start) * C + c] * level;
            }
            if (!verse.started && end > verse.start)
                verse.started = true;
            if (end >= verseEnd) {
                // The clip itself is released by the next call from another
                // thread: freeing memory has no place on the audio thread.
                verse.done = true;
                lastEnd = verseEnd;
            }
        }
        for (Cue &cue : cues) {
            if (cue.done)
                continue;
            const qint64 count = std::min<qint64>(frames, cue.clip->frames() - cue.position);
            const float *source = cue.clip->samples.data() + cue.position * C;
            for (qint64 i = 0; i < count * C; ++i)
                out[i] += source[i];
            cue.position += count;
            cue.done = cue.position >= cue.clip->frames();
        }
        rendered = end;
        anchorFrame = begin;
        anchorTime = std::chrono::steady_clock::now();
        anchored = true;
    }
    wakeAlarms(end);
}
