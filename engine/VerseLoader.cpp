#include "VerseLoader.h"

#include "AudioDecoder.h"
#include "Logging.h"
#include "VerseShaping.h"
#include "WakeSignal.h"

#include <mutex>

struct VerseLoader::Shared
{
    std::mutex mutex;
    bool finished = false;
    std::shared_ptr<const AudioClip> clip;
    std::function<void()> onDone; // cleared when the loader goes away
};

VerseLoader::VerseLoader(const QString &path, const AudioShaping &shaping,
                         std::function<void()> onDone)
    : filePath(path)
    , shared(std::make_shared<Shared>())
{
    shared->onDone = std::move(onDone);
    thread = std::thread([state = shared, path, shaping] {
        std::shared_ptr<AudioClip> decoded = AudioDecoder::decodeFile(path);
        if (decoded)
            applyShaping(*decoded, shaping);
        else
            qCWarning(lcAudio, "cannot open or decode %s", qUtf8Printable(path));
        const std::lock_guard<std::mutex> lock(state->mutex);
        state->clip = std::move(decoded);
        state->finished = true;
        if (state->onDone)
            state->onDone();
    });
}

VerseLoader::~VerseLoader()
{
    {
        const std::lock_guard<std::mutex> lock(shared->mutex);
        shared->onDone = nullptr;
    }
    thread.join();
}

bool VerseLoader::finished() const
{
    const std::lock_guard<std::mutex> lock(shared->mutex);
    return shared->finished;
}

std::shared_ptr<const AudioClip> VerseLoader::clip() const
{
    const std::lock_guard<std::mutex> lock(shared->mutex);
    return shared->clip;
}
