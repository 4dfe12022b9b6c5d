#ifndef DRILLWINDOW_H
#define DRILLWINDOW_H

#include "DrillFieldSettings.h"
#include "DrillResultsView.h"
#include "DrillRounds.h"
#include "DrillSetupPanel.h"

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

struct AppSettings;
class DrillField;
class DrillGameField;
class DrillReader;
class QComboBox;
class QShortcut;
class QStackedWidget;
class QLabel;
class QPushButton;

// The take drill: set up which cards lie on the field, run the rounds through
// a DrillReader, record each drill in the training folder and show per card
// how the recent drills went. The rounds and the statistics decide; the
// window shows them and forwards clicks and the reader's reports.
class DrillWindow : public QWidget
{
    Q_OBJECT

public:
    using Source = DrillSetupPanel::Source;
    static constexpr int RecentDrills = 50; // drills the statistics look at
    static constexpr int ChartCards = DrillResultsView::ChartCards;

    // appFolder holds training/; iniPath is the settings file with the card sets.
    DrillWindow(DrillReader *reader, const QString &appFolder, const QString &iniPath,
                QWidget *parent = nullptr);
    ~DrillWindow() override;

    // The program's settings, kept by the main window: the drill's pace,
    // mode and place, and the card sets, are read and changed there (and
    // settingsChanged() says so). Without them the window keeps its own,
    // read from and written to iniPath.
    void useSettings(AppSettings *shared);

    // The cards checked in the card selection.
    void setSelectedCards(const QList<int> &cards);
    // The pauses before a lower verse and before the next card.
    void setPauses(int beforeLowerMs, int beforeNextMs);
    void setTakeLimitMs(qint64 limitMs) { takeLimitMs = limitMs; }

    bool isRunning() const { return rounds != nullptr; }
    // The cards a new drill would lay out from the chosen source.
    QList<int> sourceCards() const;
    QList<int> weakCards() const { return weak; }
    DrillField *field() const { return fieldView; }
    DrillGameField *gameField() const { return gameView; }

    // Grid or game field, and the player's own arrangement on the game field
    // (kept in the settings' drillField).
    void setFieldSettings(const DrillFieldSettings &choice);
    DrillFieldSettings fieldSettings() const { return fieldChoice; }

    void startDrill();
    void stopDrill();

signals:
    void runningChanged(bool running);
    // A drill was written to the training folder (or could not be).
    void drillSaved(const QString &path);
    // A setting was changed in the program's settings (see useSettings()).
    void settingsChanged();
    // The layout was chosen or the player's arrangement changed.
    void fieldSettingsChanged();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void pump();
    void onVerseStarted(int card, int half, qint64 startMs, qint64 trimmedLeadMs, double speed);
    void onVerseEnded(int card, int half);
    void onCardPressed(int card);
    void onDeadline();
    void onNext();
    void scheduleDeadline();
    void showRoundEnd(const DrillRoundEnd &end);
    void finishDrill();
    void refreshStatistics();
    void refreshCardSets();
    void saveWeakCards();
    void updateButtons();
    // The chart in the board, made and added the first time it shows.
    void showChart();
    // The Next keys skip a pause only between rounds: during a take Space,
    // Enter and the arrows belong to the field.
    void updateKeys();
    void onNextKey();
    void onEscape();
    void applySettings();
    void changeSettings();
    void storePlace();
    // Why the listening drill cannot be run now; empty when it can.
    QString listeningRefusal() const;
    void layOutField(const DrillDeal &deal);
    void showFieldChoice();
    void keepOwnSlots();
    void storeFieldChoice();

    QPointer<DrillReader> reader;
    QString trainingFolder;
    QString settingsFile;
    std::unique_ptr<AppSettings> ownSettings; // without shared ones
    AppSettings *settings = nullptr; // the shared ones or ownSettings
    bool placed = false; // the window's place has been restored once
    QList<int> selected;
    QList<int> weak;
    int beforeLowerMs = DrillRounds::DefaultUpperPauseMs;
    int beforeNextMs = DrillRounds::DefaultNextPauseMs;
    qint64 takeLimitMs = DrillRounds::DefaultLimitMs;
    std::unique_ptr<DrillRounds> rounds;
    QDateTime startedAt;
    QTimer deadline;

    DrillSetupPanel *setupPanel = nullptr; // source, count, pauses, voice and listening
    QList<QShortcut *> nextKeys;
    QPushButton *start = nullptr;
    QPushButton *stop = nullptr;
    QPushButton *next = nullptr;
    QPushButton *repeat = nullptr;
    DrillField *fieldView = nullptr;
    DrillFieldSettings fieldChoice;
    QComboBox *fieldKind = nullptr;
    QPushButton *shuffleOwn = nullptr;
    DrillGameField *gameView = nullptr;
    QLabel *feedback = nullptr;
    QLabel *status = nullptr;
    QStackedWidget *board = nullptr; // the field during a drill, the chart between drills
    DrillResultsView *results = nullptr; // the chart, the score line and the places' table
    QPushButton *drillWeak = nullptr;
    QPushButton *saveWeak = nullptr;
};

#endif
