#ifndef AUDIOOUTPUT_H
#define AUDIOOUTPUT_H

#include <QString>
#include <QtGlobal>

#include <functional>

// Process-wide audio output over SDL2_mixer. All functions are thread-safe.
//
// Verses are streams: one Ogg file each, played one at a time as SDL_mixer
// music. The memorization timer's cues are .wav chunks mixed over whatever
// plays. A device that cannot be opened is not reported: every stream
// creation then fails like a missing file and cues are not heard.
class AudioOutput
{
public:
    using Stream = quint32; // 0 = none

    // Opens the default output device at 44100 Hz. Reference-counted and
    // idempotent; the window handle is accepted and not needed.
    static void Init(quintptr windowHandle);
    // Releases one Init; the last one closes the device (unless cues that
    // opened it themselves still hold it).
    static void Free();

    // Releases what the audio library keeps for the calling thread (its last
    // error message); a thread that used the output calls it before it ends.
    static void ThreadEnded();

    // Loads an Ogg file; 0 when the file cannot be opened or no device is open.
    static Stream StreamCreateFile(const QString &path);
    // Starts the stream without blocking; false when it did not start.
    static bool ChannelPlay(Stream stream);
    // True while the stream is playing.
    static bool ChannelIsActive(Stream stream);
    // True while any verse sounds, whichever stream it is.
    static bool IsMusicPlaying();
    static void ChannelStop(Stream stream);
    static void StreamFree(Stream stream);

    // Master volume of the verses, 0.0 to 1.0; applies to everything played
    // afterwards and is not stored anywhere.
    static void SetVolume(float level);
    // The level last set, exactly as set (clamped to 0.0..1.0); 1.0 before any set.
    static float GetVolume();

    // Called, from any thread (the audio library's own included), whenever the
    // music ends: run out or stopped. It must only signal, never call back
    // into the output. nullptr removes it.
    static void SetMusicFinishedCallback(std::function<void()> callback);

    // Sound cues of the memorization timer: plays a .wav (bare name = current
    // working directory) asynchronously, mixed over whatever sounds; opens the
    // device itself if needed; returns at once; a missing or broken file is
    // simply not heard.
    static void PlayCue(const QString &fileName);
    // Tests: called with the file name on every PlayCue (nullptr to remove).
    static void SetCueObserver(std::function<void(const QString &)> observer);
};

#endif
