#ifndef ANKIJIKAN_DIALOG_H
#define ANKIJIKAN_DIALOG_H

#include <QDateTime>
#include <QDialog>

#include <memory>

class CuePlayer;
class QTimer;

namespace Ui {
class AnkiJikan_Dialog;
}

// Counts down the memorization period before a game (fifteen minutes unless
// the player chose a shorter one): one
// button starts the count and, while it runs, ends it early; the labels show
// the minutes left and the clock time at which the period ends, and the
// progress bar fills minute by minute. Sound cues mark the start and the
// moment two minutes are left; at the end the end-of-memorization box is
// shown and the dialog closes. The cues sound through the player given,
// which must outlive the dialog.
class AnkiJikan_Dialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int TickMs = 60000; // one tick per minute
    static constexpr int PeriodMinutes = 15; // length of the period
    static constexpr int EndOffsetSeconds = 900; // end time = start + period
    static constexpr int WarningMinutesLeft = 2; // "before2min.wav" then
    static constexpr int ShortestPeriodMinutes = 5;

    AnkiJikan_Dialog(QWidget *parent, CuePlayer &cues);
    ~AnkiJikan_Dialog() override;

    // The length of the next count, clamped to ShortestPeriodMinutes ..
    // PeriodMinutes; the cue still comes WarningMinutesLeft before its end.
    // Only while no count runs.
    void setPeriodMinutes(int minutes);
    int periodMinutes() const { return period; }

protected:
    // The local date and time the end time is computed from (tests replace it).
    virtual QDateTime currentDateTime() const;

private slots:
    void on_StartStopBtn_clicked();
    void TimeOutDone();

private:
    void startCount();
    void stopCount();
    void finishCount();

    std::unique_ptr<Ui::AnkiJikan_Dialog> ui;
    CuePlayer &cues;
    bool running = false;
    QTimer *timer = nullptr; // child of the dialog
    int minutesElapsed = 0;
    int period = PeriodMinutes;
};

#endif
