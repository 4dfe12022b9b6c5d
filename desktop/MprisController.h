#ifndef MPRISCONTROLLER_H
#define MPRISCONTROLLER_H

#include <QObject>
#include <QString>
#include <QVariantMap>

// The program as an MPRIS 2 media player on the session bus
// (org.mpris.MediaPlayer2.QtUtakaze at /org/mpris/MediaPlayer2), so desktop
// media keys and remotes such as playerctl can drive the reading. It only
// reports requests as signals and publishes the state it is given; the
// window decides what a request does. Without a session bus it stays
// unregistered and silent.
class MprisController : public QObject
{
    Q_OBJECT

public:
    enum class Status { Stopped, Playing, Paused };

    explicit MprisController(QObject *parent = nullptr);
    ~MprisController() override;

    // Registers the object and a bus name; false (quietly) without a bus.
    // When another program has the name, a name with ".instance<pid>" is
    // taken, as MPRIS asks.
    bool registerOnSessionBus();
    QString busName() const { return registeredName; }

    void setStatus(Status status);
    // The card being read: number 1..100, its title and poet.
    void setCard(int number, const QString &title, const QString &poet);
    void clearCard();
    void setCanPlay(bool can);
    // Next and Previous stay refused until a reading offers them.
    void setCanGoNext(bool can);
    void setCanGoPrevious(bool can);

    // Read by the adaptors.
    Status status() const { return currentStatus; }
    QString statusText() const;
    QVariantMap metadata() const { return currentMetadata; }
    bool canPlay() const { return playAllowed; }
    bool canGoNext() const { return nextAllowed; }
    bool canGoPrevious() const { return previousAllowed; }

    // The object path of a card's track id.
    static QString trackPath(int number);

signals:
    void playPauseRequested();
    void playRequested();
    void pauseRequested();
    void stopRequested();
    void nextRequested();
    void previousRequested();
    void raiseRequested();
    void quitRequested();

private:
    void notifyPlayerChanged(const QVariantMap &changed);

    QString registeredName;
    Status currentStatus = Status::Stopped;
    QVariantMap currentMetadata;
    bool playAllowed = true;
    bool nextAllowed = false;
    bool previousAllowed = false;
};

#endif
