#include "PoemTable.h"

#include <QSet>
#include <QTest>

class TestPoemTable : public QObject
{
    Q_OBJECT

private slots:
    void lookup_givesPhraseLabelAndSuffix_data();
    void lookup_givesPhraseLabelAndSuffix();
    void lookupOutsideTable_isEmpty_data();
    void lookupOutsideTable_isEmpty();
    void everyCard_inExactlyOneGroup();
    void groups_namesLabelsAndCellRows();
    void cards_numberedInOrderWithUniqueSuffixes();
    void firstPhrases_fiveOrSixKanaAndDistinct();
    void readBackOrder_swaps63Before21();
};

void TestPoemTable::lookup_givesPhraseLabelAndSuffix_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("group");

    QTest::newRow("first card") << 1 << QStringLiteral("あきのたの") << QStringLiteral("あきの")
                                << "Akino"
                                << "A";
    QTest::newRow("last card") << 100 << QStringLiteral("ももしきや") << QStringLiteral("もも")
                               << "Momo"
                               << "MuseUyu";
    QTest::newRow("kimi ha") << 15 << QStringLiteral("きみがためは") << QStringLiteral("きみ～は")
                             << "Kimiha"
                             << "Itihiki";
    QTest::newRow("kimi o") << 50 << QStringLiteral("きみがためお") << QStringLiteral("きみ～お")
                            << "Kimio"
                            << "Itihiki";
    QTest::newRow("label by sound 43")
        << 43 << QStringLiteral("あひみての") << QStringLiteral("あい") << "Ai"
        << "A";
    QTest::newRow("label by sound 44")
        << 44 << QStringLiteral("おほことの") << QStringLiteral("おおこ") << "Ooko"
        << "Owa";
    QTest::newRow("label by sound 78")
        << 78 << QStringLiteral("あはじしま") << QStringLiteral("あわじ") << "Awaji"
        << "A";
    QTest::newRow("wata ya") << 11 << QStringLiteral("わたのはらや") << QStringLiteral("わた～や")
                             << "Wataya"
                             << "Owa";
    QTest::newRow("asa u") << 64 << QStringLiteral("あさぼらけう") << QStringLiteral("あさ～う")
                           << "Asau"
                           << "A";
    QTest::newRow("yono yo") << 83 << QStringLiteral("よのなかよ") << QStringLiteral("よの～よ")
                             << "Yonoyo"
                             << "Hayayoka";
}

void TestPoemTable::lookup_givesPhraseLabelAndSuffix()
{
    QFETCH(int, number);
    QFETCH(QString, phrase);
    QFETCH(QString, label);
    QFETCH(QString, suffix);
    QFETCH(QString, group);

    const PoemTable::Card &card = PoemTable::card(number);
    QCOMPARE(card.number, number);
    QCOMPARE(PoemTable::firstPhrase(number), phrase);
    QCOMPARE(QString::fromUtf8(card.firstPhrase), phrase);
    QCOMPARE(QString::fromUtf8(card.label), label);
    QCOMPARE(QString::fromLatin1(card.suffix), suffix);
    QVERIFY(card.group >= 0 && card.group < PoemTable::groups().size());
    QCOMPARE(QString::fromLatin1(PoemTable::groups().at(card.group).name), group);
}

void TestPoemTable::lookupOutsideTable_isEmpty_data()
{
    QTest::addColumn<int>("number");
    QTest::newRow("preamble") << 0;
    QTest::newRow("negative") << -1;
    QTest::newRow("past the end") << 101;
}

void TestPoemTable::lookupOutsideTable_isEmpty()
{
    QFETCH(int, number);
    QVERIFY(PoemTable::firstPhrase(number).isEmpty());
    const PoemTable::Card &card = PoemTable::card(number);
    QCOMPARE(card.number, 0);
    QCOMPARE(card.group, -1);
    QCOMPARE(QByteArray(card.label), QByteArray());
    QCOMPARE(QByteArray(card.suffix), QByteArray());
}

void TestPoemTable::everyCard_inExactlyOneGroup()
{
    const QList<PoemTable::Group> &groups = PoemTable::groups();
    QCOMPARE(groups.size(), 7);

    QList<int> sizes;
    QList<int> seen(PoemTable::CardCount + 1, 0);
    for (qsizetype g = 0; g < groups.size(); ++g) {
        sizes << int(groups.at(g).cards.size());
        for (int n : groups.at(g).cards) {
            QVERIFY2(n >= 1 && n <= PoemTable::CardCount, qPrintable(QString::number(n)));
            ++seen[n];
            // The card's own group agrees with the column it stands in.
            QCOMPARE(PoemTable::card(n).group, int(g));
        }
    }
    QCOMPARE(sizes, QList<int>({17, 12, 16, 17, 14, 8, 16}));
    for (int n = 1; n <= PoemTable::CardCount; ++n)
        QVERIFY2(seen.at(n) == 1,
                 qPrintable(QStringLiteral("card %1 in %2 groups").arg(n).arg(seen.at(n))));
}

void TestPoemTable::groups_namesLabelsAndCellRows()
{
    const QList<PoemTable::Group> &groups = PoemTable::groups();
    QStringList names;
    QStringList labels;
    for (const PoemTable::Group &group : groups) {
        names << QString::fromLatin1(group.name);
        labels << QString::fromUtf8(group.label);
        QCOMPARE(group.cellY.size(), group.cards.size());
        // Rows go down the column, each at least one cell height below the last.
        QCOMPARE(group.cellY.first(), 40);
        for (qsizetype i = 1; i < group.cellY.size(); ++i) {
            const int step = group.cellY.at(i) - group.cellY.at(i - 1);
            QVERIFY2(step >= 30, group.name);
        }
        // The column fits above the bottom edge of the 581-pixel dialog.
        QVERIFY(group.cellY.last() + 25 <= 581);
    }
    QCOMPARE(names, QStringList({"MuseUyu", "Itihiki", "Hayayoka", "Mitako", "Owa", "Na", "A"}));
    QCOMPARE(labels,
             QStringList({QStringLiteral("む～せ う～ゆ"), QStringLiteral("い ち ひ き"),
                          QStringLiteral("は や よ か"), QStringLiteral("み た こ"),
                          QStringLiteral("お わ"), QStringLiteral("な"), QStringLiteral("あ")}));
    // The tilde is the fullwidth one, not an ASCII or wave dash.
    QVERIFY(labels.first().contains(QChar(0xFF5E)));
    QVERIFY(QString::fromUtf8(PoemTable::card(50).label).contains(QChar(0xFF5E)));
    QVERIFY(!QString::fromUtf8(PoemTable::card(50).label).contains(QChar(0x301C)));
}

void TestPoemTable::cards_numberedInOrderWithUniqueSuffixes()
{
    QSet<QByteArray> suffixes;
    for (int n = 1; n <= PoemTable::CardCount; ++n) {
        const PoemTable::Card &card = PoemTable::card(n);
        QCOMPARE(card.number, n);
        const QByteArray suffix(card.suffix);
        QVERIFY(!suffix.isEmpty());
        QVERIFY2(!suffixes.contains(suffix), suffix.constData());
        suffixes.insert(suffix);
        QVERIFY(!QByteArray(card.label).isEmpty());
    }
    QCOMPARE(suffixes.size(), PoemTable::CardCount);
}

void TestPoemTable::firstPhrases_fiveOrSixKanaAndDistinct()
{
    int five = 0;
    int six = 0;
    QSet<QString> phrases;
    for (int n = 1; n <= PoemTable::CardCount; ++n) {
        const QString phrase = PoemTable::firstPhrase(n);
        if (phrase.size() == 5)
            ++five;
        else if (phrase.size() == 6)
            ++six;
        for (QChar c : phrase)
            QVERIFY2(c.unicode() >= 0x3041 && c.unicode() <= 0x3096, qPrintable(phrase));
        phrases.insert(phrase);
    }
    QCOMPARE(five, 86);
    QCOMPARE(six, 14);
    QCOMPARE(phrases.size(), PoemTable::CardCount);
}

void TestPoemTable::readBackOrder_swaps63Before21()
{
    const QList<int> expected = {
        87, 18, 57, 22, 70, 81, 77, 74, 65, 23, 13, 40, 37, 100, 66, 71, 46, 61, 63, 21,
        17, 75, 42, 33, 35, 99, 91, 50, 15, 96, 9,  2,  67, 47,  59, 32, 28, 85, 62, 93,
        83, 51, 6,  98, 48, 90, 14, 94, 49, 27, 73, 55, 4,  16,  89, 34, 41, 97, 24, 10,
        29, 68, 5,  26, 72, 82, 60, 95, 44, 20, 8,  92, 38, 54,  76, 11, 36, 80, 84, 53,
        86, 25, 88, 19, 43, 52, 3,  79, 1,  12, 7,  56, 69, 30,  58, 78, 45, 39, 31, 64};
    QCOMPARE(PoemTable::readBackOrder(), expected);
    // The column itself keeps 21 above 63.
    const QList<int> &itihiki = PoemTable::groups().at(1).cards;
    QVERIFY(itihiki.indexOf(21) < itihiki.indexOf(63));
}

QTEST_APPLESS_MAIN(TestPoemTable)
#include "tst_poemtable.moc"
