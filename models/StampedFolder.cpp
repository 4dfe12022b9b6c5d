#include "StampedFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

bool StampedFolder::isRecordName(const QString &fileName)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\d{8}-\d{6}(-\d+)?\.tsv$)"));
    return pattern.match(fileName).hasMatch();
}

QString StampedFolder::recordName(const QDateTime &startedLocal)
{
    return startedLocal.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".tsv");
}

QStringList StampedFolder::names() const
{
    QStringList names;
    for (const QString &name : QDir(dir).entryList({QStringLiteral("*.tsv")}, QDir::Files)) {
        if (isRecordName(name))
            names.append(name);
    }
    // By start time, then by the same-second suffix.
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const QString stampA = a.left(15);
        const QString stampB = b.left(15);
        if (stampA != stampB)
            return stampA > stampB;
        const int nA = a.size() > 19 ? a.mid(16).chopped(4).toInt() : 1;
        const int nB = b.size() > 19 ? b.mid(16).chopped(4).toInt() : 1;
        return nA > nB;
    });
    return names;
}

QString StampedFolder::filePath(const QString &fileName) const
{
    return QDir(dir).filePath(fileName);
}

QString StampedFolder::write(const QDateTime &startedLocal, const QByteArray &content) const
{
    if (!QDir().mkpath(dir))
        return {};
    const QString base = recordName(startedLocal).chopped(4);
    QString name = base + QStringLiteral(".tsv");
    for (int n = 2; QFile::exists(filePath(name)); ++n)
        name = base + QStringLiteral("-%1.tsv").arg(n);

    QSaveFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()
        || !file.commit())
        return {};
    return filePath(name);
}

StampedFolder::SaveResult StampedFolder::save(const QDateTime &startedLocal,
                                              const QByteArray &content, int kept,
                                              QString *savedPath, QStringList *removed) const
{
    const QString path = write(startedLocal, content);
    if (path.isEmpty())
        return SaveResult::Failed;
    if (savedPath)
        *savedPath = path;
    const QStringList gone = removeAllBut(kept);
    if (removed)
        *removed = gone;
    return SaveResult::Saved;
}

QStringList StampedFolder::removeAllBut(int kept) const
{
    const QStringList all = names();
    QStringList removed;
    for (qsizetype i = kept; i < all.size(); ++i) {
        if (QFile::remove(filePath(all.at(i))))
            removed.append(all.at(i));
    }
    return removed;
}
