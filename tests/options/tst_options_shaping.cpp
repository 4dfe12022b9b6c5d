#include "AudioShapingStore.h"
#include "OptionDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QtTest>

#include <memory>

// The shaping on screen is in force while the dialog is open (so the sample
// sounds as shown), is taken on OK and undone otherwise.
class OptionsShapingTest : public QObject
{
    Q_OBJECT

private slots:
    void shapingOnScreen_inForceWhileOpen_keptOnlyOnOk_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void shapingOnScreen_inForceWhileOpen_keptOnlyOnOk()
    {
        QFETCH(bool, accept);
        const AudioShaping before {false, true, 0.8}, given {true, false, 1.5},
            edited {false, true, 0.7};
        AudioShapingStore inForce;
        inForce.set(before);
        auto dialog = std::make_unique<OptionDialog>(nullptr, 0, true, nullptr, given, inForce);
        QCOMPARE(inForce.get(), given);

        dialog->findChild<QCheckBox *>(QStringLiteral("checkBox_trimSilence"))->click();
        dialog->findChild<QCheckBox *>(QStringLiteral("checkBox_normalize"))->click();
        dialog->findChild<QDoubleSpinBox *>()->setValue(0.7);
        QCOMPARE(inForce.get(), edited);

        const auto button = accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel;
        dialog->findChild<QDialogButtonBox *>()->button(button)->click();
        QCOMPARE(dialog->shaping(), accept ? edited : given);
        dialog.reset();
        QCOMPARE(inForce.get(), accept ? edited : before);
    }
};

QTEST_MAIN(OptionsShapingTest)
#include "tst_options_shaping.moc"
