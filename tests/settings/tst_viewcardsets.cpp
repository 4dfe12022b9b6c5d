#include "AppSettings.h"
#include "CardSetText.h"
#include "CardSets.h"
#include "TestData.h"
#include "ViewSettings.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestViewCardSets : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString ini(const QByteArray &content)
    {
        const QString path = dir.filePath(QStringLiteral("t.ini"));
        TestData::writeFile(path, content);
        return path;
    }

private slots:
    void viewSettings_roundTripAndDefaultsWriteNothing()
    {
        const QString path = ini("[SETTING]\nWait1Time=10\n");
        {
            QSettings settings(path, QSettings::IniFormat);
            ViewSettings().save(settings);
            QVERIFY(!settings.childGroups().contains(QStringLiteral("VIEW")));
            ViewSettings view;
            view.poemPanelOpen = true;
            view.hasPoemPanelPos = true;
            view.poemPanelPos = QPoint(-20, 300);
            view.poemReveal = ViewSettings::PoemReveal::AtEnd;
            view.save(settings);
            // The status line's choice is written only when it is used.
            QVERIFY(!settings.contains(QStringLiteral("VIEW/StatusCard")));
            view.statusCardWithPanel = true;
            view.save(settings);
        }
        QSettings settings(path, QSettings::IniFormat);
        const ViewSettings loaded = ViewSettings::load(settings);
        QVERIFY(loaded.poemPanelOpen);
        QCOMPARE(loaded.poemPanelPos, QPoint(-20, 300));
        QCOMPARE(loaded.poemReveal, ViewSettings::PoemReveal::AtEnd);
        QVERIFY(loaded.statusCardWithPanel);
    }

    void viewSettings_brokenValuesFallBackOneByOne()
    {
        const QString path = ini("[VIEW]\nPoemPanelOpen=true\nPoemPanelPos=12,abc\nPoemReveal=7\n");
        QSettings settings(path, QSettings::IniFormat);
        const ViewSettings loaded = ViewSettings::load(settings);
        QVERIFY(loaded.poemPanelOpen);
        QVERIFY(!loaded.hasPoemPanelPos);
        QCOMPARE(loaded.poemReveal, ViewSettings::PoemReveal::AfterLower);
    }

    void reveal_showsTheCardAtTheChosenMoment()
    {
        using R = ViewSettings::PoemReveal;
        using M = ViewSettings::ReadingMoment;
        QVERIFY(ViewSettings::reveals(R::WithUpper, M::UpperStarted));
        QVERIFY(!ViewSettings::reveals(R::AfterLower, M::UpperStarted));
        QVERIFY(ViewSettings::reveals(R::AfterLower, M::LowerEnded));
        QVERIFY(!ViewSettings::reveals(R::AtEnd, M::LowerEnded));
        QVERIFY(ViewSettings::reveals(R::AtEnd, M::ReadingOver));
    }

    void cardSets_roundTripAndSkipCorruptValues()
    {
        const QString path = ini("[CardSets]\nbroken=1,x,3\nrange=0,5\nempty=\n"
                                 "hand=\"3, 1,3\"\nunquoted=4,5\n");
        {
            QSettings settings(path, QSettings::IniFormat);
            CardSets sets = CardSets::load(settings);
            QCOMPARE(sets.names(),
                     (QStringList {QStringLiteral("hand"), QStringLiteral("unquoted")}));
            QCOMPARE(sets.cards(QStringLiteral("hand")), (QList<int> {3, 1}));
            QCOMPARE(sets.cards(QStringLiteral("unquoted")), (QList<int> {4, 5}));
            QVERIFY(sets.insert(QStringLiteral("一字決まり 練習"), {87, 18, 57}));
            QVERIFY(!sets.insert(QStringLiteral("a/b"), {1}));
            QVERIFY(!sets.insert(QStringLiteral(" "), {1}));
            QVERIFY(!sets.insert(QStringLiteral("none"), {}));
            sets.remove(QStringLiteral("hand"));
            sets.save(settings);
        }
        QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("CardSets/一字決まり 練習")).toString(),
                 QStringLiteral("87,18,57"));
        const CardSets loaded = CardSets::load(settings);
        QCOMPARE(loaded.names().size(), 2);
        QCOMPARE(loaded.cards(QStringLiteral("一字決まり 練習")), (QList<int> {87, 18, 57}));
    }

    // The settings file's sets go through AppSettings: untouched sets leave
    // the group byte for byte (a hand-edited value and a set written by
    // another program meanwhile included); saved and deleted ones change in place.
    void cardSets_throughAppSettings_writeOnlyTheirEdits()
    {
        const QByteArray before = "[CardSets]\nbroken=1,x\nkeep=\"3,1\"\nold=4\n";
        const QString path = ini(before);
        AppSettings settings = AppSettings::load(path);
        QCOMPARE(settings.cardSets.names(), (QStringList {"keep", "old"}));
        {
            QSettings other(path, QSettings::IniFormat);
            CardSets::saveOne(other, QStringLiteral("other"), {9});
        }
        QVERIFY(settings.save(path));
        QCOMPARE(AppSettings::load(path).cardSets.names(), (QStringList {"keep", "old", "other"}));

        settings.cardSets.remove(QStringLiteral("old"));
        QVERIFY(settings.cardSets.insert(QStringLiteral("new"), {5, 6}));
        QVERIFY(settings.save(path));
        QSettings file(path, QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("CardSets/broken")).toStringList(),
                 (QStringList {"1", "x"}));
        const CardSets loaded = CardSets::load(file);
        QCOMPARE(loaded.names(), (QStringList {"keep", "new", "other"}));
        QCOMPARE(loaded.cards(QStringLiteral("new")), (QList<int> {5, 6}));
    }

    void cardSetText_roundTripAndForgivingRead()
    {
        const CardSetText set {QStringLiteral("A: 一字"), {87, 18, 57}};
        QCOMPARE(set.toLine(), QStringLiteral("A: 一字: 87,18,57"));
        QCOMPARE(CardSetText::fromLine(set.toLine()), set);
        // A phone's full-width colon and digits, blanks around the numbers.
        QCOMPARE(CardSetText::fromLine(QStringLiteral(" 友札：８７， 18 ,57 ")),
                 (CardSetText {QStringLiteral("友札"), {87, 18, 57}}));
        // The typed field's separators: 、 and ・ as commas.
        QCOMPARE(CardSetText::fromLine(QStringLiteral("友達：１、２・３")),
                 (CardSetText {QStringLiteral("友達"), {1, 2, 3}}));
        for (const char *line : {"87,18", ": 1,2", "name: 1,101", "name: ", "a/b: 1", "x: 1,,2", "x: 1、、2"})
            QVERIFY2(!CardSetText::fromLine(QString::fromUtf8(line)), line);
    }
};

QTEST_APPLESS_MAIN(TestViewCardSets)
#include "tst_viewcardsets.moc"
