#ifndef APPFOLDER_H
#define APPFOLDER_H

#include "DataLocations.h"

#include <QString>
#include <QStringList>

// The application folder: where the program keeps its data. In portable mode
// (the default) it is the executable's directory, which holds the settings
// file and the voice folders; in per-user mode it is the user's data folder
// and the settings file lives in the user's config folder (DataLocations).
// Tests point it at a temporary folder.
class AppFolder
{
public:
    // The folder, without a trailing separator.
    static QString path();

    // Overrides the folder for the rest of the process (tests only), in
    // portable mode; an empty path restores the executable's directory.
    static void setPathForTesting(const QString &folder);

    // path() + separator + relative, with native separators; the settings
    // file's name gives the settings file wherever the mode keeps it.
    static QString filePath(const QString &relative);

    // Chooses portable or per-user mode for the executable's directory and
    // the process environment, and makes the per-user folders. Returns the
    // folders that could not be made (each also reported on standard error);
    // the program then still reads, and keeps nothing there.
    static QStringList chooseLocations();
    // Uses these locations for the rest of the process.
    static void setLocations(const DataLocations &locations);
    static DataLocations locations();

    // A memorization cue's file. In portable mode the bare name when the
    // working directory holds it, else the one beside the program when that
    // exists; in per-user mode the first of the lookup folders holding it.
    // The bare name when none does.
    static QString cueFile(const QString &name);
};

#endif
