#ifndef OPTIONDIALOG_H
#define OPTIONDIALOG_H

#include "AudioShaping.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class PlaySequenceThread;
class QTimer;

namespace Ui {
class OptionDialog;
}

// Lets the user choose the voice that reads the poems and hear a sample of
// the voice on screen (the preamble poem) through the main window's reading
// thread. The chosen voice is taken only on acceptance.
//
// Given a shaping, the dialog also edits the verse shaping (trim, loudness,
// speed) in controls below the voice choice. While it is open the shaping on
// screen is the one in force (AudioShapingStore), so the sample sounds as
// chosen; unless accepted, the shaping in force before is put back when the
// dialog goes.
class OptionDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int PollIntervalMs = 1000; // how often the sample's end is looked for

    // voice: 0 first voice, anything else the second; thread may be null
    // (then no sample can be played). The thread is borrowed, not owned.
    OptionDialog(QWidget *parent, int voice, bool voice2Available, PlaySequenceThread *thread);
    OptionDialog(QWidget *parent, int voice, bool voice2Available, PlaySequenceThread *thread,
                 const AudioShaping &shaping);
    ~OptionDialog() override;

    // The voice given to the constructor until accepted; then 0 for the first
    // voice, 1 for the second.
    int voice() const;

    // The shaping given to the constructor until accepted; then the one on
    // screen. The default shaping when the dialog does not edit shaping.
    AudioShaping shaping() const;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();
    void on_Btn_TestPlay_clicked();
    void TimeoutDone();

private:
    int voiceOnScreen() const;
    AudioShaping shapingOnScreen() const;
    void showShapingControls(const AudioShaping &shaping);
    void putShapingOnScreenInForce();

    std::unique_ptr<Ui::OptionDialog> ui;
    QTimer *pollTimer = nullptr; // child of the dialog
    QPointer<PlaySequenceThread> thread; // borrowed; null: no sample
    int chosenVoice = 0;

    bool editsShaping = false;
    bool shapingAccepted = false;
    AudioShaping chosenShaping;
    AudioShaping shapingInForceBefore; // put back unless accepted
};

#endif
