#include "PracticeDialog.h"

#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

// The practice dialog shows the settings it is given and hands back what
// the user changed.
class TestPracticeDialog : public QObject
{
    Q_OBJECT

private slots:
    void showsAndReturnsEveryCombination_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("advance");
        QTest::addColumn<int>("deadCards");
        QTest::newRow("defaults") << int(ReadingStyle::Standard) << int(AdvanceMode::Auto) << 0;
        QTest::newRow("competitive manual") << int(ReadingStyle::Competitive) << int(AdvanceMode::Manual) << 3;
        QTest::newRow("beginner all dead") << int(ReadingStyle::Beginner) << int(AdvanceMode::Auto) << 100;
    }

    void showsAndReturnsEveryCombination()
    {
        QFETCH(int, style);
        QFETCH(int, advance);
        QFETCH(int, deadCards);
        PracticeSettings given;
        given.style = ReadingStyle(style);
        given.advance = AdvanceMode(advance);
        given.deadCards = deadCards;
        const PracticeDialog dialog(nullptr, given);
        QCOMPARE(dialog.settings(), given);
    }

    void userChoices_areReturned()
    {
        PracticeDialog dialog(nullptr, PracticeSettings());
        dialog.findChild<QRadioButton *>(QStringLiteral("radioBeginner"))->click();
        dialog.findChild<QRadioButton *>(QStringLiteral("radioManual"))->click();
        auto *dead = dialog.findChild<QSpinBox *>(QStringLiteral("spinDeadCards"));
        dead->setValue(500); // the spin box keeps the stored range
        PracticeSettings expected;
        expected.style = ReadingStyle::Beginner;
        expected.advance = AdvanceMode::Manual;
        expected.deadCards = PracticeSettings::MaxDeadCards;
        QCOMPARE(dialog.settings(), expected);
    }
};

QTEST_MAIN(TestPracticeDialog)
#include "tst_practicedialog.moc"
