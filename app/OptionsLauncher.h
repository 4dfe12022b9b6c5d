#ifndef OPTIONSLAUNCHER_H
#define OPTIONSLAUNCHER_H

#include "AppServices.h"

#include <QObject>
#include <functional>

struct AppSettings;
class BroadcastController;
class PlaySequenceThread;
class QStatusBar;
class QWidget;
class ReaderImportJob;
class ReaderImportStatus;
class ReadingSession;
class ReviewViews;

// The options and practice dialogs, and the reader import the options start:
// the import is this object's, so it goes on beside a reading after the
// dialog has closed, with its progress and questions in the window's status
// bar. The broadcast follows the output the options set.
class OptionsLauncher : public QObject
{
    Q_OBJECT

public:
    // Everything given outlives this object; `window` owns it.
    OptionsLauncher(QWidget *window, QStatusBar *statusBar, ReadingSession *session,
                    PlaySequenceThread *thread, AppSettings *settings, const AppServices &services);

    // Opens the dialog modally; true when it was accepted and its settings taken.
    bool open(bool voice2Available);
    // Opens the practice settings modally; the views follow what it sets.
    void openPractice(ReviewViews *views);

signals:
    // An import replaced the reader in use (never during a reading).
    void readerInUseReplaced();

private:
    QWidget *window;
    ReadingSession *session;
    PlaySequenceThread *thread;
    AppSettings *settings;
    const AppServices services;
    BroadcastController *broadcast = nullptr; // owned by the status bar
    ReaderImportJob *import = nullptr; // owned by this object; outlives the dialog
    ReaderImportStatus *status = nullptr; // owned by the status bar; made with the first import
};

#endif
