#include "ScopedAppFolder.h"

#include <QDir>

ScopedAppFolder::ScopedAppFolder()
    : root(dir.isValid() ? dir.path() : QString())
    , appFolder(AppFolder::portable(root))
    , voiceFiles(appFolder, reader)
{
}

ScopedAppFolder::ScopedAppFolder(const QString &folder)
    : root(folder)
    , appFolder(AppFolder::portable(folder))
    , voiceFiles(appFolder, reader)
{
}

QString ScopedAppFolder::filePath(const QString &name) const
{
    return QDir(root).filePath(name);
}
