#ifndef READERINUSE_H
#define READERINUSE_H

#include "GuardedValue.h"

#include <QString>

// A reader of the library (a folder of PREFIX_NNN_H recordings) that reads in
// place of the two voice folders while it is set.
struct LibraryReader
{
    QString folder; // absolute path; empty: the two voice folders read
    QString prefix; // the file names' prefix, as "PREFIX" of PREFIX_001_1.ogg

    bool isSet() const { return !folder.isEmpty() && !prefix.isEmpty(); }
    friend bool operator==(const LibraryReader &, const LibraryReader &) = default;
};

// The reader in use, one for the program, made in main(). Thread-safe: the
// settings set it, the options dialog while its sample plays, and the
// reading thread finds the verse files through it (Voices::filePath).
class ReaderInUse
{
public:
    LibraryReader get() const { return current.get(); }
    // An empty reader gives the voice folders back.
    void set(const LibraryReader &reader) { current.set(reader); }

private:
    GuardedValue<LibraryReader> current;
};

#endif
