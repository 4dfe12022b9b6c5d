#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "AppSettings.h"
#include "ReadingHistory.h"
#include "ReadingOrder.h"
#include "ViewSettings.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QMainWindow>
#include <QSet>
#include <QString>
#include <memory>

namespace Ui {
class MainWindow;
}
class PlaySequenceThread;
class KimarijiModel;
class PoemPanel;
class HistoryWindow;
class SettingsAutoSave;

// The FudaList settings string: the card numbers in list order, joined by ",".
QString MakeFudaListString(const QList<int> *list);

// The application's window: settings, the reading order, and the control of
// the reading thread with its progress in the status bar.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Starts a reading of exactly these cards in this order (no shuffle), the
    // preamble first when it is on; `dead` are the cards among them that are
    // not on the tatami. Refused (false) during a reading, without cards, or
    // when the voice is missing.
    bool ReadInOrder(const QList<int> &order, const QSet<int> &dead);

    // Remote control (media keys): the reading's state, and the Start and
    // Stop buttons' actions. Both actions are refused while a dialog is open
    // or (Start) while the button is disabled; the stop asks no question.
    bool IsReading() const { return inSequence; }
    bool IsPlaying() const { return isPlaying; }
    bool CanStartRemotely() const;
    void StartOrPauseRemotely();
    void StopRemotely();
    // Next and Repeat of a running reading (no question to answer either).
    void NextRemotely();
    void RepeatRemotely();
    // Shows the window over the others (a second start in the same folder).
    void BringToFront();

signals:
    // A reading started, paused, resumed or ended.
    void PlaybackChanged();
    // The upper verse of a card began.
    void CardStarted(int fudaNum);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_actionQuit_triggered();
    void on_actionAbout_triggered();
    void on_actionAboutQt_triggered();
    void on_actionDataFolders_triggered();
    void on_Btn_Start_clicked();
    void on_Btn_Stop_clicked();
    void on_Btn_FudaSelect_clicked();
    void on_spinBox_1_valueChanged(int arg1);
    void on_spinBox_2_valueChanged(int arg1);
    void on_checkBox_toggled(bool checked);
    void on_actionFuda_triggered();
    void SequencStartded();
    void Music1Starteded(int fudaNum);
    void Music1Ended();
    void Music2Starteded(int fudaNum);
    void Music2Ended();
    void SequenceEnded(int status);
    void on_actionOption_triggered();
    void on_Slider_Volume_valueChanged(int value);
    void on_Btn_AnkiJikan_clicked();
    void on_actionPractice_triggered();
    void on_actionNext_triggered();
    void on_actionRepeat_triggered();

private:
    friend struct MainWindowProbe; // tests read the reading state

    void LoadSaveSetting(const QString &fileName, bool save);
    void SetSettingControlsEnabled(bool enabled);
    void PrepareReading(const ReadingSetup &setup);
    void HandReadingToThread();
    void SetPlaying(bool playing);
    void SetReadingControlsEnabled(bool enabled);
    void ReportAdjustedSettings() const;

    // Review of what was read: poem panel, deciding syllables, history.
    void SetUpReview();
    void SaveViewSettings(const QString &fileName);
    void ShowHistoryWindow();
    void BeginReadingRecord();
    void RecordCardRead(int card);
    void FinishReadingRecord();

    AppSettings settings; // what the file holds and the window shows
    std::unique_ptr<Ui::MainWindow> ui;
    QString settingFileName;
    bool inSequence = false;
    bool isPlaying = false;
    QList<int> playList;
    std::unique_ptr<PlaySequenceThread> seqThread;
    bool voice2Available = false;
    int playCount = 0;
    int fudaCount = 0;
    int lastFudaNum = -1;

    // Cards of the current reading that are not on the tatami.
    QSet<int> deadCards;
    std::unique_ptr<KimarijiModel> kimariji;
    QList<HistoryEntry> readingRecord;
    QDateTime readingStartedAt;
    QElapsedTimer readingClock;
    ViewSettings viewSettings;
    PoemPanel *poemPanel = nullptr; // a window of its own, owned by this one
    HistoryWindow *historyWindow = nullptr; // made when first opened, owned by this one
    SettingsAutoSave *autoSave = nullptr; // owned by this window
};

#endif
