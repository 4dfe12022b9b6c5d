#include "ReadingHistory.h"
#include "TestData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

QList<HistoryEntry> twoCards()
{
    return {{1, 87, false, QStringLiteral("む"), 1250},
            {2, 1, true, QStringLiteral("あき"), 15999}};
}

QDateTime at(int day, int second)
{
    return QDateTime(QDate(2026, 12, day), QTime(19, 5, second));
}

} // namespace

class TestReadingHistory : public QObject
{
    Q_OBJECT

private slots:
    void formatAndParse_roundTrip()
    {
        const QByteArray text = ReadingHistory::format(twoCards());
        QCOMPARE(text,
                 QByteArray("position\tcard\tdead\tkimariji\tstarted\n"
                            "1\t87\t0\tむ\t1.250\n"
                            "2\t1\t1\tあき\t15.999\n"));
        QCOMPARE(ReadingHistory::parse(text), twoCards());
        QCOMPARE(ReadingHistory::order(twoCards()), (QList<int> {87, 1}));
        QCOMPARE(ReadingHistory::deadCards(twoCards()), QSet<int> {1});
    }

    void handEditedRows_areSkipped()
    {
        const QByteArray text = "position\tcard\tdead\tkimariji\tstarted\r\n"
                                "1\t87\t0\tむ\t1.250\r\n"
                                "2\t101\t0\tx\t2\n" // no such card
                                "3\t5\tyes\tx\t2\n" // dead not 0/1
                                "4\t5\t0\tx\t-1\n" // negative time
                                "5\t5\t0\tx\n" // a column short
                                "\xff\xfe\xfd\n"
                                "\n"
                                "6\t1\t1\tあき\t15.999\n";
        QList<HistoryEntry> expected = twoCards();
        expected[1].position = 6;
        QCOMPARE(ReadingHistory::parse(text), expected);
        QVERIFY(ReadingHistory::load(QStringLiteral("/nonexistent/x.tsv")).isEmpty());
    }

    void save_namesByStartTimeAndKeepsTheNewestHundred()
    {
        QTemporaryDir root;
        const ReadingHistory history(root.filePath(QStringLiteral("history")));
        QCOMPARE(history.save(at(7, 1), {}), ReadingHistory::SaveResult::NothingRead);
        QVERIFY(!QDir(history.folder()).exists());

        QString path;
        QCOMPARE(history.save(at(7, 1), twoCards(), &path), ReadingHistory::SaveResult::Saved);
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("20261207-190501.tsv"));
        QCOMPARE(ReadingHistory::load(path), twoCards());
        // The same second again does not overwrite the first.
        QCOMPARE(history.save(at(7, 1), twoCards(), &path), ReadingHistory::SaveResult::Saved);
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("20261207-190501-2.tsv"));

        QFile stray(history.filePath(QStringLiteral("notes.tsv")));
        QVERIFY(stray.open(QIODevice::WriteOnly));
        stray.close();
        for (int i = 0; i < ReadingHistory::Kept; ++i)
            QCOMPARE(history.save(at(8, 0).addSecs(i), twoCards()),
                     ReadingHistory::SaveResult::Saved);
        const QStringList files = history.files();
        QCOMPARE(files.size(), ReadingHistory::Kept);
        QCOMPARE(files.first(), QStringLiteral("20261208-190639.tsv")); // newest first
        QCOMPARE(files.last(), QStringLiteral("20261208-190500.tsv"));
        QVERIFY(stray.exists()); // not a history file: left alone
    }

    void listing_marksReadingsStoppedEarly_andDeleteRemovesFileAndMark()
    {
        QTemporaryDir root;
        const ReadingHistory history(root.filePath(QStringLiteral("history")));
        const QString marks = history.filePath(QLatin1String(ReadingHistory::StoppedEarlyFile));
        QString ended;
        QCOMPARE(history.save(at(7, 1), twoCards(), false, &ended),
                 ReadingHistory::SaveResult::Saved);
        QVERIFY(!QFile::exists(marks)); // nothing new beside a reading that ended
        QCOMPARE(history.save(at(7, 2), twoCards().mid(0, 1), true),
                 ReadingHistory::SaveResult::Saved);
        QCOMPARE(history.save(at(7, 3), twoCards(), true), ReadingHistory::SaveResult::Saved);
        QCOMPARE(ReadingHistory::load(ended), twoCards()); // the file itself as ever

        const QList<HistoryListing> listed = history.listing();
        QCOMPARE(listed.size(), 3);
        QCOMPARE(listed.at(1),
                 (HistoryListing {QStringLiteral("20261207-190502.tsv"), at(7, 2), 1, true}));
        QCOMPARE(listed.at(2).stoppedEarly, false);
        QCOMPARE(listed.at(2).cardCount, 2);

        QVERIFY(history.remove(QStringLiteral("20261207-190502.tsv")));
        QVERIFY(!history.remove(QStringLiteral("20261207-190502.tsv"))); // gone already
        QVERIFY(!history.remove(QStringLiteral("../history/20261207-190501.tsv")));
        QCOMPARE(
            history.files(),
            (QStringList {QStringLiteral("20261207-190503.tsv"), QFileInfo(ended).fileName()}));
        QCOMPARE(history.stoppedEarly(), QSet<QString> {QStringLiteral("20261207-190503.tsv")});

        // A hand-edited mark file: lines that name no reading are ignored;
        // pruning the oldest readings drops their marks.
        QVERIFY(TestData::writeFile(marks, "junk\n20261207-190501.tsv\n"));
        QCOMPARE(history.listing().last().stoppedEarly, true);
        for (int i = 0; i < ReadingHistory::Kept; ++i)
            history.save(at(8, 0).addSecs(i), twoCards());
        QVERIFY(history.stoppedEarly().isEmpty());
    }

    void save_whereTheFolderCannotBeMade_failsCleanly()
    {
        // A file in the way of the folder: fails even for root, unlike permissions.
        QTemporaryDir root;
        QFile blocker(root.filePath(QStringLiteral("history")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const ReadingHistory history(blocker.fileName());
        QCOMPARE(history.save(at(7, 1), twoCards()), ReadingHistory::SaveResult::Failed);
        QVERIFY(history.files().isEmpty());
        QCOMPARE(blocker.size(), 0);
    }
};

QTEST_APPLESS_MAIN(TestReadingHistory)
#include "tst_readinghistory.moc"
