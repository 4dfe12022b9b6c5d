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

class WakeSignal;

// Mixes one verse and a few cues, all decoded beforehand, into the output
// stream, and keeps the output's clock: the number of frames the device has
// taken so far. A verse is placed at an exact frame of that clock, so the
// silence before it is counted in samples, not in sleeps.
//
// render() is the only work of the audio thread: it copies and adds
// samples, never decodes, allocates, frees or waits, and wakes other threads
// without a lock (WakeSignal). It takes no lock at all: the clock is kept in
// atomics, and a verse or cue is handed over as a pointer swapped
// atomically, the old one freed by the handing thread once the audio thread
// is out of render(). The other functions serialise among themselves with a
// lock the audio thread never takes.
//
// A device that writes ahead of what sounds (a sound server holding a large
// buffer) may rewind the clock to a frame not yet heard and render again
// from there, so that a verse placed at once sounds at once; it then keeps
// the clock's wall-time anchor itself (setClockAnchor).
class AudioMixer
{
public:
    using VerseId = quint64; // 0 = none
    static constexpr int MaxCues = 8;
    static constexpr int MaxAlarms = 8;

    AudioMixer();
    ~AudioMixer();
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

    // For a device that writes ahead. The device, not render(), tells the
    // clock when a frame is rendered: frame `frame` counts as rendered at
    // `time` (latencyFrames() before it sounds).
    void setClockAnchor(qint64 frame, std::chrono::steady_clock::time_point time);
    void setDeviceKeepsAnchor(bool keeps);
    // Moves the clock back to `frame` (not below what has sounded: the
    // device's to know), so that render() fills the frames from there again
    // with what is placed now. Called between two render() calls, never
    // concurrently with one. Verses and cues are placed by frame, so
    // rendering again gives the same samples, bar what was changed.
    void rewindTo(qint64 frame);
    // A device that can write again what it holds ahead. A change (verse
    // placed or stopped, cue added) runs inside lock() .. unlock(), which
    // keep the device from rendering meanwhile; it reaches back to
    // earliestFrame() (not yet heard), and rewrite() renders again from the
    // first frame changed. Called on the changing thread, never from
    // render(). setRewriter() returns once no change uses the one it
    // replaces (nullptr: none), so the device may go then.
    class Rewriter
    {
    public:
        virtual ~Rewriter() = default;
        virtual void lock() = 0;
        virtual void unlock() = 0;
        virtual qint64 earliestFrame() = 0;
        virtual void rewrite(qint64 fromFrame) = 0;
    };
    void setRewriter(Rewriter *rewriter);

private:
    // Handed to the audio thread whole; only the flags change afterwards.
    struct Verse
    {
        std::shared_ptr<const AudioClip> clip;
        VerseId id = 0;
        qint64 start = 0;
        std::atomic_bool done {false};
    };
    struct Cue
    {
        std::shared_ptr<const AudioClip> clip;
        qint64 start = 0; // frame of the clock its first sample takes
        std::atomic_bool done {false};
    };
    struct Alarm
    {
        std::atomic<WakeSignal *> signal {nullptr};
        std::atomic<qint64> frame {std::numeric_limits<qint64>::max()};
    };

    void wakeAlarms(qint64 rendered);
    // Waits until the audio thread is out of render() and wakeAlarms().
    void waitForAudioThread() const;
    // Hands the verse over (nullptr: none) and frees the one it replaces;
    // the caller holds mutex.
    void swapVerse(std::unique_ptr<Verse> next);
    void freeCue(int slot);
    // Where a change takes effect; the caller holds mutex (and the rewriter).
    qint64 changeFrame() const;

    // Serialises the other threads; never taken by render().
    mutable std::mutex mutex;
    std::atomic<Verse *> verse {nullptr}; // owned; replaced under mutex
    std::array<std::atomic<Cue *>, MaxCues> cues {}; // owned; replaced under mutex
    VerseId nextId = 1; // under mutex
    std::atomic<qint64> rendered {0};
    // The steady clock's nanoseconds at which frame 0 was (or would have
    // been) rendered: one number, so a reader never sees half an update.
    std::atomic<qint64> frameZeroNs {0};
    std::atomic_bool anchored {false};
    std::atomic_bool deviceKeepsAnchor {false};
    std::atomic<float> level {1.0f};
    std::atomic_bool wallClock {true};
    class RewriterLock;
    std::atomic<Rewriter *> rewriter {nullptr};
    mutable std::atomic_int rewriterUsers {0};

    // Read by the audio thread without a lock; an alarm removed, a verse or
    // a cue replaced waits until the audio thread no longer uses it.
    std::array<Alarm, MaxAlarms> alarms;
    std::atomic_int audioThreadInside {0};
};

#endif
