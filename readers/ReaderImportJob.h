#ifndef READERIMPORTJOB_H
#define READERIMPORTJOB_H

#include "ImportProgress.h"
#include "ReaderImporter.h"

#include <QMutex>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QThread;
class QTimer;

// One reader import at a time for the whole program, kept apart from any
// dialog so that it may outlive the one it was started from and run while a
// reading goes on. The reader is gathered and checked on a worker thread;
// the question whether it replaces a reader of the same name comes after the
// check (replaceAsked(), answered with answerReplace()), and the install is
// a pair of renames on the window's thread.
//
// A reader that is in use while a reading goes on is never replaced: the
// reading thread finds its verse files by the reader's folder and prefix, and
// a folder swapped under it would read another reader's verses or none. Such
// an import is refused with the reason, when it starts and again at the
// install (the reading may have begun meanwhile); the staged copy goes.
class ReaderImportJob : public QObject
{
    Q_OBJECT

public:
    enum class State { Idle, Staging, AwaitingAnswer };
    static constexpr int ProgressIntervalMs = 100;

    // readingNow tells whether a reading is going on (asked on this thread).
    // inUse is the program's reader in use: it must outlive the job.
    ReaderImportJob(const ReaderLibrary &library, ReaderInUse &inUse,
                    std::function<bool()> readingNow, QObject *parent = nullptr);
    // Cancels the import and waits for the worker (a file at most).
    ~ReaderImportJob() override;

    State state() const { return current; }
    bool isBusy() const { return current != State::Idle; }

    // Starts an import in the background. Empty when started; otherwise why
    // it was not (one runs already, the reader is in use by a reading).
    QString start(const QString &source, const QString &name, const VersePattern &pattern = {});
    // Stops the import under way; the library stays as it was.
    void cancel();
    // The answer to replaceAsked(): the new reader replaces the old one or goes.
    void answerReplace(bool replace);

    int filesDone() const;
    int filesToDo() const;
    // The reader being imported, or the last one.
    QString name() const { return readerName; }
    // The check of the staged reader, for the replace question.
    ReaderReport stagedReport() const;

    // The last import's end: installed or why not. Cancelled (also a
    // declined replace) says nothing more.
    const ImportOutcome &outcome() const { return lastOutcome; }
    bool wasCancelled() const { return cancelled; }

    // Why an import of the named reader cannot start now (one runs already,
    // the reader is in use by a reading); empty when it can.
    QString refusalToStart(const QString &name) const;
    // Whether the last import replaced the reader in use (then put in use again).
    bool replacedReaderInUse() const { return readerInUseReplaced; }

signals:
    void started();
    void progressed(int done, int toDo);
    void replaceAsked();
    void finished();

private:
    // Why the named reader cannot be replaced now; empty when it can.
    QString replaceRefusal(const QString &name) const;
    bool isInUse(const QString &name) const;
    void staged();
    void install(bool replace);
    void finish(ImportOutcome outcome, bool wasCancelled);

    ReaderLibrary library;
    ReaderInUse &inUse;
    std::function<bool()> readingNow;
    State current = State::Idle;
    QString readerName;
    std::unique_ptr<ImportProgress> progress; // shared with the worker: atomics only
    std::unique_ptr<QThread> worker;
    QTimer *poll = nullptr; // child of this
    QMutex resultMutex;
    std::optional<StagedReader> result; // written by the worker as it ends
    std::optional<StagedReader> pending; // staged, waiting for the replace answer
    ImportOutcome lastOutcome;
    bool cancelled = false;
    bool readerInUseReplaced = false;
};

#endif
