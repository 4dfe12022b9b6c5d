#ifndef RECORDINGCUES_H
#define RECORDINGCUES_H

#include "CuePlayer.h"

#include <QStringList>

// The timer's cues, only noted down: which were asked for, in order.
class RecordingCues : public CuePlayer
{
public:
    void playCue(const QString &name) override { names.append(name); }

    QStringList names;
};

#endif
