#include "FixtureAudio.h"
#include "GuiThreadRelay.h"
#include "OptionDialog.h"
#include "PlaySequenceThread.h"
#include "QuickAudioDevice.h"
#include "ScopedAppFolder.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <memory>

namespace {

enum class Dismiss { CancelButton, Escape, CloseButton };

// Length of each voice's preamble recording: the sample's duration tells
// which voice was read.
constexpr double Voice1Seconds = 0.3;
constexpr double Voice2Seconds = 2.5;

} // namespace

Q_DECLARE_METATYPE(Dismiss)

class OptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void form_hasTextsAndGroup();
    void construct_showsVoiceAndAvailability_data();
    void construct_showsVoiceAndAvailability();
    void accept_takesRadioOnScreen_data();
    void accept_takesRadioOnScreen();
    void dismiss_keepsVoice_data();
    void dismiss_keepsVoice();
    void voice2Unavailable_onlyFirstVoiceCanBeChosen();
    void noThread_noSampleButVoiceChoiceWorks();
    void sample_playsPreambleInVoiceOnScreen_data();
    void sample_playsPreambleInVoiceOnScreen();
    void sample_buttonDisabledUntilPollFindsThreadIdle();
    void destroyDuringSample_stopsIt();
    void destroyAfterSample_leavesIdleThreadUsable();

private:
    static QRadioButton *radio(QWidget *dialog, int n)
    {
        return dialog->findChild<QRadioButton *>(QStringLiteral("radioButton_%1").arg(n));
    }
    static QPushButton *testPlay(QWidget *dialog)
    {
        return dialog->findChild<QPushButton *>(QStringLiteral("Btn_TestPlay"));
    }
    static QAbstractButton *boxButton(QWidget *dialog, QDialogButtonBox::StandardButton which)
    {
        return dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(which);
    }
    static QTimer *pollTimer(QWidget *dialog) { return dialog->findChild<QTimer *>(); }

    ScopedAppFolder appDir;
    AudioOutput output; // outlives the thread
    std::unique_ptr<PlaySequenceThread> thread;
};

void OptionsTest::initTestCase()
{
    QVERIFY(appDir.isValid());
    QuickAudioDevice::install(output);
    QVERIFY(FixtureAudio::MakeVoiceFolder(appDir.path(), {0}, Voice1Seconds, true));
    // A longer preamble for the second voice, so the two can be told apart.
    QVERIFY(FixtureAudio::MakeOggTone(appDir.filePath(QStringLiteral("Music2/asagao_000_2.ogg")),
                                      FixtureAudio::ToneFrequency(0, 2), Voice2Seconds));
}

void OptionsTest::init()
{
    thread = std::make_unique<PlaySequenceThread>(WId(0), output, appDir.voices(), appDir.shaping);
    thread->start();
}

void OptionsTest::cleanup()
{
    thread->RequestQuit();
    QVERIFY(thread->wait(10000));
    thread.reset();
}

void OptionsTest::form_hasTextsAndGroup()
{
    OptionDialog dialog(nullptr, 0, true, nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Option"));
    QCOMPARE(dialog.minimumSize(), QSize(353, 178));
    QCOMPARE(dialog.maximumSize(), QSize(353, 178));
    QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
    QCOMPARE(radio(&dialog, 1)->text(), QStringLiteral("音声1\u3000（女性）"));
    QCOMPARE(radio(&dialog, 2)->text(), QStringLiteral("音声2\u3000（男性）"));
    QCOMPARE(testPlay(&dialog)->text(), QStringLiteral("試聴"));
    QCOMPARE(testPlay(&dialog)->parentWidget()->objectName(), QStringLiteral("groupBox"));

    auto *group = dialog.findChild<QButtonGroup *>(QStringLiteral("buttonGroup_voice"));
    QVERIFY(group);
    QVERIFY(group->exclusive());
    QCOMPARE(group->buttons(), (QList<QAbstractButton *> {radio(&dialog, 1), radio(&dialog, 2)}));
    QVERIFY(boxButton(&dialog, QDialogButtonBox::Ok));
    QVERIFY(boxButton(&dialog, QDialogButtonBox::Cancel));
}

void OptionsTest::construct_showsVoiceAndAvailability_data()
{
    QTest::addColumn<int>("voice");
    QTest::addColumn<bool>("voice2Available");
    QTest::addColumn<bool>("withThread");
    QTest::newRow("voice 0, all there") << 0 << true << true;
    QTest::newRow("voice 1, all there") << 1 << true << true;
    QTest::newRow("other voice number reads as the second") << 3 << true << true;
    QTest::newRow("voice 0, no second voice") << 0 << false << true;
    QTest::newRow("voice 0, no thread") << 0 << true << false;
    QTest::newRow("voice 1, no thread") << 1 << true << false;
}

void OptionsTest::construct_showsVoiceAndAvailability()
{
    QFETCH(int, voice);
    QFETCH(bool, voice2Available);
    QFETCH(bool, withThread);
    OptionDialog dialog(nullptr, voice, voice2Available, withThread ? thread.get() : nullptr);

    QCOMPARE(dialog.voice(), voice);
    QCOMPARE(radio(&dialog, 1)->isChecked(), voice == 0);
    QCOMPARE(radio(&dialog, 2)->isChecked(), voice != 0);
    QCOMPARE(radio(&dialog, 2)->isEnabled(), voice2Available);
    QVERIFY(radio(&dialog, 1)->isEnabled());
    QCOMPARE(testPlay(&dialog)->isEnabled(), withThread);
    QVERIFY(!pollTimer(&dialog)->isActive());
}

void OptionsTest::accept_takesRadioOnScreen_data()
{
    QTest::addColumn<int>("openedWith");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<int>("expected");
    QTest::newRow("0, keep") << 0 << 1 << 0;
    QTest::newRow("0 -> 2") << 0 << 2 << 1;
    QTest::newRow("1, keep") << 1 << 2 << 1;
    QTest::newRow("1 -> 1") << 1 << 1 << 0;
}

void OptionsTest::accept_takesRadioOnScreen()
{
    QFETCH(int, openedWith);
    QFETCH(int, clicked);
    QFETCH(int, expected);
    OptionDialog dialog(nullptr, openedWith, true, thread.get());
    int voiceWhenRunEnded = -1;
    QTimer::singleShot(0, &dialog, [&]() {
        QTest::mouseClick(radio(&dialog, clicked), Qt::LeftButton);
        QTest::mouseClick(boxButton(&dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    });
    const int result = dialog.exec();
    voiceWhenRunEnded = dialog.voice();
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(voiceWhenRunEnded, expected);
}

void OptionsTest::dismiss_keepsVoice_data()
{
    QTest::addColumn<int>("openedWith");
    QTest::addColumn<Dismiss>("how");
    QTest::newRow("0, Cancel") << 0 << Dismiss::CancelButton;
    QTest::newRow("1, Cancel") << 1 << Dismiss::CancelButton;
    QTest::newRow("0, Esc") << 0 << Dismiss::Escape;
    QTest::newRow("1, close button") << 1 << Dismiss::CloseButton;
}

void OptionsTest::dismiss_keepsVoice()
{
    QFETCH(int, openedWith);
    QFETCH(Dismiss, how);
    OptionDialog dialog(nullptr, openedWith, true, thread.get());
    QTimer::singleShot(0, &dialog, [&]() {
        QTest::mouseClick(radio(&dialog, openedWith == 0 ? 2 : 1), Qt::LeftButton);
        switch (how) {
        case Dismiss::CancelButton:
            QTest::mouseClick(boxButton(&dialog, QDialogButtonBox::Cancel), Qt::LeftButton);
            break;
        case Dismiss::Escape:
            QTest::keyClick(&dialog, Qt::Key_Escape);
            break;
        case Dismiss::CloseButton:
            dialog.close();
            break;
        }
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(dialog.voice(), openedWith);
}

void OptionsTest::voice2Unavailable_onlyFirstVoiceCanBeChosen()
{
    OptionDialog dialog(nullptr, 0, false, thread.get());
    dialog.show();
    QTest::mouseClick(radio(&dialog, 2), Qt::LeftButton);
    QVERIFY(radio(&dialog, 1)->isChecked());
    QTest::mouseClick(boxButton(&dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.voice(), 0);
}

void OptionsTest::noThread_noSampleButVoiceChoiceWorks()
{
    OptionDialog dialog(nullptr, 0, true, nullptr);
    dialog.show();
    QTest::mouseClick(testPlay(&dialog), Qt::LeftButton); // disabled: nothing happens
    QVERIFY(!testPlay(&dialog)->isEnabled());
    QVERIFY(!pollTimer(&dialog)->isActive());
    QTest::mouseClick(radio(&dialog, 2), Qt::LeftButton);
    QTest::mouseClick(boxButton(&dialog, QDialogButtonBox::Ok), Qt::LeftButton);
    QCOMPARE(dialog.voice(), 1);
}

void OptionsTest::sample_playsPreambleInVoiceOnScreen_data()
{
    QTest::addColumn<int>("openedWith");
    QTest::addColumn<int>("onScreen");
    QTest::newRow("second voice chosen, not accepted") << 0 << 2;
    QTest::newRow("first voice chosen, not accepted") << 1 << 1;
}

void OptionsTest::sample_playsPreambleInVoiceOnScreen()
{
    QFETCH(int, openedWith);
    QFETCH(int, onScreen);
    GuiThreadSpy upper(thread.get(), &PlaySequenceThread::Music1Starteded);
    GuiThreadSpy lowerStarted(thread.get(), &PlaySequenceThread::Music2Starteded);
    GuiThreadSpy lowerEnded(thread.get(), &PlaySequenceThread::Music2Ended);
    GuiThreadSpy ended(thread.get(), &PlaySequenceThread::SequenceEnded);

    // Timed on the output clock, as the reading thread reports them.
    std::atomic<qint64> startedMs = -1;
    std::atomic<qint64> endedMs = -1;
    const QObject timing; // ends the connections with this function
    connect(
        thread.get(), &PlaySequenceThread::Music2Starteded, &timing,
        [this, &startedMs] { startedMs = QuickAudioDevice::nowMs(output); }, Qt::DirectConnection);
    connect(
        thread.get(), &PlaySequenceThread::SequenceEnded, &timing,
        [this, &endedMs] { endedMs = QuickAudioDevice::nowMs(output); }, Qt::DirectConnection);

    auto dialog = std::make_unique<OptionDialog>(nullptr, openedWith, true, thread.get());
    dialog->show();
    QTest::mouseClick(radio(dialog.get(), onScreen), Qt::LeftButton);
    QTest::mouseClick(testPlay(dialog.get()), Qt::LeftButton);

    QVERIFY(lowerStarted.wait(5000));
    QCOMPARE(lowerStarted.takeFirst().at(0).toInt(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 10000);
    const qint64 lengthMs = endedMs - startedMs;
    QCOMPARE(lowerEnded.count(), 1);
    QCOMPARE(upper.count(), 0);
    QCOMPARE(lowerStarted.count(), 0);
    // The second voice's preamble is 2.5 s long, the first voice's 0.3 s.
    if (onScreen == 2)
        QVERIFY2(lengthMs >= 1800, qPrintable(QString::number(lengthMs)));
    else
        QVERIFY2(lengthMs < 1500, qPrintable(QString::number(lengthMs)));

    // Playing a sample is no acceptance.
    dialog->reject();
    QCOMPARE(dialog->voice(), openedWith);
}

void OptionsTest::sample_buttonDisabledUntilPollFindsThreadIdle()
{
    GuiThreadSpy lowerStarted(thread.get(), &PlaySequenceThread::Music2Starteded);
    GuiThreadSpy ended(thread.get(), &PlaySequenceThread::SequenceEnded);
    OptionDialog dialog(nullptr, 0, true, thread.get());
    dialog.show();
    QTest::mouseClick(testPlay(&dialog), Qt::LeftButton);

    QVERIFY(!testPlay(&dialog)->isEnabled());
    QVERIFY(pollTimer(&dialog)->isActive());
    QCOMPARE(pollTimer(&dialog)->interval(), 1000);

    QVERIFY(lowerStarted.wait(5000));
    QTest::mouseClick(testPlay(&dialog), Qt::LeftButton); // ignored while disabled
    QVERIFY(!testPlay(&dialog)->isEnabled());

    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 10000);
    // At most about one poll after the end.
    QTRY_VERIFY_WITH_TIMEOUT(testPlay(&dialog)->isEnabled(), 2500);
    QVERIFY(!pollTimer(&dialog)->isActive());
    QCOMPARE(thread->GetState(), int(PlaySequenceThread::STAT_STOP));
    QCOMPARE(lowerStarted.count(), 1);

    // Ready again: a second sample plays.
    QTest::mouseClick(testPlay(&dialog), Qt::LeftButton);
    QVERIFY(lowerStarted.wait(5000));
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 2, 10000);
}

void OptionsTest::destroyDuringSample_stopsIt()
{
    GuiThreadSpy lowerStarted(thread.get(), &PlaySequenceThread::Music2Starteded);
    GuiThreadSpy lowerEnded(thread.get(), &PlaySequenceThread::Music2Ended);
    GuiThreadSpy ended(thread.get(), &PlaySequenceThread::SequenceEnded);

    auto dialog = std::make_unique<OptionDialog>(nullptr, 1, true, thread.get());
    dialog->show();
    QTest::mouseClick(testPlay(dialog.get()), Qt::LeftButton);
    QVERIFY(lowerStarted.wait(5000));

    QElapsedTimer sinceDestroyed;
    sinceDestroyed.start();
    dialog.reset(); // the 2.5 s preamble is still sounding

    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 5000);
    QVERIFY2(sinceDestroyed.elapsed() < 1500,
             qPrintable(QString::number(sinceDestroyed.elapsed())));
    QCOMPARE(thread->GetState(), int(PlaySequenceThread::STAT_STOP));
    QCOMPARE(lowerEnded.count(), 0); // a verse cut short reports no end
}

void OptionsTest::destroyAfterSample_leavesIdleThreadUsable()
{
    GuiThreadSpy lowerStarted(thread.get(), &PlaySequenceThread::Music2Starteded);
    GuiThreadSpy lowerEnded(thread.get(), &PlaySequenceThread::Music2Ended);
    GuiThreadSpy ended(thread.get(), &PlaySequenceThread::SequenceEnded);
    {
        OptionDialog dialog(nullptr, 0, true, thread.get());
        dialog.show();
        QTest::mouseClick(testPlay(&dialog), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 10000);
    }
    // The stop sent by the destructor must not touch the next reading.
    QList<int> list {0};
    thread->SetParameters(1, 1, 1);
    thread->SetFudaList(&list);
    thread->RequestStart();
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 2, 10000);
    QCOMPARE(lowerStarted.count(), 2);
    QCOMPARE(lowerEnded.count(), 2); // the second reading ran to its end
}

QTEST_MAIN(OptionsTest)
#include "tst_options.moc"
