#include "MprisBridge.h"

#include "CardCatalog.h"
#include "Logging.h"
#include "MainWindow.h"
#include "MprisController.h"
#include "PoemTable.h"
#include "ReadingSession.h"

#include <QApplication>
#include <utility>

namespace {

// A request from outside counts only while no dialog waits for an answer.
bool noDialogOpen()
{
    return !QApplication::activeModalWidget();
}

} // namespace

MprisBridge::MprisBridge(MainWindow *window, ReadingSession *session, MprisController *controller)
    : QObject(window)
    , session(session)
    , controller(controller)
{
    const auto whenFree = [](auto action) {
        return [action] {
            if (noDialogOpen())
                action();
        };
    };
    connect(controller, &MprisController::playPauseRequested, this,
            whenFree([session] { session->startOrPause(); }));
    connect(controller, &MprisController::playRequested, this, whenFree([session] {
                if (!session->isPlaying())
                    session->startOrPause();
            }));
    connect(controller, &MprisController::pauseRequested, this, whenFree([session] {
                if (session->isPlaying())
                    session->startOrPause();
            }));
    connect(controller, &MprisController::stopRequested, this,
            whenFree([session] { session->stop(); }));
    connect(controller, &MprisController::nextRequested, this,
            whenFree([session] { session->next(); }));
    connect(controller, &MprisController::previousRequested, this,
            whenFree([session] { session->repeat(); }));
    connect(controller, &MprisController::raiseRequested, window, &MainWindow::BringToFront);
    // As a quit signal does: every loop is left, open dialogs included.
    connect(controller, &MprisController::quitRequested, this, [] { QCoreApplication::exit(0); });
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

    connect(session, &ReadingSession::readingStarted, this, &MprisBridge::publishState);
    connect(session, &ReadingSession::playingChanged, this, &MprisBridge::publishState);
    connect(session, &ReadingSession::readingEnded, this, &MprisBridge::publishState);
    connect(session, &ReadingSession::upperVerseStarted, this, &MprisBridge::publishCard);
    publishState();
}

QString MprisBridge::cardTitle(int fudaNum)
{
    return tr("第%1首 %2").arg(QString::number(fudaNum), PoemTable::firstPhrase(fudaNum));
}

void MprisBridge::publishState()
{
    const bool reading = session->isReading();
    controller->setCanPlay(reading || (session->canStart() && noDialogOpen()));
    controller->setCanGoNext(reading);
    controller->setCanGoPrevious(reading);
    if (session->isPlaying())
        controller->setStatus(MprisController::Status::Playing);
    else if (reading)
        controller->setStatus(MprisController::Status::Paused);
    else
        controller->setStatus(MprisController::Status::Stopped);
    if (!reading)
        controller->clearCard();
}

void MprisBridge::publishCard(int fudaNum)
{
    controller->setCard(fudaNum, cardTitle(fudaNum), CardCatalog::builtIn().poet(fudaNum));
}
