#include "SettingsAutoSave.h"

#include "Logging.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {
constexpr int DefaultDelayMs = 500;

// The file's bytes; empty for a file that does not exist.
QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

SettingsAutoSave::SettingsAutoSave(const QString &settingsFile, Writer writer, QObject *parent)
    : QObject(parent)
    , path(settingsFile)
    , writer(std::move(writer))
{
    timer.setSingleShot(true);
    timer.setInterval(DefaultDelayMs);
    connect(&timer, &QTimer::timeout, this, &SettingsAutoSave::saveNow);
}

void SettingsAutoSave::setDelay(int milliseconds)
{
    timer.setInterval(milliseconds);
}

void SettingsAutoSave::scheduleSave()
{
    timer.start();
}

SettingsAutoSave::Result SettingsAutoSave::saveNow()
{
    timer.stop();
    Result result = Result::Failed;
    // The writer works on a copy, so that the file itself only ever holds a
    // complete old or a complete new version.
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QFileInfo(path).fileName());
    const bool exists = QFileInfo::exists(path);
    if (scratch.isValid() && (!exists || QFile::copy(path, copy)) && writer(copy)) {
        const QByteArray wanted = readBytes(copy);
        if (exists && wanted == readBytes(path)) {
            result = Result::Unchanged;
        } else {
            QSaveFile file(path);
            if (file.open(QIODevice::WriteOnly) && file.write(wanted) == wanted.size()
                && file.commit())
                result = Result::Written;
        }
    }
    // One message per run of failures (a read-only folder fails every time).
    if (result == Result::Failed && !lastFailed)
        qCWarning(lcSettings, "cannot write the settings file %s (read-only folder or full disk?)",
                  qUtf8Printable(path));
    lastFailed = result == Result::Failed;
    return result;
}
