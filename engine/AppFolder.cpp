#include "AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex overrideMutex;
QString overridePath;
} // namespace

QString AppFolder::path()
{
    {
        const QMutexLocker locker(&overrideMutex);
        if (!overridePath.isEmpty())
            return overridePath;
    }
    return QCoreApplication::applicationDirPath();
}

void AppFolder::setPathForTesting(const QString &folder)
{
    const QMutexLocker locker(&overrideMutex);
    overridePath = folder;
}

QString AppFolder::filePath(const QString &relative)
{
    return path() + QDir::separator() + relative;
}
