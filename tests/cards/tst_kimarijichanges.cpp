#include "CardCatalog.h"
#include "CardReveal.h"
#include "KimarijiChanges.h"
#include "KimarijiModel.h"
#include "ReadingHistory.h"

#include <QTest>

namespace {

QSet<int> hundred()
{
    return KimarijiModel::unreadAtStart({}, true);
}

} // namespace

class TestKimarijiChanges : public QObject
{
    Q_OBJECT

private:
    const CardCatalog &catalog = CardCatalog::builtIn();
    KimarijiModel model = KimarijiModel::fromCatalog(CardCatalog::builtIn());

    // Reads `cards` one after another from `unread`, every unread card in
    // play; the changes of each read, described.
    QStringList readInTurn(const QList<int> &cards, const QSet<int> &unread)
    {
        KimarijiModel walk = model;
        walk.reset(unread);
        QStringList described;
        for (int card : cards) {
            described << KimarijiChanges::describe(KimarijiChanges::whenRead(walk, card, unread),
                                                   catalog);
            walk.markRead(card);
        }
        return described;
    }

private slots:
    void handWorkedExamples_fromAllHundredUnread()
    {
        QCOMPARE(readInTurn({65}, hundred()), QStringList {QStringLiteral("74 うか → う")});
        QCOMPARE(
            readInTurn({21, 61}, hundred()),
            (QStringList {QStringLiteral("63 いまは → いま"), QStringLiteral("63 いま → い")}));
        QCOMPARE(readInTurn({60, 95}, hundred()),
                 (QStringList {QString(), QStringLiteral("44 おうこ → おう")}));
        QCOMPARE(readInTurn({48}, hundred()), QStringList {QStringLiteral("98 かぜそ → かぜ")});
        QCOMPARE(readInTurn({87, 44}, hundred()), (QStringList {QString(), QString()}));
    }

    void onlyCardsInPlayAreListed_butEveryUnreadCardCompetes()
    {
        KimarijiModel walk = model;
        walk.reset(hundred()); // dead cards mixed in: all compete
        QVERIFY(KimarijiChanges::whenRead(walk, 65, {1, 2, 3}).isEmpty());
        QCOMPARE(KimarijiChanges::whenRead(walk, 65, {74, 65}),
                 (QList<KimarijiChange> {{74, 2, 1}}));
        // 61 unread but not in play still holds 63 at two kana.
        walk.reset({21, 61, 63});
        QCOMPARE(KimarijiChanges::whenRead(walk, 21, {21, 63}),
                 (QList<KimarijiChange> {{63, 3, 2}}));
        walk.markRead(21);
        walk.markRead(63); // read already: no longer listed
        QVERIFY(KimarijiChanges::whenRead(walk, 61, {21, 61, 63}).isEmpty());
    }

    void ofHistory_walksTheFileInOrder()
    {
        // Without dead cards only the rows compete; with one, all hundred do.
        const QList<HistoryEntry> plain {
            {1, 21, false, {}, 0}, {2, 63, false, {}, 1000}, {3, 61, false, {}, 2000}};
        QCOMPARE(KimarijiChanges::ofHistory(model, plain),
                 (QList<QList<KimarijiChange>> {{{63, 3, 2}}, {{61, 2, 1}}, {}}));
        const QList<HistoryEntry> withDead {{1, 65, true, {}, 0},
                                            {2, 60, false, {}, 1000},
                                            {3, 74, false, {}, 2000},
                                            {4, 95, false, {}, 3000}};
        QCOMPARE(KimarijiChanges::ofHistory(model, withDead),
                 (QList<QList<KimarijiChange>> {{{74, 2, 1}}, {}, {}, {}}));
        QVERIFY(KimarijiChanges::ofHistory(model, {}).isEmpty());
    }

    void cardReveal_followsTheOptionAndKeepsTheLastCard()
    {
        using R = ViewSettings::PoemReveal;
        // revealed() after: upper 7, lower end, upper 9, lower end, reading over.
        const QList<std::pair<R, QList<int>>> cases {{R::WithUpper, {7, 7, 9, 9, 9}},
                                                     {R::AfterLower, {0, 7, 7, 9, 9}},
                                                     {R::AtEnd, {0, 0, 0, 0, 9}}};
        for (const auto &[option, expected] : cases) {
            CardReveal reveal(option);
            QList<int> seen;
            reveal.upperStarted(7);
            seen << reveal.revealed();
            reveal.lowerEnded();
            seen << reveal.revealed();
            reveal.upperStarted(9);
            seen << reveal.revealed();
            QCOMPARE(reveal.currentRevealed(), option == R::WithUpper);
            reveal.lowerEnded();
            seen << reveal.revealed();
            reveal.readingOver();
            seen << reveal.revealed();
            QCOMPARE(seen, expected);
            QCOMPARE(reveal.readingStarted(), true);
            QCOMPARE(reveal.revealed(), 0);
        }
        // Stopped during an upper verse: the card is shown at the end.
        CardReveal stopped;
        QVERIFY(!stopped.upperStarted(3));
        QVERIFY(stopped.readingOver());
        QVERIFY(stopped.currentRevealed());
    }
};

QTEST_APPLESS_MAIN(TestKimarijiChanges)
#include "tst_kimarijichanges.moc"
