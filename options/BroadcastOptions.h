#ifndef BROADCASTOPTIONS_H
#define BROADCASTOPTIONS_H

#include "OutputSettings.h"

#include <QGroupBox>

class QCheckBox;
class QPushButton;

// The broadcast choice of the options dialog: one check box, and a button
// opening the server's details (a server of our own or one already
// running, its host, its ports, its buffer, the local client).
class BroadcastOptions : public QGroupBox
{
    Q_OBJECT

public:
    BroadcastOptions(const OutputSettings &settings, QWidget *parent);

    // The settings on screen.
    OutputSettings settings() const;

private:
    void editDetails();

    OutputSettings edited;
    QCheckBox *broadcast = nullptr; // children
    QPushButton *details = nullptr;
};

#endif
