// libsndfile, opened the first time a file is decoded rather than linked
// (some 2 ms of every start, on the window's path): the first verse or cue
// opens it, after the window is up. The functions the decoder calls are
// defined here under libsndfile's own names and pass the call on (see
// OnDemandLibrary). Without the library no file
// decodes, as for a broken file.
#include "AudioLibraries.h"

#include <sndfile.h>

#include <unistd.h>

OnDemandLibrary sndfileLibrary("libsndfile.so.1");

namespace {

// What sf_open_fd() does with the descriptor when it cannot open the file.
SNDFILE *descriptorClosed(int fd, int closeDescriptor)
{
    if (closeDescriptor)
        ::close(fd);
    return nullptr;
}

} // namespace

extern "C" {

QTUTAKAZE_FORWARD(sndfileLibrary, SNDFILE *, sf_open_fd,
                  (int fd, int mode, SF_INFO *info, int closeDescriptor),
                  (fd, mode, info, closeDescriptor), descriptorClosed(fd, closeDescriptor))
QTUTAKAZE_FORWARD(sndfileLibrary, sf_count_t, sf_readf_float,
                  (SNDFILE * file, float *ptr, sf_count_t frames), (file, ptr, frames), 0)
QTUTAKAZE_FORWARD(sndfileLibrary, int, sf_close, (SNDFILE * file), (file), 0)

} // extern "C"
