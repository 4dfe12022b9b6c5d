#include "PracticeDialog.h"

#include <QLabel>
#include <QSpinBox>
#include <QTest>

class TestPracticeDialog : public QObject
{
    Q_OBJECT

private slots:
    void deadCardBias_shownAndTaken()
    {
        PracticeSettings given;
        given.deadCards = 10;
        given.deadCardBias = 60;
        PracticeDialog dialog(nullptr, given);
        QCOMPARE(dialog.settings(), given);
        auto *bias = dialog.findChild<QSpinBox *>(QStringLiteral("spinDeadCardBias"));
        bias->setValue(250);
        QCOMPARE(dialog.settings().deadCardBias, 100);
        QVERIFY(PracticeDialog(nullptr, PracticeSettings()).settings().isDefault());
    }

    // The manual take's note names Next as the Reading menu shows it.
    void manualNote_namesTheMenuItem()
    {
        PracticeDialog dialog(nullptr, PracticeSettings());
        const QString note = dialog.findChild<QLabel *>(QStringLiteral("noteManual"))->text();
        QVERIFY2(note.contains(QStringLiteral("Reading ▸ Next")), qPrintable(note));
        QVERIFY2(note.contains(QStringLiteral("PgDown")), qPrintable(note));
    }
};

QTEST_MAIN(TestPracticeDialog)
#include "tst_practicedialog.moc"
