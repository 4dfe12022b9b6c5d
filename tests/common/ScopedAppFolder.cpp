#include "ScopedAppFolder.h"

#include "AppFolder.h"

ScopedAppFolder::ScopedAppFolder()
{
    if (dir.isValid())
        AppFolder::setPathForTesting(dir.path());
}

ScopedAppFolder::~ScopedAppFolder()
{
    AppFolder::setPathForTesting(QString());
}
