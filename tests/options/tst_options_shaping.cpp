#include "AudioShapingStore.h"
#include "OptionDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QPushButton>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(AudioShaping)

namespace {

// In force before each dialog opens, different from every value a test sets.
const AudioShaping InForce{.trimSilence = false, .normalize = true, .speed = 0.8};

} // namespace

class OptionsShapingTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { AudioShapingStore::set(InForce); }
    void voiceOnlyDialog_leavesShapingAlone();
    void shapingOnScreen_isInForceAndTakenOnlyOnOk_data();
    void shapingOnScreen_isInForceAndTakenOnlyOnOk();

private:
    template<typename T>
    static T *child(QWidget *dialog, const char *name)
    {
        return dialog->findChild<T *>(QLatin1String(name));
    }
};

void OptionsShapingTest::voiceOnlyDialog_leavesShapingAlone()
{
    {
        OptionDialog dialog(nullptr, 1, true, nullptr);
        QVERIFY(child<QGroupBox>(&dialog, "groupBox_shaping")->isHidden());
        QCOMPARE(dialog.shaping(), AudioShaping{});
        dialog.reject();
    }
    QCOMPARE(AudioShapingStore::get(), InForce);
}

void OptionsShapingTest::shapingOnScreen_isInForceAndTakenOnlyOnOk_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<AudioShaping>("expectedShaping");
    QTest::addColumn<AudioShaping>("expectedInForce");
    const AudioShaping given{.trimSilence = true, .normalize = false, .speed = 1.5};
    const AudioShaping edited{.trimSilence = false, .normalize = true, .speed = 0.7};
    QTest::newRow("OK takes the screen") << true << edited << edited;
    QTest::newRow("Cancel puts back what was in force") << false << given << InForce;
}

void OptionsShapingTest::shapingOnScreen_isInForceAndTakenOnlyOnOk()
{
    QFETCH(bool, accept);
    QFETCH(AudioShaping, expectedShaping);
    QFETCH(AudioShaping, expectedInForce);
    const AudioShaping given{.trimSilence = true, .normalize = false, .speed = 1.5};
    auto dialog = std::make_unique<OptionDialog>(nullptr, 0, true, nullptr, given);
    dialog->show();
    QVERIFY(!child<QGroupBox>(dialog.get(), "groupBox_shaping")->isHidden());
    QCOMPARE(AudioShapingStore::get(), given);   // a sample would sound as shown

    child<QCheckBox>(dialog.get(), "checkBox_trimSilence")->click();
    child<QCheckBox>(dialog.get(), "checkBox_normalize")->click();
    child<QDoubleSpinBox>(dialog.get(), "doubleSpinBox_speed")->setValue(0.7);
    QCOMPARE(AudioShapingStore::get(), (AudioShaping{false, true, 0.7}));

    const auto which = accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel;
    QTest::mouseClick(child<QDialogButtonBox>(dialog.get(), "buttonBox")->button(which), Qt::LeftButton);
    QCOMPARE(dialog->result(), accept ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(dialog->voice(), 0);
    QCOMPARE(dialog->shaping(), expectedShaping);
    dialog.reset();
    QCOMPARE(AudioShapingStore::get(), expectedInForce);
}

QTEST_MAIN(OptionsShapingTest)
#include "tst_options_shaping.moc"
