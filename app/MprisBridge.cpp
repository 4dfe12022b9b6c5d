#include "MprisBridge.h"

#include "CardCatalog.h"
#include "Logging.h"
#include "MainWindow.h"
#include "MprisController.h"
#include "PoemTable.h"

#include <QCoreApplication>
#include <utility>

MprisBridge::MprisBridge(MainWindow *window, MprisController *controller)
    : QObject(window)
    , window(window)
    , controller(controller)
{
    connect(controller, &MprisController::playPauseRequested, window,
            &MainWindow::StartOrPauseRemotely);
    connect(controller, &MprisController::playRequested, window, [window] {
        if (!window->IsPlaying())
            window->StartOrPauseRemotely();
    });
    connect(controller, &MprisController::pauseRequested, window, [window] {
        if (window->IsPlaying())
            window->StartOrPauseRemotely();
    });
    connect(controller, &MprisController::stopRequested, window, &MainWindow::StopRemotely);
    // Next and Previous are the reading's Next and Repeat.
    connect(controller, &MprisController::nextRequested, window, &MainWindow::NextRemotely);
    connect(controller, &MprisController::previousRequested, window, &MainWindow::RepeatRemotely);
    connect(controller, &MprisController::raiseRequested, window, &MainWindow::BringToFront);
    // As a quit signal does: every loop is left, open dialogs included.
    connect(controller, &MprisController::quitRequested, window, [] { QCoreApplication::exit(0); });
    const std::pair<void (MprisController::*)(), const char *> requests[] = {
        {&MprisController::playPauseRequested, "PlayPause"},
        {&MprisController::playRequested, "Play"},
        {&MprisController::pauseRequested, "Pause"},
        {&MprisController::stopRequested, "Stop"},
        {&MprisController::nextRequested, "Next"},
        {&MprisController::previousRequested, "Previous"},
    };
    for (const auto &[request, name] : requests)
        connect(controller, request, this,
                [name] { qCDebug(lcReading, "remote control: %s", name); });

    connect(window, &MainWindow::PlaybackChanged, this, &MprisBridge::publishState);
    connect(window, &MainWindow::CardStarted, this, &MprisBridge::publishCard);
    publishState();
}

QString MprisBridge::cardTitle(int fudaNum)
{
    return tr("第%1首 %2").arg(QString::number(fudaNum), PoemTable::firstPhrase(fudaNum));
}

void MprisBridge::publishState()
{
    controller->setCanPlay(window->CanStartRemotely() || window->IsReading());
    controller->setCanGoNext(window->IsReading());
    controller->setCanGoPrevious(window->IsReading());
    if (window->IsPlaying())
        controller->setStatus(MprisController::Status::Playing);
    else if (window->IsReading())
        controller->setStatus(MprisController::Status::Paused);
    else
        controller->setStatus(MprisController::Status::Stopped);
    if (!window->IsReading())
        controller->clearCard();
}

void MprisBridge::publishCard(int fudaNum)
{
    controller->setCard(fudaNum, cardTitle(fudaNum), CardCatalog::builtIn().poet(fudaNum));
}
