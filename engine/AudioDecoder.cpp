#include "AudioDecoder.h"

#include <QFile>

#include <samplerate.h>
#include <sndfile.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opens the path only if it is a regular file. O_NONBLOCK keeps a named pipe
// from blocking the open; fstat then rejects it, and anything else that is
// not a regular file, on the very descriptor that would be read.
int openRegularFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat status
    {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return -1;
    }
    // Regular files never block; clear the flag so reads behave as usual.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// Reads every frame, each reduced to two channels (mono doubled, beyond
// stereo the first two kept).
std::vector<float> readStereo(SNDFILE *file, int channels, sf_count_t maxFrames)
{
    constexpr sf_count_t Block = 4096;
    std::vector<float> block(static_cast<size_t>(Block * channels));
    std::vector<float> stereo;
    sf_count_t total = 0;
    while (total < maxFrames) {
        const sf_count_t got =
            sf_readf_float(file, block.data(), std::min(Block, maxFrames - total));
        if (got <= 0)
            break;
        for (sf_count_t i = 0; i < got; ++i) {
            const float left = block[static_cast<size_t>(i * channels)];
            const float right = channels > 1 ? block[static_cast<size_t>(i * channels + 1)] : left;
            stereo.push_back(left);
            stereo.push_back(right);
        }
        total += got;
    }
    return stereo;
}

bool resample(std::vector<float> &stereo, int fromRate)
{
    const double ratio = double(AudioClip::Rate) / fromRate;
    const long inFrames = static_cast<long>(stereo.size() / AudioClip::Channels);
    std::vector<float> out(static_cast<size_t>((inFrames * ratio + 16) * AudioClip::Channels));
    SRC_DATA data {};
    data.data_in = stereo.data();
    data.input_frames = inFrames;
    data.data_out = out.data();
    data.output_frames = static_cast<long>(out.size() / AudioClip::Channels);
    data.src_ratio = ratio;
    if (src_simple(&data, SRC_SINC_MEDIUM_QUALITY, AudioClip::Channels) != 0)
        return false;
    out.resize(static_cast<size_t>(data.output_frames_gen * AudioClip::Channels));
    stereo = std::move(out);
    return true;
}

} // namespace

std::shared_ptr<AudioClip> AudioDecoder::decodeFile(const QString &path)
{
    if (path.isEmpty())
        return nullptr;
    const int fd = openRegularFile(path);
    if (fd < 0)
        return nullptr;
    SF_INFO info {};
    // libsndfile closes the descriptor with the file, also when the open fails.
    SNDFILE *file = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
    if (!file)
        return nullptr;
    std::shared_ptr<AudioClip> clip;
    if (info.channels > 0 && info.samplerate > 0) {
        const sf_count_t maxFrames = sf_count_t(info.samplerate) * MaxSeconds;
        std::vector<float> stereo = readStereo(file, info.channels, maxFrames);
        if (!stereo.empty()
            && (info.samplerate == AudioClip::Rate || resample(stereo, info.samplerate))
            && !stereo.empty()) {
            clip = std::make_shared<AudioClip>();
            clip->samples = std::move(stereo);
        }
    }
    sf_close(file);
    return clip;
}
