#include "AudioMixer.h"

#include <algorithm>

namespace {
constexpr int C = AudioClip::Channels;
}

AudioMixer::VerseId AudioMixer::playVerse(std::shared_ptr<const AudioClip> clip, qint64 startFrame)
{
    std::shared_ptr<const AudioClip> old;
    VerseId id = 0;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        old = std::move(verse.clip); // released below, outside the lock
        verse = Verse {};
        if (!clip || clip->frames() == 0)
            return 0;
        id = nextId++;
        verse.clip = std::move(clip);
        verse.id = id;
        verse.start = std::max(startFrame, rendered);
        verse.done = false;
    }
    return id;
}

void AudioMixer::stopVerse(VerseId id)
{
    std::shared_ptr<const AudioClip> old;
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
    std::vector<std::shared_ptr<const AudioClip>> finished;
    const std::lock_guard<std::mutex> lock(mutex);
    if (cues.capacity() < MaxCues)
        cues.reserve(MaxCues);
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
    cues.push_back(Cue {std::move(clip), 0, false});
    return true;
}

void AudioMixer::stopAll()
{
    std::vector<Cue> oldCues;
    std::shared_ptr<const AudioClip> old;
    const std::lock_guard<std::mutex> lock(mutex);
    old = std::move(verse.clip);
    verse = Verse {};
    oldCues.reserve(MaxCues);
    oldCues.swap(cues);
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
    if (!anchored)
        return 0;
    const auto due =
        anchorTime + std::chrono::microseconds((frame - anchorFrame) * 1000000 / AudioClip::Rate);
    return std::chrono::duration_cast<std::chrono::milliseconds>(due
                                                                 - std::chrono::steady_clock::now())
        .count();
}

qint64 AudioMixer::lastVerseEnd() const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return lastEnd;
}

void AudioMixer::setVerseListener(std::function<void()> callback)
{
    const std::lock_guard<std::mutex> lock(listenerMutex);
    listener = std::move(callback);
}

void AudioMixer::render(float *out, int frames)
{
    std::fill(out, out + static_cast<qsizetype>(frames) * C, 0.0f);
    bool changed = false;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        const qint64 begin = rendered;
        const qint64 end = begin + frames;
        if (verse.clip && !verse.done) {
            const qint64 verseEnd = verse.start + verse.clip->frames();
            const qint64 from = std::max(begin, verse.start);
            const qint64 to = std::min(end, verseEnd);
            const float *source = verse.clip->samples.data();
            for (qint64 f = from; f < to; ++f) {
                for (int c = 0; c < C; ++c)
                    out[(f - begin) * C + c] += source[(f - verse.start) * C + c] * level;
            }
            if (!verse.started && end > verse.start) {
                verse.started = true;
                changed = true;
            }
            if (end >= verseEnd) {
                // The clip itself is released by the next call from another
                // thread: freeing memory has no place on the audio thread.
                verse.done = true;
                lastEnd = verseEnd;
                changed = true;
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
    if (changed) {
        const std::lock_guard<std::mutex> lock(listenerMutex);
        if (listener)
            listener();
    }
}
