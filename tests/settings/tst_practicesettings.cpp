#include "PracticeSettings.h"
#include "TestData.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The PRACTICE group of the settings file: what a hand-edited or broken
// file reads as, and that the plain reading leaves the file as it was.
class TestPracticeSettings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    QString writeIni(const QByteArray &text)
    {
        const QString path = dir.filePath(QStringLiteral("QtUtakaze.ini"));
        return TestData::writeFile(path, text) ? path : QString();
    }

    static QByteArray contents(const QString &path) { return TestData::readFile(path); }

private slots:
    void load_data()
    {
        QTest::addColumn<QByteArray>("group");
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("advance");
        QTest::addColumn<int>("deadCards");
        const int standard = int(ReadingStyle::Standard);
        const int competitive = int(ReadingStyle::Competitive);
        const int beginner = int(ReadingStyle::Beginner);
        const int autoAdvance = int(AdvanceMode::Auto);
        const int manual = int(AdvanceMode::Manual);
        QTest::newRow("no group") << QByteArray() << standard << autoAdvance << 0;
        QTest::newRow("all set") << QByteArray("Style=competitive\nAdvance=manual\nDeadCards=3\n")
                                 << competitive << manual << 3;
        QTest::newRow("beginner, hand-edited case")
            << QByteArray("Style= Beginner \nAdvance=MANUAL\nDeadCards=100\n") << beginner << manual
            << 100;
        QTest::newRow("garbage words and count")
            << QByteArray("Style=fast\nAdvance=pedal\nDeadCards=three\n") << standard << autoAdvance
            << 0;
        QTest::newRow("count above range")
            << QByteArray("DeadCards=101\n") << standard << autoAdvance << 100;
        QTest::newRow("count beyond int")
            << QByteArray("DeadCards=99999999999\n") << standard << autoAdvance << 100;
        QTest::newRow("fractional count")
            << QByteArray("DeadCards=2.5\n") << standard << autoAdvance << 0;
    }

    void load()
    {
        QFETCH(QByteArray, group);
        QFETCH(int, style);
        QFETCH(int, advance);
        QFETCH(int, deadCards);
        const QByteArray text =
            "[SETTING]\nWait1Time=10\n" + (group.isEmpty() ? QByteArray() : "[PRACTICE]\n" + group);
        QSettings settings(writeIni(text), QSettings::IniFormat);
        const PracticeSettings practice = PracticeSettings::load(settings);
        QCOMPARE(int(practice.style), style);
        QCOMPARE(int(practice.advance), advance);
        QCOMPARE(practice.deadCards, deadCards);
        QCOMPARE(settings.group(), QString()); // the group is closed again
    }

    void save_writesOnlyWhatChanged()
    {
        // The plain reading adds nothing to the file.
        const QByteArray before = "[SETTING]\nchk_joka=true\n";
        const QString path = writeIni(before);
        {
            QSettings settings(path, QSettings::IniFormat);
            PracticeSettings().save(settings);
        }
        QCOMPARE(contents(path), before);

        // A word of a newer version reads as the default and stays while the
        // user keeps the default; a choice made here replaces it.
        const QByteArray newer = "[PRACTICE]\nAdvance=pedal\nStyle=expert\n";
        writeIni(newer);
        {
            QSettings settings(path, QSettings::IniFormat);
            PracticeSettings::load(settings).save(settings);
        }
        QCOMPARE(contents(path), newer);
        PracticeSettings chosen;
        chosen.style = ReadingStyle::Beginner;
        chosen.deadCards = 42;
        {
            QSettings settings(path, QSettings::IniFormat);
            chosen.save(settings);
        }
        const QByteArray text = contents(path);
        QVERIFY2(text.contains("Style=beginner") && text.contains("Advance=pedal")
                     && text.contains("DeadCards=42"),
                 text.constData());
        {
            QSettings settings(path, QSettings::IniFormat);
            QCOMPARE(PracticeSettings::load(settings), chosen);
        }

        // Set back to the defaults: read as the defaults again.
        {
            QSettings settings(path, QSettings::IniFormat);
            PracticeSettings().save(settings);
        }
        QSettings settings(path, QSettings::IniFormat);
        QVERIFY(PracticeSettings::load(settings).isDefault());
    }

    // DeadCardBias exists in the file only while it is not 0; a broken value
    // reads as 0, a number out of range is clamped.
    void deadCardBias_writtenOnlyWhileNotZero()
    {
        const QByteArray before = "[PRACTICE]\nDeadCards=10\n";
        const QString path = writeIni(before);
        PracticeSettings chosen;
        chosen.deadCards = 10;
        chosen.deadCardBias = 70;
        {
            QSettings settings(path, QSettings::IniFormat);
            chosen.save(settings);
        }
        QVERIFY(contents(path).contains("DeadCardBias=70"));
        {
            QSettings settings(path, QSettings::IniFormat);
            QCOMPARE(PracticeSettings::load(settings), chosen);
            chosen.deadCardBias = 0;
            chosen.save(settings);
        }
        QCOMPARE(contents(path), before);
        // A file of its own for each: QSettings keeps what it read of a path and
        // takes a rewrite of the same size within the same second for unchanged.
        for (const auto &[text, bias] :
             {std::pair {"abc", 0}, {"250", 100}, {"-5", 0}, {"33", 33}}) {
            const QString own = dir.filePath(QStringLiteral("bias-%1.ini").arg(text));
            QVERIFY(
                TestData::writeFile(own, QByteArray("[PRACTICE]\nDeadCardBias=") + text + "\n"));
            QSettings settings(own, QSettings::IniFormat);
            QCOMPARE(PracticeSettings::load(settings).deadCardBias, bias);
        }
    }

    // Endless and the timer's length: written only away from their defaults,
    // the length clamped to 5..15; neither changes how a card is read.
    void endlessAndMemorization_writtenOnlyWhileChosen()
    {
        const QString path = writeIni("[PRACTICE]\nEndless=TRUE\nMemorizationMinutes=2\n");
        {
            QSettings settings(path, QSettings::IniFormat);
            const PracticeSettings read = PracticeSettings::load(settings);
            QVERIFY(read.endless && read.readsPlainly() && !read.isDefault());
            QCOMPARE(read.memorizationMinutes, 5);
            PracticeSettings().save(settings);
        }
        QCOMPARE(contents(path), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestPracticeSettings)
#include "tst_practicesettings.moc"
