#ifndef MAINWINDOWPROBE_H
#define MAINWINDOWPROBE_H

#include "AppIdentity.h"
#include "MainWindow.h"
#include "PlaySequenceThread.h"
#include "ReadingSession.h"
#include "ui_mainwindow.h"

#include <map>

// main() names the program before it makes the window (the name is the
// settings file's); window tests do the same, before their QApplication.
inline const bool applicationIdentitySet = (SetApplicationIdentity(), true);

// The widgets of each window tests have looked at, by window: a probe may be
// a temporary, the widgets it found outlive it.
inline std::map<const MainWindow *, Ui::MainWindow> &probedWidgets()
{
    static std::map<const MainWindow *, Ui::MainWindow> widgets;
    return widgets;
}

// The main window as tests see it, through its public face only: its widgets
// found by their object names, its settings and its reading session.
struct MainWindowProbe
{
    explicit MainWindowProbe(MainWindow &window)
        : w(window)
        , widgets(probedWidgets()[&window])
    {
#define QTUTAKAZE_FIND(member)                                                                     \
    widgets.member =                                                                               \
        w.findChild<std::remove_pointer_t<decltype(widgets.member)> *>(QStringLiteral(#member))
        QTUTAKAZE_FIND(centralWidget);
        QTUTAKAZE_FIND(Btn_Stop);
        QTUTAKAZE_FIND(Btn_Start);
        QTUTAKAZE_FIND(label);
        QTUTAKAZE_FIND(label_2);
        QTUTAKAZE_FIND(label_3);
        QTUTAKAZE_FIND(label_4);
        QTUTAKAZE_FIND(label_5);
        QTUTAKAZE_FIND(label_6);
        QTUTAKAZE_FIND(label_7);
        QTUTAKAZE_FIND(spinBox_1);
        QTUTAKAZE_FIND(spinBox_2);
        QTUTAKAZE_FIND(checkBox);
        QTUTAKAZE_FIND(Btn_FudaSelect);
        QTUTAKAZE_FIND(Slider_Volume);
        QTUTAKAZE_FIND(Btn_AnkiJikan);
        QTUTAKAZE_FIND(menuBar);
        QTUTAKAZE_FIND(menuFile);
        QTUTAKAZE_FIND(menuHelp);
        QTUTAKAZE_FIND(menuEdit);
        QTUTAKAZE_FIND(menuReading);
        QTUTAKAZE_FIND(menuView);
        QTUTAKAZE_FIND(mainToolBar);
        QTUTAKAZE_FIND(statusBar);
        QTUTAKAZE_FIND(actionPoemPanel);
        QTUTAKAZE_FIND(actionHistory);
        QTUTAKAZE_FIND(actionQuit);
        QTUTAKAZE_FIND(actionAbout);
        QTUTAKAZE_FIND(actionAboutQt);
        QTUTAKAZE_FIND(actionDataFolders);
        QTUTAKAZE_FIND(actionFuda);
        QTUTAKAZE_FIND(actionOption);
        QTUTAKAZE_FIND(actionPractice);
        QTUTAKAZE_FIND(actionNext);
        QTUTAKAZE_FIND(actionRepeat);
#undef QTUTAKAZE_FIND
    }
    MainWindow &w;
    Ui::MainWindow &widgets;

    Ui::MainWindow *ui() const
    {
        return &widgets;
    }
    QList<int> fudaList() const
    {
        return w.Settings().main.fudaList();
    }
    QList<int> playList() const
    {
        return w.Session()->playList();
    }
    bool chkJoka() const
    {
        return w.Settings().main.chkJoka();
    }
    int wait1Time() const
    {
        return w.Settings().main.wait1Time();
    }
    int wait2Time() const
    {
        return w.Settings().main.wait2Time();
    }
    int selectVoice() const
    {
        return w.Settings().main.selectVoice();
    }
    bool inSequence() const
    {
        return w.Session()->isReading();
    }
    bool isPlaying() const
    {
        return w.Session()->isPlaying();
    }
    int playCount() const
    {
        return w.Session()->playCount();
    }
    int fudaCount() const
    {
        return w.Session()->cardCount();
    }
    QSet<int> deadCards() const
    {
        return w.Session()->deadCards();
    }
    PlaySequenceThread *thread() const
    {
        return w.SequenceThread();
    }
};

#endif
