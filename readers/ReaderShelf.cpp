#include "ReaderShelf.h"

#include "ReaderFiles.h"
#include "ReaderImporter.h"
#include "TimingFit.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

ReaderShelf::ReaderShelf(const ReaderLibrary &library)
    : library(library)
{
}

ReaderDetails ReaderShelf::details(const QString &name) const
{
    ReaderDetails details;
    if (!library.contains(name))
        return details;
    const QString folder = library.folder(name);
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        details.bytes += it.fileInfo().size();
    }
    const ReaderFiles files = ReaderFiles::scan(folder);
    details.verses = int(files.paths.size());
    for (const QString &verse : files.missingVerses()) {
        const int card = verse.left(3).toInt();
        if (details.cardsMissingVerses.isEmpty() || details.cardsMissingVerses.last() != card)
            details.cardsMissingVerses.append(card);
    }
    details.hasTiming =
        QFileInfo::exists(QDir(folder).filePath(QLatin1String(TimingFit::FileName)));
    QFile source(QDir(folder).filePath(QLatin1String(ReaderImporter::SourceFileName)));
    if (source.open(QIODevice::ReadOnly))
        details.source = QString::fromUtf8(source.readAll()).trimmed();
    return details;
}

QString ReaderShelf::describe(const ReaderDetails &details)
{
    return tr("%1 MB、句 %2、拍の時刻: %3、元: %4")
        .arg(QString::number(double(details.bytes) / (1024.0 * 1024.0), 'f', 1))
        .arg(details.verses)
        .arg(details.hasTiming ? tr("あり") : tr("なし"),
             details.source.isEmpty() ? tr("不明") : details.source);
}

QString ReaderShelf::rename(const QString &name, const QString &newName) const
{
    if (!ReaderLibrary::isValidName(newName))
        return tr("この名前は使えません: %1").arg(newName);
    if (!library.contains(name))
        return tr("読手 %1 がありません").arg(name);
    if (QFileInfo::exists(library.folder(newName)))
        return tr("読手 %1 はすでにあります").arg(newName);
    if (!QDir().rename(library.folder(name), library.folder(newName)))
        return tr("読手 %1 の名前を変えられません").arg(name);
    return {};
}

QString ReaderShelf::remove(const QString &name) const
{
    if (!library.contains(name))
        return tr("読手 %1 がありません").arg(name);
    // Out of sight first (one rename), then removed with its hidden folder.
    QTemporaryDir trash(QDir(library.root()).filePath(QStringLiteral(".delete-XXXXXX")));
    if (!trash.isValid()
        || !QDir().rename(library.folder(name),
                          QDir(trash.path()).filePath(QStringLiteral("reader"))))
        return tr("読手 %1 を削除できません").arg(name);
    return {};
}
