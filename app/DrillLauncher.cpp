#include "DrillLauncher.h"

#include "AppFolder.h"
#include "AppSettings.h"
#include "DrillWindow.h"
#include "EngineDrillReader.h"
#include "ReadingSession.h"

#include <QAction>
#include <QSettings>

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
    auto *reader =
        new EngineDrillReader(settings->main.selectVoice(), services.voices, services.shaping);
    drill = new DrillWindow(reader, services.folder.path(), iniPath, window);
    // Deleted after the window's destructor has stopped it: its thread is
    // joined when the drill is closed, or with the main window at the latest.
    reader->setParent(drill);
    drill->setAttribute(Qt::WA_DeleteOnClose);
    drill->setWindowModality(Qt::ApplicationModal);
    drill->setSelectedCards(settings->main.fudaList());
    drill->setPauses(settings->main.wait1Time() * 1000, settings->main.wait2Time() * 1000);
    connect(drill, &QObject::destroyed, this, &DrillLauncher::takeSavedCardSets);
    drill->show();
}

void DrillLauncher::takeSavedCardSets()
{
    QSettings file(iniPath, QSettings::IniFormat);
    const CardSets saved = CardSets::load(file);
    for (const QString &name : saved.names()) {
        if (!settings->cardSets.contains(name))
            settings->cardSets.insert(name, saved.cards(name));
    }
}
