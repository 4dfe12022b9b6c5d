#include "OptionsLauncher.h"

#include "AppSettings.h"
#include "BroadcastController.h"
#include "OptionDialog.h"
#include "PlaySequenceThread.h"
#include "PracticeDialog.h"
#include "ReaderImportJob.h"
#include "ReaderImportStatus.h"
#include "ReaderLibrary.h"
#include "ReadingSession.h"
#include "ReviewViews.h"

#include <QStatusBar>
#include <memory>

OptionsLauncher::OptionsLauncher(QWidget *window, QStatusBar *statusBar, ReadingSession *session,
                                 PlaySequenceThread *thread, AppSettings *settings,
                                 const AppServices &services)
    : QObject(window)
    , window(window)
    , session(session)
    , thread(thread)
    , settings(settings)
    , services(services)
{
    // After the window's status line: while broadcasting, a start refused says why.
    broadcast = new BroadcastController(statusBar, session, services.audio);
    broadcast->apply(settings->output);

    import = new ReaderImportJob(
        ReaderLibrary(services.folder), services.reader,
        [session, thread] { return session->isReading() || thread->GetState() != 0; }, this);
    // The status is made with the first import: widgets hidden until then cost
    // each start some 2 ms.
    connect(import, &ReaderImportJob::started, this, [this, statusBar] {
        if (!status) {
            status = new ReaderImportStatus(import, statusBar);
            statusBar->addPermanentWidget(status);
        }
    });
    connect(import, &ReaderImportJob::finished, this, [this] {
        if (import->replacedReaderInUse())
            emit readerInUseReplaced(); // never during a reading: the job refuses that
    });
}

bool OptionsLauncher::open(bool voice2Available)
{
    const auto dialog =
        std::make_unique<OptionDialog>(window, settings->main.selectVoice(), voice2Available,
                                       thread, settings->audio.shaping(), services.shaping);
    dialog->showReaderControls(settings->voices.reader, services.reader, services.folder);
    dialog->showOutputControls(settings->output);
    dialog->setImportJob(import);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    // In use already; a reader renamed or deleted is followed even on Cancel.
    settings->voices.reader = dialog->reader();
    if (accepted) {
        settings->main.setSelectVoice(dialog->voice());
        settings->audio = AudioSettings::fromShaping(dialog->shaping());
        settings->output = dialog->output();
        broadcast->apply(settings->output);
    }
    return accepted;
}

void OptionsLauncher::openPractice(ReviewViews *views)
{
    const auto dialog = std::make_unique<PracticeDialog>(window, settings->practice);
    dialog->setStatusCardWithPanel(settings->view.statusCardWithPanel);
    if (dialog->exec() == QDialog::Accepted) {
        settings->practice = dialog->settings();
        views->setStatusCardWithPanel(dialog->statusCardWithPanel());
    }
}
