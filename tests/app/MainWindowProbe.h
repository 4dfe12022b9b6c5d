#ifndef MAINWINDOWPROBE_H
#define MAINWINDOWPROBE_H

#include "MainWindow.h"
#include "PlaySequenceThread.h"
#include "ui_mainwindow.h"

// Read access to the main window's state for tests.
struct MainWindowProbe
{
    explicit MainWindowProbe(MainWindow &window)
        : w(window)
    {
    }
    MainWindow &w;

    Ui::MainWindow *ui() const { return w.ui.get(); }
    QList<int> fudaList() const { return w.settings.main.fudaList(); }
    QList<int> playList() const { return w.playList; }
    bool chkJoka() const { return w.settings.main.chkJoka(); }
    int wait1Time() const { return w.settings.main.wait1Time(); }
    int wait2Time() const { return w.settings.main.wait2Time(); }
    int selectVoice() const { return w.settings.main.selectVoice(); }
    bool voice2Available() const { return w.voice2Available; }
    bool inSequence() const { return w.inSequence; }
    bool isPlaying() const { return w.isPlaying; }
    int playCount() const { return w.playCount; }
    int fudaCount() const { return w.fudaCount; }
    QSet<int> deadCards() const { return w.deadCards; }
    PlaySequenceThread *thread() const { return w.seqThread.get(); }
    void setFudaList(const QList<int> &list) { w.settings.main.setFudaList(list); }
};

#endif
