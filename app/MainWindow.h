#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "AppServices.h"
#include "AppSettings.h"
#include "ReadingSession.h"

#include <QList>
#include <QMainWindow>
#include <QSet>
#include <QString>
#include <memory>

namespace Ui {
class MainWindow;
}
class OptionsLauncher;
class PlaySequenceThread;
class ReadingStatusLine;
class ReviewViews;
class SequenceThreadEngine;
class SettingsFile;

// The FudaList settings string: the card numbers in list order, joined by ",".
inline QString MakeFudaListString(const QList<int> *list)
{
    return MainSettings::fudaListText(*list);
}

// The application's window: it shows the settings and a reading, and hands
// what the user does to the reading session, which owns the reading.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // What services refers to outlives the window.
    explicit MainWindow(const AppServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The reading behind every control of the program.
    ReadingSession *Session() const { return session.get(); }
    // The settings as the window holds them (written when it closes).
    const AppSettings &Settings() const { return settings; }
    // Whether the second voice is there (the options dialog offers it).
    bool Voice2Available() const { return voice2Available; }
    // The reading thread, which the options dialog's sample also uses.
    PlaySequenceThread *SequenceThread() const { return seqThread.get(); }

    // Shows the window over the others (a second start in the same folder).
    void BringToFront();
    // Opens the sound device if main() held it back until the window was
    // shown, and says so in the status bar when it cannot be opened.
    void openHeldBackOutput();

signals:
    // The upper verse of a card began.
    void CardStarted(int fudaNum);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_actionQuit_triggered() { close(); }
    void on_actionAbout_triggered();
    void on_actionAboutQt_triggered();
    void on_actionDataFolders_triggered();
    void on_Btn_Start_clicked() { session->startOrPause(); }
    void on_Btn_Stop_clicked();
    void on_Btn_FudaSelect_clicked();
    void on_spinBox_1_valueChanged(int arg1) { settings.main.setWait1Time(arg1); }
    void on_spinBox_2_valueChanged(int arg1) { settings.main.setWait2Time(arg1); }
    void on_checkBox_toggled(bool checked) { settings.main.setChkJoka(checked); }
    void on_actionFuda_triggered() { on_Btn_FudaSelect_clicked(); }
    // The reading's moments, as the session reports them; only the start of
    // an upper verse and the end show anything.
    void SequencStartded() {}
    void Music1Starteded(int fudaNum);
    void Music1Ended() {}
    void Music2Starteded(int fudaNum) { Q_UNUSED(fudaNum) }
    void Music2Ended() {}
    void SequenceEnded(int status);
    void on_actionOption_triggered();
    void on_Slider_Volume_valueChanged(int value);
    void on_Btn_AnkiJikan_clicked();
    void on_actionPractice_triggered();
    void on_actionNext_triggered() { session->next(); }
    void on_actionRepeat_triggered() { session->repeat(); }

private:
    void LoadSaveSetting(const QString &fileName, bool save);
    void ConnectSession();
    bool ProbeVoices();
    void ShowReadingState();

    AppServices services;
    AppSettings settings; // what the file holds and the window shows
    std::unique_ptr<Ui::MainWindow> ui;
    QString settingFileName;
    SettingsFile *settingsFile = nullptr; // owned by this window
    bool voice2Available = false;
    // Destroyed in reverse order: the session before its engine, the engine
    // before the thread it listens to.
    std::unique_ptr<PlaySequenceThread> seqThread;
    std::unique_ptr<SequenceThreadEngine> engine;
    std::unique_ptr<ReadingSession> session;
    ReviewViews *reviewViews = nullptr; // owned by this window
    ReadingStatusLine *statusLine = nullptr; // owned by the status bar
    OptionsLauncher *options = nullptr; // owned by this window
};

#endif
