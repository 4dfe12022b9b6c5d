#ifndef OPTIONDIALOG_H
#define OPTIONDIALOG_H

#include <QDialog>
#include <QPointer>

#include <memory>

class PlaySequenceThread;
class QTimer;

namespace Ui { class OptionDialog; }

// Lets the user choose the voice that reads the poems and hear a sample of
// the voice on screen (the preamble poem) through the main window's reading
// thread. The chosen voice is taken only on acceptance.
class OptionDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int PollIntervalMs = 1000;   // how often the sample's end is looked for

    // voice: 0 first voice, anything else the second; thread may be null
    // (then no sample can be played). The thread is borrowed, not owned.
    OptionDialog(QWidget *parent, int voice, bool voice2Available, PlaySequenceThread *thread);
    ~OptionDialog() override;

    // The voice given to the constructor until accepted; then 0 for the first
    // voice, 1 for the second.
    int voice() const;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();
    void on_Btn_TestPlay_clicked();
    void TimeoutDone();

private:
    int voiceOnScreen() const;

    std::unique_ptr<Ui::OptionDialog> ui;
    QTimer *pollTimer = nullptr;              // child of the dialog
    QPointer<PlaySequenceThread> thread;      // borrowed; null: no sample
    int chosenVoice = 0;
};

#endif
