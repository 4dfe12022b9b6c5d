#ifndef APPFOLDER_H
#define APPFOLDER_H

#include "DataLocations.h"

#include <QString>
#include <QStringList>

// The application folder: where the program keeps its data. In portable mode
// (the default) it is the executable's directory, which holds the settings
// file and the voice folders; in per-user mode it is the user's data folder
// and the settings file lives in the user's config folder (DataLocations).
// main() makes one and hands it to whoever keeps or finds files; it never
// changes afterwards, so any thread may read it.
class AppFolder
{
public:
    explicit AppFolder(const DataLocations &locations);
    // Portable mode in that folder (a test's, or a tool's).
    static AppFolder portable(const QString &folder);
    // Portable or per-user mode for the executable's directory and the
    // process environment; the per-user folders are made. The folders that
    // could not be made go to *uncreatable (each also reported on standard
    // error): the program then still reads, and keeps nothing there.
    static AppFolder choose(QStringList *uncreatable = nullptr);

    // The folder, without a trailing separator.
    QString path() const;
    // path() + separator + relative, with native separators; the settings
    // file's name gives the settings file wherever the mode keeps it.
    QString filePath(const QString &relative) const;
    const DataLocations &locations() const { return current; }

    // A memorization cue's file. In portable mode the bare name when the
    // working directory holds it, else the one beside the program when that
    // exists; in per-user mode the first of the lookup folders holding it.
    // The bare name when none does.
    QString cueFile(const QString &name) const;

private:
    DataLocations current;
};

#endif
