#ifndef DRILLLAUNCHER_H
#define DRILLLAUNCHER_H

#include "AppServices.h"

#include <QObject>
#include <QPointer>
#include <QString>

struct AppSettings;
class DrillWindow;
class QAction;
class QWidget;
class ReadingSession;

// Opens the take drill from its menu item: not during a reading, like the
// other dialogs, with the cards checked in the card selection and the voice
// in use; its own pace is in the settings it shares with the window. The drill window is modal, so neither a
// reading nor a remote control plays over a drill, and it goes with its
// reader (whose player's thread it joins) when it is closed. Card sets the
// drill saves go into the window's settings, so the card selection offers
// them and the settings file keeps them.
class DrillLauncher : public QObject
{
    Q_OBJECT

public:
    // Everything given outlives this object; `window` owns it and the drill window.
    DrillLauncher(QWidget *window, ReadingSession *session, AppSettings *settings,
                  const QString &iniPath, QAction *action, const AppServices &services);

signals:
    // The drill changed a setting: the settings file is to be written.
    void settingsChanged();

private:
    void open();

    QWidget *window;
    ReadingSession *session;
    AppSettings *settings;
    QString iniPath;
    AppServices services;
    QPointer<DrillWindow> drill;
};

#endif
