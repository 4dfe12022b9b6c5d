#ifndef VERSELOADER_H
#define VERSELOADER_H

#include "AudioClip.h"

#include <QString>

#include <functional>
#include <memory>

// Decodes one recording on a thread of its own. Whoever waits for it stays
// free to stop or quit: an open that stalls (a slow network share) blocks
// only that thread, which is left behind, its result dropped, when the
// loader is destroyed. The verse is shaped (applyShaping) on that thread too.
class VerseLoader
{
public:
    // Starts decoding path at once; onDone is called from the decoding
    // thread when it has finished (it must only signal), unless the loader
    // has been destroyed by then.
    VerseLoader(const QString &path, std::function<void()> onDone);
    ~VerseLoader();
    VerseLoader(const VerseLoader &) = delete;
    VerseLoader &operator=(const VerseLoader &) = delete;

    const QString &path() const { return filePath; }
    bool finished() const;
    // The decoded verse once finished; nullptr while decoding or when the
    // file is not playable.
    std::shared_ptr<const AudioClip> clip() const;

private:
    struct Shared;
    QString filePath;
    std::shared_ptr<Shared> shared;
};

#endif
