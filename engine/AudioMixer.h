#ifndef AUDIOMIXER_H
#define AUDIOMIXER_H

#include "AudioClip.h"

#include <QtGlobal>

#include <array>
#include <atomic>
#include <chrono>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

class WakeSignal;

// Mixes one verse and a few cues, all decoded beforehand, into the output
// stream, and keeps the output's clock: the number of frames the device has
// taken so far. A verse is placed at an exact frame of that clock, so the
// silence before it is counted in samples, not in sleeps.
//
// render() is the only work of the audio thread: it copies and adds
// samples, never decodes, allocates or frees, and wakes other threads
// without a lock (WakeSignal). The other functions are for the other
// threads; they hold the mixer's short lock only to copy a few fields,
// never while allocating or freeing.
class AudioMixer
{
public:
    using VerseId = quint64; // 0 = none
    static constexpr int MaxCues = 8;
    static constexpr int MaxAlarms = 8;

    AudioMixer();
    AudioMixer(const AudioMixer &) = delete;
    AudioMixer &operator=(const AudioMixer &) = delete;

    // Places the verse at the given frame of the output clock (a frame the
    // device has taken already means: at once). It replaces any verse.
    VerseId playVerse(std::shared_ptr<const AudioClip> clip, qint64 startFrame);
    // Silences the verse if it is that one (0: whichever plays).
    void stopVerse(VerseId id = 0);
    // A cue mixed over whatever sounds, from the next frame; dropped when
    // MaxCues are sounding already.
    bool addCue(std::shared_ptr<const AudioClip> clip);
    void stopAll();

    // Volume of the verses (cues keep theirs), 0.0 .. 1.0.
    void setVolume(float level);
    float volume() const;

    // Frames taken by the device so far: the first frame not yet rendered.
    qint64 renderedFrames() const;
    // Placed and not yet wholly rendered.
    bool verseActive(VerseId id) const;
    bool anyVerseActive() const;
    // Its first sample has been taken by the device.
    bool verseStarted(VerseId id) const;
    // The frame the verse starts at; -1 if it is not the verse placed.
    qint64 verseStart(VerseId id) const;
    // Milliseconds until the device renders that frame (negative: that long
    // ago). On a device with a wall clock it is reckoned from the latest
    // callback, finer than the device's buffers; on one without (a test's),
    // the frames rendered are the only time there is.
    qint64 msUntilFrame(qint64 frame) const;
    // Whether the device plays in real time (see msUntilFrame).
    void setWallClock(bool wallClock);
    bool hasWallClock() const;
    // Frame just after the last sample of the last verse that ran out; -1 if none did.
    qint64 lastVerseEnd() const;

    // Alarms on the clock: the audio thread wakes an alarm's signal once it
    // has rendered the alarm's frame. addAlarm() gives a slot, -1 when all
    // are taken; once removeAlarm() returns the signal is no longer touched.
    int addAlarm(WakeSignal *signal);
    void removeAlarm(int slot);
    // Wakes the slot's signal when the frame before `frame` has been
    // rendered (renderedFrames() >= frame); replaces its previous frame.
    // A frame rendered already is the caller's to notice.
    void setAlarm(int slot, qint64 frame);
    void clearAlarm(int slot);

    // The device's callback: fills frames * 2 interleaved samples.
    void render(float *out, int frames);

private:
    struct Verse
    {
        std::shared_ptr<const AudioClip> clip;
        VerseId id = 0;
        qint64 start = 0;
        bool started = false;
        bool done = true;
    };
    struct Cue
    {
        std::shared_ptr<const AudioClip> clip;
        qint64 position = 0;
        bool done = false;
    };
    struct Alarm
    {
        std::atomic<WakeSignal *> signal {nullptr};
        std::atomic<qint64> frame {std::numeric_limits<qint64>::max()};
    };

    void wakeAlarms(qint64 rendered);
    // Waits until the audio thread is out of wakeAlarms().
    void waitForAudioThread() const;

    mutable std::mutex mutex;
    Verse verse;
    std::vector<Cue> cues; // reserved for MaxCues: render never allocates
    VerseId nextId = 1;
    qint64 rendered = 0;
    qint64 lastEnd = -1;
    qint64 anchorFrame = 0; // first frame of the latest callback, and when it came
    std::chrono::steady_clock::time_point anchorTime;
    bool anchored = false;
    float level = 1.0f;
    std::atomic_bool wallClock {true};

    // Read by the audio thread without a lock; an alarm removed waits until
    // the audio thread no longer uses it.
    std::array<Alarm, MaxAlarms> alarms;
    std::atomic_int audioThreadInside {0};
};

#endif
