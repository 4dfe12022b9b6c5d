#include "ReaderImporter.h"

#include "ImportProgress.h"
#include "TimingFit.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>

namespace {

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
using Archive = std::unique_ptr<archive, ArchiveCloser>;

Archive openZip(const QString &source, QStringList *refusals)
{
    Archive zip(archive_read_new());
    archive_read_support_format_zip(zip.get());
    if (archive_read_open_filename(zip.get(), QFile::encodeName(source).constData(), 64 * 1024)
        != ARCHIVE_OK) {
        refusals->append(ReaderImporter::tr("アーカイブを読めません: %1")
                             .arg(QString::fromLocal8Bit(archive_error_string(zip.get()))));
        return {};
    }
    return zip;
}

QString entryPath(archive_entry *entry)
{
    const char *raw = archive_entry_pathname_utf8(entry);
    if (!raw)
        raw = archive_entry_pathname(entry);
    return raw ? QString::fromUtf8(raw) : QString();
}

QString brokenArchive(archive *zip)
{
    return ReaderImporter::tr("アーカイブが壊れています: %1")
        .arg(QString::fromLocal8Bit(archive_error_string(zip)));
}

// A file the source offers: a verse (name valid) or a timing table.
struct Candidate
{
    QString from;
    QString folder; // where it lies in the source, to pair a timing table with its verses
    VerseFileName name;
    qint64 zipIndex = -1;
};

enum class Copied { Done, ReadFailed, EntryTooBig, TotalTooBig, WriteFailed, Cancelled };

// Writes what read gives (bytes into the buffer; 0 at the end, below 0 on an
// error) into a new file at target. Every write, the flush and the close are
// checked: a full disk shows as WriteFailed with the system's reason in
// *writeError, and the partial file is removed.
Copied copyInto(const QString &target, const std::function<qint64(char *, qint64)> &read,
                qint64 *totalBytes, qint64 totalLimit, ImportProgress *progress,
                QString *writeError)
{
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        *writeError = out.errorString();
        return Copied::WriteFailed;
    }
    Copied result = Copied::Done;
    qint64 bytes = 0;
    char buffer[64 * 1024];
    for (;;) {
        if (progress && progress->isCancelled()) {
            result = Copied::Cancelled;
            break;
        }
        const qint64 got = read(buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            result = Copied::ReadFailed;
            break;
        }
        bytes += got;
        *totalBytes += got;
        if (bytes > ReaderImporter::MaxEntryBytes) {
            result = Copied::EntryTooBig;
            break;
        }
        if (*totalBytes > totalLimit) {
            result = Copied::TotalTooBig;
            break;
        }
        if (out.write(buffer, got) != got) {
            result = Copied::WriteFailed;
            break;
        }
    }
    if (result == Copied::Done && !out.flush())
        result = Copied::WriteFailed;
    // The reason is taken before close(), which clears it.
    if (result == Copied::WriteFailed)
        *writeError = out.errorString();
    out.close();
    if (result == Copied::Done && out.error() != QFileDevice::NoError) {
        result = Copied::WriteFailed;
        *writeError = out.errorString();
    }
    if (result != Copied::Done)
        out.remove();
    return result;
}

QString cancelledText()
{
    return ReaderImporter::tr("取り消しました");
}

QString writeFailedText(const QString &target, const QString &why)
{
    return ReaderImporter::tr("書き込めません: %1 (%2)").arg(target, why);
}

// Why a copy was refused (empty when it was not). The source names what was
// read from; readFailed and tooBig are the source kind's own words for those.
QString copyRefusal(Copied copied, const QString &source, const QString &readFailed,
                    const QString &tooBig, const QString &target, const QString &writeError)
{
    switch (copied) {
    case Copied::Done:
        return {};
    case Copied::ReadFailed:
        return readFailed;
    case Copied::EntryTooBig:
        return ReaderImporter::tr("50 MB を超えています: %1").arg(source);
    case Copied::TotalTooBig:
        return tooBig;
    case Copied::WriteFailed:
        return writeFailedText(target, writeError);
    case Copied::Cancelled:
        return cancelledText();
    }
    return {};
}

} // namespace

struct ReaderImporter::Plan
{
    QList<PlannedVerse> verses;
    QList<qint64> zipIndexes; // of each verse, in an archive
    QString timingFrom; // empty: none came
    qint64 timingIndex = -1;
    QStringList otherPrefixes;
    QStringList refusals;

    // Keeps the prefix with the most files (as ReaderFiles::scan does), the
    // first file of each verse name and the timing table beside them.
    void choose(const QList<Candidate> &candidates, const QList<Candidate> &timings)
    {
        QHash<QString, int> counts;
        for (const Candidate &c : candidates)
            ++counts[c.name.prefix];
        QStringList prefixes = counts.keys();
        std::sort(prefixes.begin(), prefixes.end());
        QString prefix;
        for (const QString &p : std::as_const(prefixes)) {
            if (prefix.isEmpty() || counts.value(p) > counts.value(prefix))
                prefix = p;
        }
        for (const QString &p : std::as_const(prefixes)) {
            if (p != prefix)
                otherPrefixes.append(p);
        }
        QString verseFolder;
        QSet<QString> taken;
        for (const Candidate &c : candidates) {
            const QString target =
                QStringLiteral("%1_%2.%3")
                    .arg(c.name.prefix, VerseFileName::verseId(c.name.card, c.name.half),
                         c.name.extension);
            if (c.name.prefix != prefix || taken.contains(target))
                continue; // the same verse twice: the first one found stays
            taken.insert(target);
            if (verseFolder.isNull())
                verseFolder = c.folder;
            verses.append({c.from, target});
            zipIndexes.append(c.zipIndex);
        }
        for (const Candidate &t : timings) {
            if (timingFrom.isEmpty() || t.folder == verseFolder) {
                timingFrom = t.from;
                timingIndex = t.zipIndex;
            }
            if (t.folder == verseFolder)
                break;
        }
    }
};

StagedReader::StagedReader() = default;
StagedReader::~StagedReader() = default;
StagedReader::StagedReader(StagedReader &&) noexcept = default;
StagedReader &StagedReader::operator=(StagedReader &&) noexcept = default;

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
    if (ReaderLibrary::isValidName(name) && library.contains(name) && !replaceExisting) {
        ImportOutcome outcome;
        outcome.refusals.append(tr("読手 %1 はすでにあります").arg(name));
        return outcome;
    }
    StagedReader staged = stage(source, name, {});
    return install(staged, replaceExisting);
}

QList<PlannedVerse> ReaderImporter::preview(const QString &source, const QString &name,
                                            const VersePattern &pattern, QStringList *refusals)
{
    Plan planned = plan(source, name, pattern);
    refusals->append(planned.refusals);
    return planned.verses;
}

ReaderImporter::Plan ReaderImporter::plan(const QString &source, const QString &name,
                                          const VersePattern &pattern)
{
    const QFileInfo sourceInfo(source);
    if (sourceInfo.isDir())
        return planFolder(source, name, pattern);
    if (sourceInfo.isFile()
        && sourceInfo.suffix().compare(QLatin1String("zip"), Qt::CaseInsensitive) == 0)
        return planZip(source, name, pattern);
    Plan refused;
    refused.refusals.append(tr("フォルダでも .zip でもありません: %1").arg(source));
    return refused;
}

StagedReader ReaderImporter::stage(const QString &source, const QString &name,
                                   const ImportOptions &options) const
{
    StagedReader staged;
    staged.name = name;
    staged.source = QFileInfo(source).absoluteFilePath();
    if (!ReaderLibrary::isValidName(name)) {
        staged.refusals.append(tr("読手の名前に使えません: %1").arg(name));
        return staged;
    }
    if (!options.pattern.isEmpty() && !options.pattern.isValid()) {
        staged.refusals.append(tr("名前の型に {card} と {half} が一つずつ要ります: %1")
                                   .arg(options.pattern.pattern()));
        return staged;
    }
    if (!QDir().mkpath(library.root())) {
        staged.refusals.append(tr("フォルダを作れません: %1").arg(library.root()));
        return staged;
    }
    // Gathered inside the library, so the final rename stays on one file system.
    staged.staging = std::make_unique<QTemporaryDir>(
        QDir(library.root()).filePath(QStringLiteral(".import-XXXXXX")));
    staged.gathered = QDir(staged.staging->path()).filePath(QStringLiteral("reader"));
    if (!staged.staging->isValid() || !QDir().mkpath(staged.gathered)) {
        staged.refusals.append(tr("フォルダを作れません: %1").arg(library.root())
                               + QStringLiteral(" (%1)").arg(staged.staging->errorString()));
        return staged;
    }

    const Plan planned = plan(source, name, options.pattern);
    staged.refusals = planned.refusals;
    if (!staged.refusals.isEmpty())
        return staged;
    if (options.progress)
        options.progress->setTotal(int(planned.verses.size()) * 2);
    if (QFileInfo(source).isDir())
        copyFromFolder(planned, staged.gathered, options.progress, &staged.refusals);
    else
        copyFromZip(source, planned, staged.gathered, options.progress, &staged.refusals);
    if (!staged.refusals.isEmpty())
        return staged;

    ReaderFiles files = ReaderFiles::scan(staged.gathered);
    files.otherPrefixes = planned.otherPrefixes;
    if (options.progress)
        options.progress->setTotal(int(planned.verses.size() + files.paths.size()));
    staged.report = ReaderCheck::check(files, options.progress);
    if (options.progress && options.progress->isCancelled()) {
        staged.refusals.append(cancelledText());
        return staged;
    }
    ReaderCheck::checkTiming(staged.gathered, files, &staged.report);
    if (staged.report.timing == ReaderReport::Timing::LeftOut)
        QFile::remove(QDir(staged.gathered).filePath(QLatin1String(TimingFit::FileName)));
    if (files.isEmpty()) {
        staged.refusals.append(tr("句のファイル (名前_NNN_H.ogg など) が見つかりません"));
        return staged;
    }
    if (staged.report.undecodable == files.paths.size()) {
        staged.refusals.append(tr("再生できる句がありません"));
        return staged;
    }
    QFile sourceNote(QDir(staged.gathered).filePath(QLatin1String(SourceFileName)));
    const QByteArray sourceText = staged.source.toUtf8();
    if (!sourceNote.open(QIODevice::WriteOnly) || sourceNote.write(sourceText) != sourceText.size()
        || !sourceNote.flush())
        staged.refusals.append(writeFailedText(sourceNote.fileName(), sourceNote.errorString()));
    return staged;
}

ImportOutcome ReaderImporter::install(StagedReader &staged, bool replaceExisting) const
{
    ImportOutcome outcome;
    outcome.report = staged.report;
    outcome.refusals = staged.refusals;
    if (!outcome.refusals.isEmpty() || !staged.staging)
        return outcome;
    const QString &name = staged.name;
    const bool exists = library.contains(name);
    if (exists && !replaceExisting) {
        outcome.refusals.append(tr("読手 %1 はすでにあります").arg(name));
        return outcome;
    }
    const QString target = library.folder(name);
    const QString replaced = QDir(staged.staging->path()).filePath(QStringLiteral("replaced"));
    if (exists && !QDir().rename(target, replaced)) {
        outcome.refusals.append(tr("読手 %1 を置き換えられません").arg(name));
        return outcome;
    }
    if (!QDir().rename(staged.gathered, target)) {
        if (exists)
            QDir().rename(replaced, target);
        outcome.refusals.append(tr("読手 %1 を書き込めません").arg(name));
        return outcome;
    }
    outcome.imported = true;
    staged.staging.reset(); // the staging folder goes, the replaced reader with it
    return outcome;
}

ReaderImporter::Plan ReaderImporter::planFolder(const QString &source, const QString &name,
                                                const VersePattern &pattern)
{
    Plan planned;
    QList<Candidate> candidates, timings;
    QDirIterator it(source, QDir::Files | QDir::System | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const bool isTiming = info.fileName() == QLatin1String(TimingFit::FileName);
        const VerseFileName verse = pattern.isEmpty() ? VerseFileName::parse(info.fileName())
                                                      : pattern.match(info.fileName(), name);
        if (!verse.isValid() && !isTiming)
            continue;
        const QString relative = QDir(source).relativeFilePath(info.filePath());
        if (info.isSymLink() || !info.isFile()) {
            planned.refusals.append(tr("リンクか特殊なファイルです: %1").arg(relative));
            continue;
        }
        if (info.size() > MaxEntryBytes) {
            planned.refusals.append(tr("50 MB を超えています: %1").arg(relative));
            continue;
        }
        const Candidate candidate {info.filePath(), info.path(), verse, -1};
        (isTiming ? timings : candidates).append(candidate);
    }
    planned.choose(candidates, timings);
    return planned;
}

ReaderImporter::Plan ReaderImporter::planZip(const QString &source, const QString &name,
                                             const VersePattern &pattern)
{
    // The whole archive is looked through before anything is extracted: its
    // entries, their paths and their sizes.
    Plan planned;
    const Archive zip = openZip(source, &planned.refusals);
    if (!zip)
        return planned;
    QList<Candidate> candidates, timings;
    archive_entry *entry = nullptr;
    int status = ARCHIVE_OK;
    qint64 index = -1;
    qint64 declaredBytes = 0;
    while ((status = archive_read_next_header(zip.get(), &entry)) == ARCHIVE_OK
           || status == ARCHIVE_WARN) {
        if (++index >= MaxZipEntries) {
            planned.refusals.append(tr("項目が多すぎます (上限 %1 項目)").arg(MaxZipEntries));
            return planned;
        }
        const QString path = entryPath(entry);
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
            planned.refusals.append(refusal);
            continue;
        }
        if (archive_entry_size_is_set(entry))
            declaredBytes += archive_entry_size(entry);
        if (declaredBytes > MaxZipBytes) {
            planned.refusals.append(
                tr("展開すると大きすぎます (上限 %1 GB)").arg(MaxZipBytes >> 30));
            return planned;
        }
        if (type != AE_IFREG)
            continue;
        const QFileInfo info(path);
        const Candidate candidate {path, info.path(),
                                   pattern.isEmpty() ? VerseFileName::parse(info.fileName())
                                                     : pattern.match(info.fileName(), name),
                                   index};
        if (info.fileName() == QLatin1String(TimingFit::FileName))
            timings.append(candidate);
        else if (candidate.name.isValid())
            candidates.append(candidate);
    }
    if (status != ARCHIVE_EOF) {
        planned.refusals.append(brokenArchive(zip.get()));
        return planned;
    }
    planned.choose(candidates, timings);
    return planned;
}

void ReaderImporter::copyFromFolder(const Plan &plan, const QString &folder,
                                    ImportProgress *progress, QStringList *refusals)
{
    qint64 totalBytes = 0;
    auto copy = [&](const QString &from, const QString &targetName) {
        QFile in(from);
        if (!in.open(QIODevice::ReadOnly)) {
            refusals->append(tr("読めません: %1").arg(from));
            return;
        }
        const QString target = QDir(folder).filePath(targetName);
        QString writeError;
        const Copied copied = copyInto(
            target, [&in](char *buffer, qint64 size) { return in.read(buffer, size); }, &totalBytes,
            std::numeric_limits<qint64>::max(), progress, &writeError);
        const QString unread = tr("読めません: %1").arg(from);
        const QString refusal = copyRefusal(copied, from, unread, unread, target, writeError);
        if (!refusal.isEmpty())
            refusals->append(refusal);
        if (progress)
            progress->fileDone();
    };
    for (const PlannedVerse &verse : plan.verses) {
        copy(verse.from, verse.target);
        if (!refusals->isEmpty())
            return;
    }
    if (!plan.timingFrom.isEmpty())
        copy(plan.timingFrom, QLatin1String(TimingFit::FileName));
}

void ReaderImporter::copyFromZip(const QString &source, const Plan &plan, const QString &folder,
                                 ImportProgress *progress, QStringList *refusals)
{
    QHash<qint64, QString> targets; // entry index -> file name in folder
    for (qsizetype i = 0; i < plan.verses.size(); ++i)
        targets.insert(plan.zipIndexes.at(i), plan.verses.at(i).target);
    if (plan.timingIndex >= 0)
        targets.insert(plan.timingIndex, QLatin1String(TimingFit::FileName));

    const Archive zip = openZip(source, refusals);
    if (!zip)
        return;
    archive_entry *entry = nullptr;
    int status = ARCHIVE_OK;
    qint64 index = -1;
    qint64 totalBytes = 0; // the sizes in the headers may lie: the bytes are counted as they come
    while ((status = archive_read_next_header(zip.get(), &entry)) == ARCHIVE_OK
           || status == ARCHIVE_WARN) {
        if (!targets.contains(++index))
            continue;
        const QString path = entryPath(entry);
        const QString target = QDir(folder).filePath(targets.value(index));
        QString writeError;
        const Copied copied = copyInto(
            target,
            [&zip](char *buffer, qint64 size) {
                return qint64(archive_read_data(zip.get(), buffer, size_t(size)));
            },
            &totalBytes, MaxZipBytes, progress, &writeError);
        const QString refusal = copyRefusal(
            copied, path,
            tr("アーカイブが壊れています: %1 (%2)")
                .arg(path, QString::fromLocal8Bit(archive_error_string(zip.get()))),
            tr("展開すると大きすぎます (上限 %1 GB)").arg(MaxZipBytes >> 30), target, writeError);
        if (!refusal.isEmpty())
            refusals->append(refusal);
        if (!refusals->isEmpty())
            return;
        if (progress)
            progress->fileDone();
    }
    if (status != ARCHIVE_EOF)
        refusals->append(brokenArchive(zip.get()));
}
