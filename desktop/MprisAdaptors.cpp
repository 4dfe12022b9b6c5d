#include "MprisAdaptors.h"

#include "MprisController.h"

MprisRootAdaptor::MprisRootAdaptor(MprisController *controller)
    : QDBusAbstractAdaptor(controller)
    , controller(controller)
{
}

void MprisRootAdaptor::Raise()
{
    emit controller->raiseRequested();
}

void MprisRootAdaptor::Quit()
{
    emit controller->quitRequested();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisController *controller)
    : QDBusAbstractAdaptor(controller)
    , controller(controller)
{
}

QString MprisPlayerAdaptor::playbackStatus() const
{
    return controller->statusText();
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    return controller->metadata();
}

bool MprisPlayerAdaptor::canGoNext() const
{
    return controller->canGoNext();
}

bool MprisPlayerAdaptor::canGoPrevious() const
{
    return controller->canGoPrevious();
}

bool MprisPlayerAdaptor::canPlay() const
{
    return controller->canPlay();
}

bool MprisPlayerAdaptor::canPause() const
{
    return controller->status() == MprisController::Status::Playing;
}

// MPRIS: a request that the player cannot honour has no effect.
void MprisPlayerAdaptor::Next()
{
    if (controller->canGoNext())
        emit controller->nextRequested();
}

void MprisPlayerAdaptor::Previous()
{
    if (controller->canGoPrevious())
        emit controller->previousRequested();
}

void MprisPlayerAdaptor::Pause()
{
    if (controller->status() == MprisController::Status::Playing)
        emit controller->pauseRequested();
}

void MprisPlayerAdaptor::PlayPause()
{
    emit controller->playPauseRequested();
}

void MprisPlayerAdaptor::Stop()
{
    if (controller->status() != MprisController::Status::Stopped)
        emit controller->stopRequested();
}

void MprisPlayerAdaptor::Play()
{
    if (controller->status() != MprisController::Status::Playing && controller->canPlay())
        emit controller->playRequested();
}

void MprisPlayerAdaptor::Seek(qlonglong offset)
{
    Q_UNUSED(offset) // a verse is read whole
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath &trackId, qlonglong position)
{
    Q_UNUSED(trackId)
    Q_UNUSED(position)
}

void MprisPlayerAdaptor::OpenUri(const QString &uri)
{
    Q_UNUSED(uri) // no files are opened from outside
}
