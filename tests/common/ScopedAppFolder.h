#ifndef SCOPEDAPPFOLDER_H
#define SCOPEDAPPFOLDER_H

#include <QTemporaryDir>

// A temporary application folder for one test: AppFolder points at it
// while the object lives and at the executable's folder again afterwards.
class ScopedAppFolder
{
public:
    ScopedAppFolder();
    ~ScopedAppFolder();
    ScopedAppFolder(const ScopedAppFolder &) = delete;
    ScopedAppFolder &operator=(const ScopedAppFolder &) = delete;

    bool isValid() const { return dir.isValid(); }
    QString path() const { return dir.path(); }
    QString filePath(const QString &name) const { return dir.filePath(name); }

private:
    QTemporaryDir dir;
};

#endif
