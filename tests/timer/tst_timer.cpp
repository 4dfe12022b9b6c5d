#include "AnkiJikan_Dialog.h"
#include "FinalMsgBox.h"
#include "RecordingCues.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

// The dialog with its clock fixed, so that the end time can be checked.
class FixedClockDialog : public AnkiJikan_Dialog
{
public:
    FixedClockDialog(const QDateTime &now, CuePlayer &cues)
        : AnkiJikan_Dialog(nullptr, cues)
        , fixedNow(now)
    {
    }

protected:
    QDateTime currentDateTime() const override { return fixedNow; }

private:
    QDateTime fixedNow;
};

enum class CloseBy { OkButton, Escape, CloseButton };

} // namespace

Q_DECLARE_METATYPE(CloseBy)

class TimerTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void form_isFixedSizeWithTexts();
    void start_showsFullPeriodAndPlaysStartCue();
    void endTime_addsFifteenMinutesWrappingPastMidnight_data();
    void endTime_addsFifteenMinutesWrappingPastMidnight();
    void tick_followsCourse_data();
    void tick_followsCourse();
    void stop_atAnyMinuteClosesWithoutEndBox_data();
    void stop_atAnyMinuteClosesWithoutEndBox();
    void fifteenthTick_showsEndBoxThenCloses_data();
    void fifteenthTick_showsEndBoxThenCloses();
    void escapeWhileCounting_dismissesSilently();
    void tenMinutes_cueAtMinuteEightEndBoxAtTen();
    void reopening_startsIdle();
    void endBox_playsFineBeforeShownAndClosesByOk();

private:
    static QLabel *label(QWidget *dialog, const char *name)
    {
        return dialog->findChild<QLabel *>(QString::fromLatin1(name));
    }
    static QProgressBar *bar(QWidget *dialog)
    {
        return dialog->findChild<QProgressBar *>(QStringLiteral("progressBar"));
    }
    static QPushButton *startStop(QWidget *dialog)
    {
        return dialog->findChild<QPushButton *>(QStringLiteral("StartStopBtn"));
    }
    static void tick(AnkiJikan_Dialog *dialog, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QVERIFY(QMetaObject::invokeMethod(dialog, "TimeOutDone", Qt::DirectConnection));
    }
    static QString remaining(int minutes) { return QStringLiteral("残り時間 : %1分").arg(minutes); }

    // Drives the end box from inside its own modal loop: waits until it is the
    // active modal widget, records what it saw, closes it the given way.
    void closeEndBoxWhenShown(CloseBy how);

    RecordingCues cuePlayer;
    QStringList &cues = cuePlayer.names;
    bool endBoxSeen = false;
    QStringList cuesWhenEndBoxShown;
    QString endBoxText;
};

void TimerTest::init()
{
    cues.clear();
    endBoxSeen = false;
    cuesWhenEndBoxShown.clear();
    endBoxText.clear();
}

void TimerTest::closeEndBoxWhenShown(CloseBy how)
{
    auto *poll = new QTimer(this);
    poll->setInterval(10);
    connect(poll, &QTimer::timeout, this, [this, how, poll, attempts = 0]() mutable {
        auto *box = qobject_cast<FinalMsgBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            if (++attempts >= 500) {
                poll->deleteLater();
                poll->stop();
                if (QWidget *other = QApplication::activeModalWidget())
                    other->close(); // never leave the test hanging in a modal loop
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        endBoxSeen = true;
        cuesWhenEndBoxShown = cues;
        if (auto *text = box->findChild<QLabel *>(QStringLiteral("label")))
            endBoxText = text->text();
        switch (how) {
        case CloseBy::OkButton:
            QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("ButtonOK")),
                              Qt::LeftButton);
            break;
        case CloseBy::Escape:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
        case CloseBy::CloseButton:
            box->close();
            break;
        }
    });
    poll->start();
}

void TimerTest::form_isFixedSizeWithTexts()
{
    AnkiJikan_Dialog dialog(nullptr, cuePlayer);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("暗記時間"));
    QCOMPARE(dialog.minimumSize(), QSize(400, 300));
    QCOMPARE(dialog.maximumSize(), QSize(400, 300));

    QCOMPARE(label(&dialog, "label")->text(), QStringLiteral("暗記時間"));
    QCOMPARE(label(&dialog, "label")->font().pointSize(), 24);
    QCOMPARE(label(&dialog, "MsgLabel")->font().pointSize(), 18);
    QCOMPARE(label(&dialog, "MsgLabel")->alignment(), Qt::AlignCenter);
    QCOMPARE(label(&dialog, "MsgLabel_2")->font().pointSize(), 18);
    QCOMPARE(label(&dialog, "MsgLabel_2")->alignment() & Qt::AlignVertical_Mask, Qt::AlignVCenter);
    QCOMPARE(startStop(&dialog)->font().pointSize(), 18);
    QCOMPARE(startStop(&dialog)->geometry(), QRect(100, 70, 191, 51));
    QCOMPARE(bar(&dialog)->geometry(), QRect(20, 60, 301, 23));
    QCOMPARE(bar(&dialog)->isTextVisible(), false);
    QCOMPARE(bar(&dialog)->minimum(), 0);
    QCOMPARE(bar(&dialog)->maximum(), 100);
    QCOMPARE(label(&dialog, "MsgLabel")->parentWidget()->objectName(), QStringLiteral("groupBox"));

    // The fonts keep the default family.
    QCOMPARE(label(&dialog, "label")->font().family(), QFont().family());
}

void TimerTest::start_showsFullPeriodAndPlaysStartCue()
{
    AnkiJikan_Dialog dialog(nullptr, cuePlayer);
    dialog.show();
    QTest::mouseClick(startStop(&dialog), Qt::LeftButton);

    QCOMPARE(cues, QStringList {QStringLiteral("start.wav")});
    QCOMPARE(startStop(&dialog)->text(), QStringLiteral("終了"));
    QCOMPARE(label(&dialog, "MsgLabel")->text(), QStringLiteral("残り時間 : 15 分"));
    QCOMPARE(bar(&dialog)->value(), 0);
    QVERIFY(label(&dialog, "MsgLabel_2")->text().startsWith(QStringLiteral("終了時刻 : ")));

    auto *timer = dialog.findChild<QTimer *>();
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QVERIFY(!timer->isSingleShot());
    QCOMPARE(timer->interval(), AnkiJikan_Dialog::TickMs);
    QCOMPARE(AnkiJikan_Dialog::TickMs, 60000);
    QCOMPARE(AnkiJikan_Dialog::PeriodMinutes, 15);
}

void TimerTest::endTime_addsFifteenMinutesWrappingPastMidnight_data()
{
    QTest::addColumn<QTime>("now");
    QTest::addColumn<QString>("shown");
    QTest::newRow("23:50 wraps") << QTime(23, 50, 0) << QStringLiteral("00:05");
    QTest::newRow("23:45 is midnight") << QTime(23, 45, 30) << QStringLiteral("00:00");
    QTest::newRow("23:44:59") << QTime(23, 44, 59) << QStringLiteral("23:59");
    QTest::newRow("morning") << QTime(9, 3, 0) << QStringLiteral("09:18");
    QTest::newRow("hour carry") << QTime(12, 50, 59) << QStringLiteral("13:05");
}

void TimerTest::endTime_addsFifteenMinutesWrappingPastMidnight()
{
    QFETCH(QTime, now);
    QFETCH(QString, shown);
    FixedClockDialog dialog(QDateTime(QDate(2024, 12, 31), now), cuePlayer);
    dialog.show();
    QTest::mouseClick(startStop(&dialog), Qt::LeftButton);
    QCOMPARE(label(&dialog, "MsgLabel_2")->text(), QStringLiteral("終了時刻 : ") + shown);
    // The whole time is readable, not cut off at the label's edge.
    const QLabel *endTime = label(&dialog, "MsgLabel_2");
    QVERIFY(endTime->fontMetrics().horizontalAdvance(endTime->text())
            <= endTime->contentsRect().width());

    // Computed once: the ticks leave it alone.
    tick(&dialog, 3);
    QCOMPARE(label(&dialog, "MsgLabel_2")->text(), QStringLiteral("終了時刻 : ") + shown);
}

void TimerTest::tick_followsCourse_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("progress");
    QTest::addColumn<QStringList>("cuesSoFar");

    const QStringList startOnly {QStringLiteral("start.wav")};
    const QStringList withWarning {QStringLiteral("start.wav"), QStringLiteral("before2min.wav")};
    const int progress[] = {6, 13, 20, 26, 33, 40, 46, 53, 60, 66, 73, 80, 86, 93};
    for (int minute = 1; minute <= 14; ++minute) {
        QTest::addRow("minute %d", minute)
            << minute << remaining(15 - minute) << progress[minute - 1]
            << (minute >= 13 ? withWarning : startOnly);
    }
}

void TimerTest::tick_followsCourse()
{
    QFETCH(int, minutes);
    QFETCH(QString, text);
    QFETCH(int, progress);
    QFETCH(QStringList, cuesSoFar);

    AnkiJikan_Dialog dialog(nullptr, cuePlayer);
    dialog.show();
    QTest::mouseClick(startStop(&dialog), Qt::LeftButton);
    tick(&dialog, minutes);

    QCOMPARE(label(&dialog, "MsgLabel")->text(), text);
    QCOMPARE(bar(&dialog)->value(), progress);
    QCOMPARE(cues, cuesSoFar);
    QCOMPARE(startStop(&dialog)->text(), QStringLiteral("終了"));
    QVERIFY(dialog.isVisible());
    QVERIFY(!endBoxSeen);
}

void TimerTest::stop_atAnyMinuteClosesWithoutEndBox_data()
{
    QTest::addColumn<int>("minutes");
    QTest::newRow("at once") << 0;
    QTest::newRow("minute 1") << 1;
    QTest::newRow("minute 12") << 12;
    QTest::newRow("minute 13, after the warning") << 13;
    QTest::newRow("minute 14") << 14;
}

void TimerTest::stop_atAnyMinuteClosesWithoutEndBox()
{
    QFETCH(int, minutes);
    AnkiJikan_Dialog dialog(nullptr, cuePlayer);
    dialog.open();
    QTest::mouseClick(startStop(&dialog), Qt::LeftButton);
    tick(&dialog, minutes);
    QTest::mouseClick(startStop(&dialog), Qt::LeftButton);

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!cues.contains(QStringLiteral("fine.wav")));
    QCOMPARE(cues.count(QStringLiteral("before2min.wav")), minutes >= 13 ? 1 : 0);
    QVERIFY(dialog.findChildren<FinalMsgBox *>().isEmpty());
    QVERIFY(!dialog.findChild<QTimer *>()->isActive());

    QCOMPARE(startStop(&dialog)->text(), QStringLiteral("開始"));
    QCOMPARE(label(&dialog, "MsgLabel")->text(), QString());
    QCOMPARE(bar(&dialog)->value(), 0);
    QCOMPARE(label(&dialog, "MsgLabel_2")->text(), QStringLiteral("終了時刻 : "));
}

void TimerTest::fifteenthTick_showsEndBoxThenCloses_data()
{
    QTest::addColumn<CloseBy>("how");
    QTest::newRow("OK") << CloseBy::OkButton;
    QTest::newRow("Esc") << CloseBy::Escape;
    QTest::newRow("close button") << CloseBy::CloseButton;
}

void TimerTest::fifteenthTick_showsEndBoxThenCloses()
{
    QFETCH(CloseBy, how);
    AnkiJikan_Dialog dialog(nullptr, cuePlayer);
    int result = -1;
    bool visibleAfterBox = true;
    // Run the dialog as its opener does; everything else happens inside.
    QTimer::singleShot(0, &dialog, [&]() {
        QTest::mouseClick(startStop(&dialog), Qt::LeftButton);
        tick(&dialog, 14);
        QCOMPARE(bar(&dialog)->value(), 93);
        closeEndBoxWhenShown(how);
        tick(&dialog); // runs the end box modally until it is closed
        QCOMPARE(label(&dialog, "MsgLabel")->text(), QStringLiteral("暗記時間終了"));
        QCOMPARE(bar(&dialog)->value(), 100);
        QCOMPARE(startStop(&dialog)->text(), QStringLiteral("開始"));
        QVERIFY(!dialog.findChild<QTimer *>()->isActive());
        visibleAfterBox = dialog.isVisible();
        if (visibleAfterBox)
            dialog.reject(); // keep the test from hanging if it did not close
    });
    result = dialog.exec();
    QVERIFY2(!visibleAfterBox, "the dialog must close itself once the end box is gone");

    QVERIFY(endBoxSeen);
    QCOMPARE(endBoxText, QStringLiteral("暗記時間終了しました"));
    QCOMPARE(cuesWhenEndBoxShown,
             (QStringList {QStringLiteral("start.wav"), QStringLiteral("before2min.wav"),
                           QStringLiteral("fine.wav")}));
    QCOMPARE(cues, cuesWhenEndBoxShown);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!QApplication::activeModalWidget());
}

// A chosen length: the cue still comes two minutes before the end, the end
// box at its last minute.
void TimerTest::tenMinutes_cueAtMinuteEightEndBoxAtTen()
{
    AnkiJikan_Dialog dialog(nullptr, cuePlayer);
    dialog.setPeriodMinutes(10);
    QTimer::singleShot(0, &dialog, [&]() {
        QTest::mouseClick(startStop(&dialog), Qt::LeftButton);
        QCOMPARE(label(&dialog, "MsgLabel")->text(), QStringLiteral("残り時間 : 10 分"));
        tick(&dialog, 7);
        QCOMPARE(cues, QStringList {QStringLiteral("start.wav")});
        tick(&dialog);
        QCOMPARE(label(&dialog, "MsgLabel")->text(), remaining(2));
        QCOMPARE(cues.last(), QStringLiteral("before2min.wav"));
        tick(&dialog);
        QCOMPARE(bar(&dialog)->value(), 90);
        closeEndBoxWhenShown(CloseBy::OkButton);
        tick(&dialog);
        if (dialog.isVisible())
            dialog.reject();
    });
    dialog.exec();
    QVERIFY(endBoxSeen);
    QCOMPARE(cues.count(QStringLiteral("before2min.wav")), 1);
}

void TimerTest::escapeWhileCounting_dismissesSilently()
{
    AnkiJikan_Dialog dialog(nullptr, cuePlayer);
    QTimer::singleShot(0, &dialog, [&]() {
        QTest::mouseClick(startStop(&dialog), Qt::LeftButton);
        tick(&dialog, 5);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(cues, QStringList {QStringLiteral("start.wav")});
    QVERIFY(!endBoxSeen);
}

void TimerTest::reopening_startsIdle()
{
    for (int round = 0; round < 2; ++round) {
        auto dialog = std::make_unique<AnkiJikan_Dialog>(nullptr, cuePlayer);
        QCOMPARE(startStop(dialog.get())->text(), QStringLiteral("開始"));
        QCOMPARE(label(dialog.get(), "MsgLabel")->text(), QString());
        QCOMPARE(bar(dialog.get())->value(), 0);
        QCOMPARE(label(dialog.get(), "MsgLabel_2")->text(), QStringLiteral("終了時刻 : "));
        QVERIFY(!dialog->findChild<QTimer *>()->isActive());

        dialog->open();
        QTest::mouseClick(startStop(dialog.get()), Qt::LeftButton);
        tick(dialog.get(), 4);
        QTest::mouseClick(startStop(dialog.get()), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    }
}

void TimerTest::endBox_playsFineBeforeShownAndClosesByOk()
{
    FinalMsgBox box(nullptr, cuePlayer);
    QCOMPARE(cues, QStringList {QStringLiteral("fine.wav")}); // before any show
    QCOMPARE(box.windowTitle(), QStringLiteral("暗記時間終了"));
    QCOMPARE(box.minimumSize(), QSize(388, 165));
    QCOMPARE(box.maximumSize(), QSize(388, 165));
    auto *text = box.findChild<QLabel *>(QStringLiteral("label"));
    QCOMPARE(text->font().pointSize(), 24);
    QCOMPARE(text->alignment(), Qt::AlignCenter);
    QVERIFY(text->fontMetrics().horizontalAdvance(text->text()) <= text->contentsRect().width());

    box.open();
    QVERIFY(box.isVisible());
    QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("ButtonOK")), Qt::LeftButton);
    QVERIFY(!box.isVisible());
    QCOMPARE(cues.size(), 1); // closing plays nothing more
}

QTEST_MAIN(TimerTest)
#include "tst_timer.moc"
