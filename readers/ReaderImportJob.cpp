#include "ReaderImportJob.h"

#include <QDir>
#include <QThread>
#include <QTimer>

ReaderImportJob::ReaderImportJob(const ReaderLibrary &library, ReaderInUse &inUse,
                                 std::function<bool()> readingNow, QObject *parent)
    : QObject(parent)
    , library(library)
    , inUse(inUse)
    , readingNow(std::move(readingNow))
    , progress(std::make_unique<ImportProgress>())
    , poll(new QTimer(this))
{
    connect(poll, &QTimer::timeout, this, [this] { emit progressed(filesDone(), filesToDo()); });
}

ReaderImportJob::~ReaderImportJob()
{
    if (worker) {
        progress->cancel();
        worker->wait();
    }
}

bool ReaderImportJob::isInUse(const QString &name) const
{
    const LibraryReader reader = inUse.get();
    return reader.isSet()
        && QDir::cleanPath(reader.folder)
        == QDir::cleanPath(QDir(library.folder(name)).absolutePath());
}

QString ReaderImportJob::replaceRefusal(const QString &name) const
{
    if (!readingNow || !readingNow() || !library.contains(name) || !isInUse(name))
        return {};
    return tr("読手 %1 は読み上げに使われているので、読み上げが終わるまで置き換えられません。")
        .arg(name);
}

QString ReaderImportJob::refusalToStart(const QString &name) const
{
    if (isBusy())
        return tr("読手 %1 を取り込んでいるところです。").arg(readerName);
    return replaceRefusal(name);
}

QString ReaderImportJob::start(const QString &source, const QString &name,
                               const VersePattern &pattern)
{
    const QString refusal = refusalToStart(name);
    if (!refusal.isEmpty())
        return refusal;

    readerName = name;
    cancelled = false;
    readerInUseReplaced = false;
    lastOutcome = {};
    progress = std::make_unique<ImportProgress>();
    ImportOptions options;
    options.pattern = pattern;
    options.progress = progress.get();
    worker.reset(QThread::create([this, importer = ReaderImporter(library), source, name, options] {
        StagedReader staged = importer.stage(source, name, options);
        const QMutexLocker lock(&resultMutex);
        result = std::move(staged);
    }));
    connect(worker.get(), &QThread::finished, this, &ReaderImportJob::staged);
    current = State::Staging;
    worker->start();
    poll->start(ProgressIntervalMs);
    emit started();
    return {};
}

void ReaderImportJob::cancel()
{
    if (current == State::Staging)
        progress->cancel(); // staged() ends it once the worker has stopped
    else if (current == State::AwaitingAnswer)
        finish({}, true);
}

void ReaderImportJob::answerReplace(bool replace)
{
    if (current != State::AwaitingAnswer)
        return;
    if (replace)
        install(true);
    else
        finish({}, true);
}

int ReaderImportJob::filesDone() const
{
    return std::min(progress->filesDone(), progress->filesToDo());
}

int ReaderImportJob::filesToDo() const
{
    return progress->filesToDo();
}

ReaderReport ReaderImportJob::stagedReport() const
{
    return pending ? pending->report : ReaderReport {};
}

void ReaderImportJob::staged()
{
    poll->stop();
    worker->wait(); // finished() comes just before the thread's very end
    worker.reset();
    {
        const QMutexLocker lock(&resultMutex);
        pending = std::move(result);
        result.reset();
    }
    if (!pending || progress->isCancelled()) {
        finish({}, true);
        return;
    }
    emit progressed(filesDone(), filesToDo());
    if (pending->refusals.isEmpty() && library.contains(readerName)) {
        current = State::AwaitingAnswer;
        emit replaceAsked();
        return;
    }
    install(false);
}

void ReaderImportJob::install(bool replace)
{
    ImportOutcome outcome;
    outcome.report = pending->report;
    const QString refusal = replace ? replaceRefusal(readerName) : QString();
    if (!refusal.isEmpty()) {
        outcome.refusals.append(refusal);
        finish(outcome, false);
        return;
    }
    const bool wasInUse = isInUse(readerName);
    outcome = ReaderImporter(library).install(*pending, replace);
    // A reader replaced while in use (no reading goes on) may have another
    // prefix: the program follows the new files.
    if (outcome.imported && wasInUse) {
        library.use(readerName, inUse);
        readerInUseReplaced = true;
    }
    finish(outcome, false);
}

void ReaderImportJob::finish(ImportOutcome outcome, bool wasCancelled)
{
    pending.reset(); // the staging folder goes with it
    lastOutcome = std::move(outcome);
    cancelled = wasCancelled;
    current = State::Idle;
    emit finished();
}
