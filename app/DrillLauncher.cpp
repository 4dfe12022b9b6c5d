#include "DrillLauncher.h"

#include "AppFolder.h"
#include "AppSettings.h"
#include "DrillWindow.h"
#include "EngineDrillReader.h"
#include "ReadingSession.h"

#include <QAction>
#include <QMessageBox>

DrillLauncher::DrillLauncher(QWidget *parentWindow, ReadingSession *readingSession,
                             AppSettings *appSettings, const QString &settingsFile, QAction *action,
                             const AppServices &appServices)
    : QObject(parentWindow)
    , window(parentWindow)
    , session(readingSession)
    , settings(appSettings)
    , iniPath(settingsFile)
    , services(appServices)
{
    connect(action, &QAction::triggered, this, &DrillLauncher::open);
}

void DrillLauncher::open()
{
    if (session->isReading() || drill)
        return;
    if (settings->output.broadcast) {
        QMessageBox::information(
            window, tr("ドリル"),
            tr("ドリルは配信できません: 反応時間はこのコンピューターの音声出力の時計で計ります。"
               "オプションで配信をやめてからドリルを開いてください。"));
        return;
    }
    auto *reader = new EngineDrillReader(settings->main.selectVoice(), services.audio,
                                         services.voices, services.shaping);
    drill = new DrillWindow(reader, services.folder.path(), iniPath, window);
    // Deleted after the window's destructor has stopped it: its thread is
    // joined when the drill is closed, or with the main window at the latest.
    reader->setParent(drill);
    drill->setAttribute(Qt::WA_DeleteOnClose);
    drill->setWindowModality(Qt::ApplicationModal);
    drill->setSelectedCards(settings->main.fudaList());
    // Its own pace and the card sets it saves live in the window's settings.
    drill->useSettings(settings);
    connect(drill, &DrillWindow::settingsChanged, this, &DrillLauncher::settingsChanged);
    drill->show();
}
