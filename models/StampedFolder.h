#ifndef STAMPEDFOLDER_H
#define STAMPEDFOLDER_H

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// A folder of records named after the local moment each began,
// YYYYMMDD-HHMMSS.tsv, with "-2", "-3", ... before ".tsv" for a second one
// begun in the same second. Other files in the folder are never listed nor
// removed.
class StampedFolder
{
public:
    explicit StampedFolder(const QString &folder)
        : dir(folder)
    {
    }

    static bool isRecordName(const QString &fileName);
    static QString recordName(const QDateTime &startedLocal);

    // The records, newest first.
    QStringList names() const;
    QString filePath(const QString &fileName) const;
    // Writes a new record whole (the folder is made if needed); its path, or
    // an empty string when it could not be written.
    QString write(const QDateTime &startedLocal, const QByteArray &content) const;
    // Keeps a record: writes it, then removes the records beyond the newest
    // `kept` (their names in `removed`). A record with nothing in it is the
    // caller's NothingRead.
    enum class SaveResult { Saved, NothingRead, Failed };
    SaveResult save(const QDateTime &startedLocal, const QByteArray &content, int kept,
                    QString *savedPath = nullptr, QStringList *removed = nullptr) const;
    // Removes the records beyond the newest `kept`; their names.
    QStringList removeAllBut(int kept) const;

private:
    QString dir;
};

#endif
