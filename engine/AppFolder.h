#ifndef APPFOLDER_H
#define APPFOLDER_H

#include <QString>

// The application folder: the executable's directory, which holds the
// settings file and the voice folders. Tests point it at a temporary folder.
class AppFolder
{
public:
    // The folder, without a trailing separator.
    static QString path();

    // Overrides the folder for the rest of the process (tests only);
    // an empty path restores the executable's directory.
    static void setPathForTesting(const QString &folder);

    // path() + separator + relative, with native separators.
    static QString filePath(const QString &relative);
};

#endif
