#ifndef DRILLSETUPPANEL_H
#define DRILLSETUPPANEL_H

#include <QString>
#include <QStringList>
#include <QWidget>

struct DrillSettings;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

// The choices made before a drill: where the field's cards come from, how
// many with how many dead cards, the pauses, the voice and the listening
// drill. It shows the drill settings and writes the player's changes back
// into them; the window decides what they mean.
class DrillSetupPanel : public QWidget
{
    Q_OBJECT

public:
    enum class Source { Selected, CardSet, WeakCards };
    static constexpr int MinCards = 5;
    static constexpr int MaxCards = 50;

    explicit DrillSetupPanel(QWidget *parent = nullptr);

    // Shows the stored pauses and mode without reporting them as changed.
    void showSettings(const DrillSettings &drill);
    // The pauses and mode as the player set them.
    void writeSettings(DrillSettings &drill) const;
    // Sets the pause boxes as if the player had (settingsEdited() follows).
    void setPauses(int beforeLowerMs, int beforeNextMs);

    Source source() const;
    void setSource(Source chosen);
    // The card sets to choose from; the chosen one stays chosen if it is still there.
    void setCardSetNames(const QStringList &names);
    QString cardSetName() const;
    int cardCount() const;
    int deadCards() const;
    bool isListening() const;
    void setVoiceName(const QString &name);

    // Nothing changes during a drill; refusal says why the listening drill
    // cannot be run (empty when it can).
    void setRunning(bool running, const QString &listeningRefusal);

signals:
    void sourceChanged();
    // A pause or the listening mode was changed by the player.
    void settingsEdited();

private:
    QComboBox *sourceBox = nullptr;
    QComboBox *cardSet = nullptr;
    QSpinBox *count = nullptr;
    QSpinBox *deadCount = nullptr;
    QLabel *voice = nullptr;
    QDoubleSpinBox *lowerPause = nullptr;
    QDoubleSpinBox *nextPause = nullptr;
    QCheckBox *listening = nullptr;
};

#endif
