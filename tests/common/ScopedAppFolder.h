#ifndef SCOPEDAPPFOLDER_H
#define SCOPEDAPPFOLDER_H

#include "AppFolder.h"
#include "AudioShapingStore.h"
#include "ReaderInUse.h"
#include "Voices.h"

#include <QTemporaryDir>

// What main() makes for the program, for one test: an application folder
// (a temporary one, or one the test keeps), the reader and the shaping in
// use, and the voices found through them.
class ScopedAppFolder
{
public:
    ScopedAppFolder();
    explicit ScopedAppFolder(const QString &folder);
    ScopedAppFolder(const ScopedAppFolder &) = delete;
    ScopedAppFolder &operator=(const ScopedAppFolder &) = delete;

    bool isValid() const { return !root.isEmpty(); }
    QString path() const { return root; }
    QString filePath(const QString &name) const;
    const AppFolder &folder() const { return appFolder; }
    const Voices &voices() const { return voiceFiles; }

    ReaderInUse reader;
    AudioShapingStore shaping;

private:
    QTemporaryDir dir;
    QString root;
    AppFolder appFolder;
    Voices voiceFiles;
};

#endif
