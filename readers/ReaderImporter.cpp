#include "ReaderImporter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace {

// The file name an entry or file is stored under, or empty when it is not a verse file.
QString verseTarget(const QString &fileName)
{
    const VerseFileName name = VerseFileName::parse(fileName);
    if (!name.isValid())
        return {};
    return QFileInfo(fileName).completeBaseName() + QLatin1Char('.') + name.extension;
}

// Why an archive entry's path is refused; empty when it is fine.
QString hostilePath(const QString &path)
{
    if (path.isEmpty())
        return ReaderImporter::tr("名前のない項目");
    const QString normalized = QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (normalized.startsWith(QLatin1Char('/'))
        || (normalized.size() > 1 && normalized.at(1) == QLatin1Char(':')))
        return ReaderImporter::tr("絶対パスです: %1").arg(path);
    if (normalized.split(QLatin1Char('/')).contains(QStringLiteral("..")))
        return ReaderImporter::tr("「..」を含みます: %1").arg(path);
    return {};
}

struct ArchiveCloser
{
    void operator()(archive *a) const { archive_read_free(a); }
};

} // namespace

ReaderImporter::ReaderImporter(const ReaderLibrary &library)
    : library(library)
{
}

QString ReaderImporter::suggestedName(const QString &source)
{
    const QFileInfo info(source);
    QString name = info.isDir() ? QDir(source).dirName() : info.completeBaseName();
    name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    name = name.trimmed().left(64);
    return ReaderLibrary::isValidName(name) ? name : QStringLiteral("reader");
}

ImportOutcome ReaderImporter::import(const QString &source, const QString &name,
                                     bool replaceExisting) const
{
    ImportOutcome outcome;
    if (!ReaderLibrary::isValidName(name)) {
        outcome.refusals.append(tr("読手の名前に使えません: %1").arg(name));
        return outcome;
    }
    const bool exists = library.contains(name);
    if (exists && !replaceExisting) {
        outcome.refusals.append(tr("読手 %1 はすでにあります").arg(name));
        return outcome;
    }
    if (!QDir().mkpath(library.root())) {
        outcome.refusals.append(tr("フォルダを作れません: %1").arg(library.root()));
        return outcome;
    }
    // Gathered inside the library, so the final rename stays on one file system.
    QTemporaryDir staging(QDir(library.root()).filePath(QStringLiteral(".import-XXXXXX")));
    const QString gathered = QDir(staging.path()).filePath(QStringLiteral("reader"));
    if (!staging.isValid() || !QDir().mkpath(gathered)) {
        outcome.refusals.append(tr("フォルダを作れません: %1").arg(library.root()));
        return outcome;
    }

    const QFileInfo sourceInfo(source);
    if (sourceInfo.isDir())
        gatherFromFolder(source, gathered, &outcome.refusals);
    else if (sourceInfo.isFile()
             && sourceInfo.suffix().compare(QLatin1String("zip"), Qt::CaseInsensitive) == 0)
        gatherFromZip(source, gathered, &outcome.refusals);
    else
        outcome.refusals.append(tr("フォルダでも .zip でもありません: %1").arg(source));
    if (!outcome.refusals.isEmpty())
        return outcome;

    const ReaderFiles found = ReaderFiles::scan(gathered);
    dropOtherPrefixes(gathered, found.prefix);
    ReaderFiles files = ReaderFiles::scan(gathered);
    files.otherPrefixes = found.otherPrefixes;
    outcome.report = ReaderCheck::check(files);
    if (files.isEmpty()) {
        outcome.refusals.append(tr("句のファイル (名前_NNN_H.ogg など) が見つかりません"));
        return outcome;
    }
    if (outcome.report.undecodable == files.paths.size()) {
        outcome.refusals.append(tr("再生できる句がありません"));
        return outcome;
    }

    const QString target = library.folder(name);
    const QString replaced = QDir(staging.path()).filePath(QStringLiteral("replaced"));
    if (exists && !QDir().rename(target, replaced)) {
        outcome.refusals.append(tr("読手 %1 を置き換えられません").arg(name));
        return outcome;
    }
    if (!QDir().rename(gathered, target)) {
        if (exists)
            QDir().rename(replaced, target);
        outcome.refusals.append(tr("読手 %1 を書き込めません").arg(name));
        return outcome;
    }
    outcome.imported = true;
    return outcome; // the staging folder goes, the replaced reader with it
}

void ReaderImporter::gatherFromFolder(const QString &source, const QString &folder,
                                      QStringList *refusals)
{
    QDirIterator it(source, QDir::Files | QDir::System | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const QString targetName = verseTarget(info.fileName());
        if (targetName.isEmpty())
            continue;
        const QString relative = QDir(source).relativeFilePath(info.filePath());
        if (info.isSymLink() || !info.isFile()) {
            refusals->append(tr("リンクか特殊なファイルです: %1").arg(relative));
            continue;
        }
        if (info.size() > MaxEntryBytes) {
            refusals->append(tr("50 MB を超えています: %1").arg(relative));
            continue;
        }
        const QString target = QDir(folder).filePath(targetName);
        if (QFileInfo::exists(target))
            continue; // the same verse twice: the first one found stays
        if (!QFile::copy(info.filePath(), target))
            refusals->append(tr("読めません: %1").arg(relative));
    }
}

void ReaderImporter::gatherFromZip(const QString &source, const QString &folder,
                                   QStringList *refusals)
{
    const std::unique_ptr<archive, ArchiveCloser> zip(archive_read_new());
    archive_read_support_format_zip(zip.get());
    if (archive_read_open_filename(zip.get(), QFile::encodeName(source).constData(), 64 * 1024)
        != ARCHIVE_OK) {
        refusals->append(tr("アーカイブを読めません: %1")
                             .arg(QString::fromLocal8Bit(archive_error_string(zip.get()))));
        return;
    }
    archive_entry *entry = nullptr;
    int status = ARCHIVE_OK;
    while ((status = archive_read_next_header(zip.get(), &entry)) == ARCHIVE_OK
           || status == ARCHIVE_WARN) {
        const char *rawPath = archive_entry_pathname_utf8(entry);
        if (!rawPath)
            rawPath = archive_entry_pathname(entry);
        const QString path = rawPath ? QString::fromUtf8(rawPath) : QString();
        QString refusal = hostilePath(path);
        const auto type = archive_entry_filetype(entry);
        if (refusal.isEmpty() && (type == AE_IFLNK || archive_entry_hardlink(entry)))
            refusal = tr("リンクです: %1").arg(path);
        else if (refusal.isEmpty() && type != AE_IFREG && type != AE_IFDIR)
            refusal = tr("特殊なファイルです: %1").arg(path);
        else if (refusal.isEmpty() && archive_entry_size_is_set(entry)
                 && archive_entry_size(entry) > MaxEntryBytes)
            refusal = tr("50 MB を超えています: %1").arg(path);
        if (!refusal.isEmpty()) {
            refusals->append(refusal);
            continue;
        }
        const QString targetName =
            type == AE_IFREG ? verseTarget(QFileInfo(path).fileName()) : QString();
        const QString target = QDir(folder).filePath(targetName);
        if (targetName.isEmpty() || QFileInfo::exists(target) || !refusals->isEmpty())
            continue; // not a verse, or the same verse twice, or refused anyway

        // The size in the header may lie: the bytes are counted as they come.
        QFile out(target);
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            refusals->append(tr("書き込めません: %1").arg(target));
            return;
        }
        qint64 total = 0;
        char buffer[64 * 1024];
        la_ssize_t got = 0;
        while ((got = archive_read_data(zip.get(), buffer, sizeof buffer)) > 0) {
            total += got;
            if (total > MaxEntryBytes || out.write(buffer, got) != got)
                break;
        }
        out.close();
        if (total > MaxEntryBytes)
            refusals->append(tr("50 MB を超えています: %1").arg(path));
        else if (got < 0)
            refusals->append(
                tr("アーカイブが壊れています: %1 (%2)")
                    .arg(path, QString::fromLocal8Bit(archive_error_string(zip.get()))));
        if (total > MaxEntryBytes || got < 0)
            out.remove();
    }
    if (status != ARCHIVE_EOF)
        refusals->append(tr("アーカイブが壊れています: %1")
                             .arg(QString::fromLocal8Bit(archive_error_string(zip.get()))));
}

void ReaderImporter::dropOtherPrefixes(const QString &folder, const QString &prefix)
{
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        if (VerseFileName::parse(entry).prefix != prefix)
            QFile::remove(QDir(folder).filePath(entry));
    }
}
