#ifndef AUDIODECODER_H
#define AUDIODECODER_H

#include "AudioClip.h"

#include <QString>

#include <memory>

// Decodes a whole recording (Ogg Vorbis, Opus, FLAC, MP3, WAV: whatever
// libsndfile reads) into an AudioClip, resampled and mixed to the output's
// format. Blocking: call it off the audio thread and without holding locks
// others need.
namespace AudioDecoder {

// Longest recording kept; anything beyond is cut (a verse lasts seconds, and
// a stray hour-long file must not take gigabytes).
constexpr int MaxSeconds = 180;

// nullptr when the path is not a regular file (a missing file, a folder, a
// named pipe or a device are all unplayable), cannot be read, or holds no
// audio at all.
std::shared_ptr<AudioClip> decodeFile(const QString &path);

} // namespace AudioDecoder

#endif
