#ifndef AUDIOCLIP_H
#define AUDIOCLIP_H

#include <QtGlobal>

#include <vector>

// A whole recording decoded into memory in the output's format: 44.1 kHz,
// two channels, interleaved float samples in -1.0 .. 1.0. Once handed to the
// mixer it is shared read-only with the audio thread.
struct AudioClip
{
    static constexpr int Rate = 44100;
    static constexpr int Channels = 2;

    std::vector<float> samples;
    // Frames the shaping cut from the recording's start (trimmed silence).
    qint64 trimmedLeadFrames = 0;

    qint64 frames() const { return static_cast<qint64>(samples.size()) / Channels; }
};

#endif
