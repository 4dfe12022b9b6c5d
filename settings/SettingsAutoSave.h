#ifndef SETTINGSAUTOSAVE_H
#define SETTINGSAUTOSAVE_H

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

// Writes the settings file shortly after a change, so that an unclean end (a
// lost display, a crash, a power cut) loses at most the last moment. The
// window still writes the file at exit; this only writes earlier what that
// write would write. The writer is the exit write itself, run on a copy of
// the file; the result replaces the file atomically, and only when its bytes
// differ, so an unchanged session never touches the file.
class SettingsAutoSave : public QObject
{
    Q_OBJECT

public:
    // Writes the whole settings into the INI file at the path it is given;
    // false when that failed.
    using Writer = std::function<bool(const QString &path)>;

    enum class Result { Unchanged, Written, Failed };

    SettingsAutoSave(const QString &settingsFile, Writer writer, QObject *parent = nullptr);

    // The quiet time after the last change before the file is written.
    void setDelay(int milliseconds);
    bool isPending() const { return timer.isActive(); }
    // Writes at once (a pending write is dropped).
    Result saveNow();

public slots:
    // A setting changed: write after the delay, counted from the last change.
    void scheduleSave();

private:
    QString path;
    Writer writer;
    QTimer timer;
    bool lastFailed = false;
};

#endif
