#ifndef VOICESETTINGS_H
#define VOICESETTINGS_H

#include <QString>

class QSettings;

// The reader of the library chosen in place of the two voices, kept in group
// VOICES of the settings file (Reader=NAME). Empty while the two voices of
// SelectVoice read; the group is then not written at all (and removed if it
// was there), so the file of someone who never chose a reader stays as it was.
// A name that is not a usable folder name reads as empty.
struct VoiceSettings
{
    QString reader;

    // A reader's name is a folder name in voices/: not empty, at most 64
    // characters, no path separator or control character, no leading dot
    // and no blanks at its ends.
    static bool isUsableName(const QString &name);

    static VoiceSettings load(QSettings &settings);
    void save(QSettings &settings) const;

    friend bool operator==(const VoiceSettings &, const VoiceSettings &) = default;
};

#endif
