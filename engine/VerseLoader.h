#ifndef VERSELOADER_H
#define VERSELOADER_H

#include "AudioClip.h"
#include "AudioShaping.h"

#include <QString>

#include <functional>
#include <memory>
#include <thread>

// Decodes one recording on a thread of its own, so that whoever waits for
// it stays free to stop or quit. The verse is shaped (applyShaping) on that
// thread too, as the shaping given says. Destroying the loader joins its thread: an owner that must
// not wait keeps a loader it no longer needs until finished() (see
// PlayMusicThread), and joins whatever is left when it goes away itself.
class VerseLoader
{
public:
    // Starts decoding path at once; onDone is called from the decoding
    // thread when it has finished (it must only signal), unless the loader
    // has been destroyed by then.
    VerseLoader(const QString &path, const AudioShaping &shaping, std::function<void()> onDone);
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
    std::thread thread;
};

#endif
