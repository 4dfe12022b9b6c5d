#ifndef APPSETTINGS_H
#define APPSETTINGS_H

#include "AudioSettings.h"
#include "CardSets.h"
#include "DrillFieldSettings.h"
#include "DrillSettings.h"
#include "MainSettings.h"
#include "OutputSettings.h"
#include "PracticeSettings.h"
#include "ViewSettings.h"
#include "VoiceSettings.h"

#include <QString>

// The whole settings file (INI), one member per group.
//
// Each group is a small class of its own in this folder, with its defaults
// and clamping rules, and the same two functions:
//     static X load(QSettings &settings);  // reads its group; never fails
//     void save(QSettings &settings) const; // writes its group's keys
// Each one calls beginGroup()/endGroup() itself. Adding a group is a new
// class, a member here and one line in load() and in save(). Groups and keys
// this version does not know stay in the file as they are, so an older
// version still reads what a newer one wrote.
struct AppSettings
{
    MainSettings main; // [SETTING]
    PracticeSettings practice; // [PRACTICE]
    AudioSettings audio; // [AUDIO], written only while not at its defaults
    ViewSettings view; // [VIEW], written only while not at its defaults
    VoiceSettings voices; // [VOICES], written only while a reader of the library is chosen
    DrillSettings drill; // [DRILL], written only while not at its defaults
    OutputSettings output; // [OUTPUT], written only once a broadcast was switched on
    CardSets cardSets; // [CardSets], only the sets saved or deleted since loading are written
    DrillFieldSettings drillField; // [DRILL_FIELD], written only while not at its defaults

    // Missing or unreadable file: the defaults.
    static AppSettings load(const QString &path);
    // False when the file could not be written (a read-only folder): the
    // file on disk is then left as it was.
    bool save(const QString &path) const;
};

#endif
