// libarchive, loaded the first time a reader is imported from a .zip rather
// than at every start: with what it brings along (libxml2, Nettle, ACL,
// bzip2) it cost each start some 0.8 MiB and 1,400 relocations, for an
// import most runs never make. The program does not link it: the functions
// the importer calls are defined here under libarchive's own names, each
// passing the call on to the library's, so the importer reads as plain
// libarchive code. Without the library an archive cannot be opened, and the
// error text says why.
#include "OnDemandLibrary.h"

#include <archive.h>
#include <archive_entry.h>

namespace {

// libarchive's binary interface has been number 13 since its 3.0 release.
OnDemandLibrary libarchive("libarchive.so.13");

} // namespace

extern "C" {

QTUTAKAZE_FORWARD(libarchive, struct archive *, archive_read_new, (void), (), nullptr)
QTUTAKAZE_FORWARD(libarchive, int, archive_read_support_format_zip, (struct archive * a), (a),
                  ARCHIVE_FATAL)
QTUTAKAZE_FORWARD(libarchive, int, archive_read_open_filename,
                  (struct archive * a, const char *file, size_t blockSize), (a, file, blockSize),
                  ARCHIVE_FATAL)
QTUTAKAZE_FORWARD(libarchive, int, archive_read_next_header,
                  (struct archive * a, struct archive_entry **entry), (a, entry), ARCHIVE_FATAL)
QTUTAKAZE_FORWARD(libarchive, la_ssize_t, archive_read_data,
                  (struct archive * a, void *buffer, size_t size), (a, buffer, size), ARCHIVE_FATAL)
QTUTAKAZE_FORWARD(libarchive, int, archive_read_free, (struct archive * a), (a), ARCHIVE_OK)
QTUTAKAZE_FORWARD(libarchive, const char *, archive_error_string, (struct archive * a), (a),
                  "the program could not load libarchive.so.13")
QTUTAKAZE_FORWARD(libarchive, const char *, archive_entry_pathname, (struct archive_entry * e), (e),
                  nullptr)
QTUTAKAZE_FORWARD(libarchive, const char *, archive_entry_pathname_utf8, (struct archive_entry * e),
                  (e), nullptr)
QTUTAKAZE_FORWARD(libarchive, const char *, archive_entry_hardlink, (struct archive_entry * e), (e),
                  nullptr)
QTUTAKAZE_FORWARD(libarchive, __LA_MODE_T, archive_entry_filetype, (struct archive_entry * e), (e),
                  0)
QTUTAKAZE_FORWARD(libarchive, la_int64_t, archive_entry_size, (struct archive_entry * e), (e), 0)
QTUTAKAZE_FORWARD(libarchive, int, archive_entry_size_is_set, (struct archive_entry * e), (e), 0)

} // extern "C"
