#include "AudioOutput.h"

#include "Logging.h"

#include <QFile>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QMutexLocker>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <utility>

namespace {

constexpr int Frequency = 44100;
constexpr int Channels = 2;
constexpr int ChunkSize = 2048;
constexpr int CueChannels = 8;

struct Cue {
    int channel;
    Mix_Chunk *chunk;
};

// The whole state of the output; every access holds mutex.
struct Output {
    QMutex mutex;
    int initCount = 0;         // Init() calls not yet matched by Free()
    bool cuesHoldDevice = false; // a cue opened the device, or kept it open after the last Free()
    bool deviceOpen = false;
    bool exitHandlerRegistered = false;
    float volume = 1.0f;
    AudioOutput::Stream nextStream = 1;
    AudioOutput::Stream playing = 0; // the stream last started as music
    QHash<AudioOutput::Stream, Mix_Music *> streams;
    QList<Cue> cues;            // chunks started and not yet freed
    std::function<void(const QString &)> cueObserver;
};

Output &output()
{
    static Output instance;
    return instance;
}

// The music-finished callback has a lock of its own: SDL calls the hook with
// its audio lock held, possibly while another thread holds Output::mutex and
// waits for that audio lock, so the hook must not take Output::mutex.
struct MusicFinished {
    QMutex mutex;
    std::function<void()> callback;
};

MusicFinished &musicFinished()
{
    static MusicFinished instance;
    return instance;
}

void onMusicFinished()
{
    MusicFinished &hook = musicFinished();
    const QMutexLocker locker(&hook.mutex);
    if (hook.callback)
        hook.callback();
}

void applyVolume(const Output &out)
{
    Mix_VolumeMusic(static_cast<int>(out.volume * MIX_MAX_VOLUME));
}

bool openDevice(Output &out)
{
    if (out.deviceOpen)
        return true;
    // SDL would otherwise turn SIGINT and SIGTERM into events that nobody
    // reads, and the program could no longer be ended by a signal.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        qCWarning(lcAudio, "cannot open the audio device: %s", SDL_GetError());
        return false;
    }
    Mix_Init(MIX_INIT_OGG);
    if (Mix_OpenAudio(Frequency, MIX_DEFAULT_FORMAT, Channels, ChunkSize) != 0) {
        qCWarning(lcAudio, "cannot open the audio device: %s", Mix_GetError());
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(CueChannels);
    Mix_HookMusicFinished(&onMusicFinished);
    out.deviceOpen = true;
    applyVolume(out);
    return true;
}

// Frees the chunks whose channel has fallen silent (all of them if force).
void freeFinishedCues(Output &out, bool force)
{
    for (qsizetype i = out.cues.size() - 1; i >= 0; --i) {
        const Cue cue = out.cues.at(i);
        if (force || Mix_Playing(cue.channel) == 0) {
            if (force)
                Mix_HaltChannel(cue.channel);
            Mix_FreeChunk(cue.chunk);
            out.cues.removeAt(i);
        }
    }
}

void closeDevice(Output &out)
{
    if (!out.deviceOpen)
        return;
    Mix_HaltMusic();
    for (Mix_Music *music : std::as_const(out.streams))
        Mix_FreeMusic(music);
    out.streams.clear();
    out.playing = 0;
    freeFinishedCues(out, true);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_Quit();
    out.deviceOpen = false;
    out.cuesHoldDevice = false;
}

// At process exit: close a device that cues kept open.
void closeAtExit()
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    if (out.initCount == 0)
        closeDevice(out);
}

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
    const QMutexLocker locker(&out.mutex);
    ++out.initCount;
    openDevice(out);
}

void AudioOutput::Free()
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    if (out.initCount == 0)
        return;
    if (--out.initCount > 0 || !out.deviceOpen)
        return;
    freeFinishedCues(out, false);
    if (out.cuesHoldDevice || !out.cues.isEmpty()) {
        // Cues still sound: leave the device to them until the process ends.
        Mix_HaltMusic();
        for (Mix_Music *music : std::as_const(out.streams))
            Mix_FreeMusic(music);
        out.streams.clear();
        out.playing = 0;
        out.cuesHoldDevice = true;
        registerExitHandler(out);
        return;
    }
    closeDevice(out);
}

void AudioOutput::ThreadEnded()
{
    SDL_TLSCleanup();
}

AudioOutput::Stream AudioOutput::StreamCreateFile(const QString &path)
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    if (!out.deviceOpen || path.isEmpty())
        return 0;
    Mix_Music *music = Mix_LoadMUS(QFile::encodeName(path).constData());
    if (!music) {
        qCWarning(lcAudio, "cannot open or decode %s: %s", qUtf8Printable(path), Mix_GetError());
        return 0;
    }
    Stream id = out.nextStream++;
    if (id == 0 || out.streams.contains(id)) { // after wrapping round
        do {
            id = out.nextStream++;
        } while (id == 0 || out.streams.contains(id));
    }
    out.streams.insert(id, music);
    return id;
}

bool AudioOutput::ChannelPlay(Stream stream)
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    Mix_Music *music = out.streams.value(stream, nullptr);
    if (!music)
        return false;
    if (Mix_PlayMusic(music, 0) != 0)
        return false;
    out.playing = stream;
    return true;
}

bool AudioOutput::ChannelIsActive(Stream stream)
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    return stream != 0 && stream == out.playing && Mix_PlayingMusic() != 0;
}

bool AudioOutput::IsMusicPlaying()
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    return out.deviceOpen && Mix_PlayingMusic() != 0;
}

void AudioOutput::ChannelStop(Stream stream)
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    if (stream != 0 && stream == out.playing) {
        Mix_HaltMusic();
        out.playing = 0;
    }
}

void AudioOutput::StreamFree(Stream stream)
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    Mix_Music *music = out.streams.take(stream);
    if (!music)
        return;
    if (stream == out.playing) {
        Mix_HaltMusic();
        out.playing = 0;
    }
    Mix_FreeMusic(music);
}

void AudioOutput::SetVolume(float level)
{
    if (!(level >= 0.0f)) // NaN as well
        level = 0.0f;
    if (level > 1.0f)
        level = 1.0f;
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    out.volume = level;
    if (out.deviceOpen)
        applyVolume(out);
}

float AudioOutput::GetVolume()
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    return out.volume;
}

void AudioOutput::SetMusicFinishedCallback(std::function<void()> callback)
{
    MusicFinished &hook = musicFinished();
    const QMutexLocker locker(&hook.mutex);
    hook.callback = std::move(callback);
}

void AudioOutput::PlayCue(const QString &fileName)
{
    Output &out = output();
    std::function<void(const QString &)> observer;
    {
        const QMutexLocker locker(&out.mutex);
        observer = out.cueObserver;
        if (!out.deviceOpen) {
            if (openDevice(out)) {
                out.cuesHoldDevice = true;
                registerExitHandler(out);
            }
        }
        if (out.deviceOpen && !fileName.isEmpty()) {
            freeFinishedCues(out, false);
            Mix_Chunk *chunk = Mix_LoadWAV(QFile::encodeName(fileName).constData());
            if (chunk) {
                const int channel = Mix_PlayChannel(-1, chunk, 0);
                if (channel < 0)
                    Mix_FreeChunk(chunk);
                else
                    out.cues.append({channel, chunk});
            }
        }
    }
    if (observer)
        observer(fileName);
}

void AudioOutput::SetCueObserver(std::function<void(const QString &)> observer)
{
    Output &out = output();
    const QMutexLocker locker(&out.mutex);
    out.cueObserver = std::move(observer);
}
