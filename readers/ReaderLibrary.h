#ifndef READERLIBRARY_H
#define READERLIBRARY_H

#include "ReaderInUse.h"

#include <QString>
#include <QStringList>

class AppFolder;

// The readers of the library: one folder each in voices/ of the application
// folder, named after the reader, holding its PREFIX_NNN_H verse files.
class ReaderLibrary
{
public:
    // The library in the application folder's voices/.
    explicit ReaderLibrary(const AppFolder &folder);
    explicit ReaderLibrary(const QString &root);

    QString root() const { return libraryRoot; }
    // The readers (folders with verse files), sorted.
    QStringList names() const;
    QString folder(const QString &name) const;
    bool contains(const QString &name) const;
    // The named reader's folder and prefix; not set when it has no verse files.
    LibraryReader reader(const QString &name) const;

    // A name usable as a reader's folder (VoiceSettings::isUsableName).
    static bool isValidName(const QString &name);

    // Puts the named reader in use; an empty or unknown name puts the two
    // voice folders back. False when a name was given but no such reader
    // was found.
    bool use(const QString &name, ReaderInUse &inUse) const;

private:
    QString libraryRoot;
};

#endif
