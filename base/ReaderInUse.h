#ifndef READERINUSE_H
#define READERINUSE_H

#include <QString>

// A reader of the library (a folder of PREFIX_NNN_H recordings) that reads in
// place of the two voice folders while it is set. Process-wide and
// thread-safe: the window sets it from the settings, the options dialog while
// its sample plays, and the reading thread finds the verse files through it
// (Voices::filePath).
struct LibraryReader
{
    QString folder; // absolute path; empty: the two voice folders read
    QString prefix; // the file names' prefix, as "PREFIX" of PREFIX_001_1.ogg

    bool isSet() const { return !folder.isEmpty() && !prefix.isEmpty(); }
    friend bool operator==(const LibraryReader &, const LibraryReader &) = default;
};

class ReaderInUse
{
public:
    static LibraryReader get();
    // An empty reader gives the voice folders back.
    static void set(const LibraryReader &reader);
};

#endif
