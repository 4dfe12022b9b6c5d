#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "AppSettings.h"

#include <QList>
#include <QMainWindow>
#include <QSet>
#include <QString>
#include <memory>

namespace Ui {
class MainWindow;
}
class PlaySequenceThread;

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

private slots:
    void on_actionQuit_triggered();
    void on_actionAbout_triggered();
    void on_actionAboutQt_triggered();
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
    void SetReadingControlsEnabled(bool enabled);
    // The cards of a new reading (the selected ones and the dead cards drawn
    // for it) shuffled into playList; fills deadCards.
    void MakePlayList();
    void HandReadingToThread();

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
    QSet<int> deadCards;        // the cards drawn in for the current reading, not on the tatami
};

#endif
