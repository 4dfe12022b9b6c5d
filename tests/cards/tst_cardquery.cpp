#include "CardCatalog.h"
#include "CardQueryParser.h"
#include "CardSounds.h"
#include "ReadingHistory.h"
#include "ReadingOrder.h"
#include "RomajiKana.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Cards = QSet<int>;

const CardQueryParser &parser()
{
    static const CardQueryParser built = CardQueryParser::fromCatalog(CardCatalog::builtIn());
    return built;
}

Cards cardsStartingWith(const QString &kana)
{
    Cards cards;
    for (int card : CardCatalog::builtIn().numbers()) {
        if (CardCatalog::builtIn().card(card).kimariji.startsWith(kana))
            cards.insert(card);
    }
    return cards;
}

Cards range(int first, int last)
{
    Cards cards;
    for (int card = first; card <= last; ++card)
        cards.insert(card);
    return cards;
}

} // namespace

class TestCardQuery : public QObject
{
    Q_OBJECT

private slots:
    void romaji_hepburnAndCommonSpellings_data()
    {
        QTest::addColumn<QString>("romaji");
        QTest::addColumn<QString>("kana");
        QTest::newRow("plain") << "MuSuMe"
                               << "むすめ";
        QTest::newRow("shi chi tsu fu ji") << "shichitsufuji"
                                           << "しちつふじ";
        QTest::newRow("kunrei") << "sitituhuzi"
                                << "しちつふじ";
        QTest::newRow("yoon") << "kyosha"
                              << "きょしゃ";
        QTest::newRow("n before consonant") << "onna"
                                            << "おんな";
        QTest::newRow("n apostrophe") << "kan'i"
                                      << "かんい";
        QTest::newRow("doubled") << "kitte"
                                 << "きって";
        QTest::newRow("macron") << "ōe"
                                << "おおえ";
        QTest::newRow("wo") << "kazewo"
                            << "かぜを";
    }

    void romaji_hepburnAndCommonSpellings()
    {
        QFETCH(QString, romaji);
        QFETCH(QString, kana);
        QCOMPARE(RomajiKana::toHiragana(romaji).value_or(QStringLiteral("<none>")), kana);
    }

    void romaji_rejectsWhatIsNotRomaji()
    {
        for (const char *text : {"xyz", "q", "mu1", "ky", "hello!"})
            QVERIFY2(!RomajiKana::toHiragana(QString::fromUtf8(text)), text);
    }

    void parse_everyForm_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Cards>("added");
        const Cards oneSyllable {87, 18, 57, 22, 70, 81, 77};
        QTest::newRow("kana run of deciding syllables") << "むすめふさほせ" << oneSyllable;
        QTest::newRow("romaji words") << "mu su me" << Cards {87, 18, 57};
        QTest::newRow("romaji run") << "musumefusahose" << oneSyllable;
        QTest::newRow("katakana") << "ムスメ" << Cards {87, 18, 57};
        QTest::newRow("shared start names all") << "あさ" << Cards {31, 39, 64};
        QTest::newRow("romaji shared start") << "asabo" << Cards {31, 64};
        QTest::newRow("prefix then syllable")
            << "ase" << (cardsStartingWith(QStringLiteral("あ")) + Cards {77});
        QTest::newRow("longer than deciding") << "むらさめの" << Cards {87};
        QTest::newRow("particle as printed") << "ひとは" << Cards {35};
        QTest::newRow("particle as heard") << "hitowa" << Cards {35};
        QTest::newRow("o as heard") << "kazeo" << Cards {48};
        QTest::newRow("ou heard as oo") << "ouko" << Cards {44};
        QTest::newRow("oo names 44 too") << "おお" << Cards {44, 60, 95};
        QTest::newRow("range") << "1-20" << range(1, 20);
        QTest::newRow("reversed range") << "20~18" << range(18, 20);
        QTest::newRow("list") << "87,18,57" << Cards {87, 18, 57};
        QTest::newRow("full-width") << "１－３、１００" << (range(1, 3) + Cards {100});
        QTest::newRow("mixed") << " 1-3 , mu  さ " << (range(1, 3) + Cards {87, 70});
    }

    void parse_everyForm()
    {
        QFETCH(QString, text);
        QFETCH(Cards, added);
        const CardQuery query = parser().parse(text);
        QCOMPARE(query.unknown, QStringList());
        QCOMPARE(query.added, added);
        QVERIFY(query.removed.isEmpty());
    }

    void parse_eachDecidingSyllablesNameTheirCardAlone()
    {
        const CardCatalog &catalog = CardCatalog::builtIn();
        QCOMPARE(catalog.size(), 100);
        for (int card : catalog.numbers())
            QCOMPARE(parser().parse(catalog.card(card).kimariji).added, Cards {card});
    }

    void parse_dashRemovesAndAppliesInOneStep()
    {
        const CardQuery query = parser().parse(QStringLiteral("1-10 -3 -mu -5-6 むす"));
        QCOMPARE(query.added, (range(1, 10) + Cards {87, 18}));
        QCOMPARE(query.removed, (Cards {3, 87, 5, 6}));
        QCOMPARE(query.appliedTo({50, 87}), (Cards {1, 2, 4, 7, 8, 9, 10, 18, 50}));
    }

    void parse_nonsenseIsNamedAndChangesNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("unknown");
        QTest::newRow("letters") << "mu xyz" << QStringList {"xyz"};
        QTest::newRow("zero") << "0 5" << QStringList {"0"};
        QTest::newRow("past 100") << "1-200" << QStringList {"1-200"};
        QTest::newRow("half a range") << "5-" << QStringList {"5-"};
        QTest::newRow("kana of no card") << "ぬ -ん" << QStringList {"ぬ", "-ん"};
        QTest::newRow("no split") << "むすぬ" << QStringList {"むすぬ"};
        QTest::newRow("kanji") << "村雨" << QStringList {"村雨"};
        QTest::newRow("lone dash") << "- 3" << QStringList {"-"};
    }

    void parse_nonsenseIsNamedAndChangesNothing()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, unknown);
        const CardQuery query = parser().parse(text);
        QCOMPARE(query.unknown, unknown);
        const Cards selection {1, 87};
        QCOMPARE(query.appliedTo(selection), selection);
        QVERIFY(parser().parse(QStringLiteral("  ,, ")).isEmpty());
    }

    // Five selected cards, ten dead cards, DeadCardBias=100: every dead card
    // shares at least its first sound with a selected card while such cards
    // are left, and the reading's history file says so.
    void fullBias_deadCardsShareAFirstSound_inTheHistoryFile()
    {
        const QHash<int, QString> openings = CardSounds::openings(CardCatalog::builtIn());
        QTemporaryDir dir;
        const ReadingHistory history(dir.path());
        QRandomGenerator random(17);
        const QList<QList<int>> selections {
            {87, 18, 57, 22, 70}, {1, 2, 3, 4, 5}, {44, 13, 77, 100, 61}};
        for (const QList<int> &selected : selections) {
            const ReadingSetup setup =
                ReadingOrder::shuffled(selected, 10, 100, openings, false, random);
            QList<HistoryEntry> entries;
            for (int card : setup.playList)
                entries.append(
                    {int(entries.size()) + 1, card, setup.deadCards.contains(card), QString(), 0});
            QString path;
            QCOMPARE(history.save(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)), entries, &path),
                     ReadingHistory::SaveResult::Saved);

            // Cards outside the selection that share a first sound with it.
            QSet<QChar> firstSounds;
            for (int card : selected)
                firstSounds.insert(openings.value(card).front());
            int sharing = 0;
            for (int card = 1; card <= 100; ++card)
                sharing +=
                    !selected.contains(card) && firstSounds.contains(openings.value(card).front());

            const QSet<int> dead = ReadingHistory::deadCards(ReadingHistory::load(path));
            QCOMPARE(dead.size(), 10);
            const auto tempting = std::count_if(dead.cbegin(), dead.cend(), [&](int card) {
                return firstSounds.contains(openings.value(card).front());
            });
            QCOMPARE(tempting, std::min(10, sharing));
        }
    }
};

QTEST_MAIN(TestCardQuery)
#include "tst_cardquery.moc"
