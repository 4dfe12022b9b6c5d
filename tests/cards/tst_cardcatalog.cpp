#include "CardCatalog.h"
#include "CardSetPresets.h"
#include "KimarijiModel.h"

#include <QTest>

namespace {

QSet<int> cards(std::initializer_list<int> numbers)
{
    return QSet<int>(numbers);
}

} // namespace

class TestCardCatalog : public QObject
{
    Q_OBJECT

private slots:
    void builtInData_matchesTheKnownFacts()
    {
        const CardCatalog &catalog = CardCatalog::builtIn();
        QCOMPARE(catalog.size(), 100);
        QCOMPARE(catalog.skippedRows(), 0);
        const CardInfo one = catalog.card(1);
        QCOMPARE(one.kimariji, QStringLiteral("あきの"));
        QCOMPARE(one.colour, QStringLiteral("pink"));
        QCOMPARE(one.poet, QStringLiteral("天智天皇"));
        QCOMPARE(one.phrases.size(), 5);
        QCOMPARE(one.upperSounds(), QStringLiteral("あきのたのかりおのいおのとまおあらみ"));
        QCOMPARE(catalog.card(44).kimariji, QStringLiteral("おうこ"));
        for (const QString &colour : CardCatalog::colours()) {
            int count = 0;
            for (int n : catalog.numbers())
                count += catalog.card(n).colour == colour ? 1 : 0;
            QCOMPARE(count, 20);
        }
    }

    void brokenRows_areSkippedAndTheRestLoads()
    {
        const QByteArray poems = "no\tkami\tshimo\tkami_reading\tshimo_reading\n"
                                 "1\tk\ts\tあきの たの\tわが\n"
                                 "2\tk\ts\tはるすぎて\tころも\n"
                                 "3\tk\ts\tあしびき\tなが\n"
                                 "x\tbroken\n";
        const QByteArray table = "no\tkimariji\tcolour\tpoet\tpoet_reading\ttext\n"
                                 "0\t\t\tW\tw\tf g h i j\n" // the preamble: no card, a poet
                                 "1\tあきの\tpink\tP\tp\ta b c d e\n"
                                 "1\tあきの\tpink\tQ\tp\ta b c d e\n" // seen before
                                 "2\tはるす\tpurple\tP\tp\ta b c d e\n" // no such colour
                                 "3\tあし\tblue\tP\tp\ta b c\n" // not five phrases
                                 "101\tあ\tblue\tP\tp\ta b c d e\n" // no such card
                                 "\xff\xfe\t\t\n"; // garbage
        const CardCatalog catalog = CardCatalog::parse(table, poems);
        QCOMPARE(catalog.numbers(), QList<int> {1});
        QCOMPARE(catalog.skippedRows(), 6);
        QCOMPARE(catalog.card(2).number, 0);
        QCOMPARE(catalog.poet(0), QStringLiteral("W"));
        QCOMPARE(catalog.poet(1), QStringLiteral("P"));
        QVERIFY(catalog.poet(2).isEmpty());
        QCOMPARE(CardCatalog::parse(QByteArray(), QByteArray()).size(), 0);
    }

    void staticLengths_computedFromTheReadings_matchTheData()
    {
        const CardCatalog &catalog = CardCatalog::builtIn();
        const KimarijiModel model = KimarijiModel::fromCatalog(catalog);
        QList<int> perLength(7, 0);
        QList<int> oneSyllable;
        for (int n : catalog.numbers()) {
            const int length = model.staticLength(n);
            QCOMPARE(length, static_cast<int>(catalog.card(n).kimariji.size()));
            ++perLength[length];
            if (length == 1)
                oneSyllable.append(n);
        }
        QCOMPARE(perLength, (QList<int> {0, 7, 42, 37, 6, 2, 6}));
        QCOMPARE(oneSyllable, (QList<int> {18, 22, 57, 70, 77, 81, 87}));
    }

    void currentLength_followsTheUnreadCards()
    {
        KimarijiModel model = KimarijiModel::fromCatalog(CardCatalog::builtIn());
        model.reset(cards({1, 2}));
        QCOMPARE(model.currentLength(1), 1);
        QCOMPARE(model.opening(1, 1), QStringLiteral("あ"));
        model.reset(cards({1, 79, 3}));
        QCOMPARE(model.currentLength(1), 3);
        model.markRead(79);
        QCOMPARE(model.currentLength(1), 2);
        QCOMPARE(model.opening(1, model.currentLength(1)), QStringLiteral("あき"));
        model.reset(cards({1}));
        QCOMPARE(model.currentLength(1), 1); // the last card: still its first sound
        QCOMPARE(model.currentLength(0), 0);

        // おう sounds like おお: card 44 against 60, but not against 5 (おく).
        model.reset(cards({44, 60}));
        QCOMPARE(model.currentLength(44), 3);
        model.reset(cards({44, 5}));
        QCOMPARE(model.currentLength(44), 2);
        QCOMPARE(KimarijiModel::soundKey(QStringLiteral("おうこ")), QStringLiteral("おおこ"));
    }

    void unreadAtStart_withDeadCardsIsTheWholeHundred()
    {
        QCOMPARE(KimarijiModel::unreadAtStart(cards({1, 2}), false), cards({1, 2}));
        QCOMPARE(KimarijiModel::unreadAtStart(cards({1, 2}), true).size(), 100);
    }

    void presets_coverColoursOneSyllableAndFirstKana()
    {
        const QList<CardSetPreset> presets = CardSetPresets::all(CardCatalog::builtIn());
        QCOMPARE(presets.at(0).key, QStringLiteral("blue"));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(presets.at(i).cards.size(), 20);
        QCOMPARE(presets.at(5).kind, CardSetPreset::Kind::OneSyllable);
        QCOMPARE(presets.at(5).cards, (QList<int> {18, 22, 57, 70, 77, 81, 87}));
        int total = 0;
        for (qsizetype i = 6; i < presets.size(); ++i)
            total += static_cast<int>(presets.at(i).cards.size());
        QCOMPARE(total, 100);
        QCOMPARE(presets.at(6).key, QStringLiteral("あ"));
        QCOMPARE(presets.at(6).cards.size(), 16);
    }
};

QTEST_APPLESS_MAIN(TestCardCatalog)
#include "tst_cardcatalog.moc"
