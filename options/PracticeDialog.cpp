#include "PracticeDialog.h"
#include "ui_practicedialog.h"

#include <QCoreApplication>
#include <QKeySequence>

namespace {

// Reading > Next and its keys, as the main window's menu names them.
QString nextMenuItem()
{
    const QString menu = QCoreApplication::translate("MainWindow", "Reading");
    const QString item = QCoreApplication::translate("MainWindow", "Next");
    return menu + QStringLiteral(" ▸ ") + item;
}

QString nextKeys()
{
    QStringList keys;
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_PageDown, Qt::Key_Space})
        keys << QKeySequence(key).toString(QKeySequence::NativeText);
    return keys.join(QStringLiteral(", "));
}

} // namespace

PracticeDialog::PracticeDialog(QWidget *parent, const PracticeSettings &settings)
    : QDialog(parent)
    , ui(std::make_unique<Ui::PracticeDialog>())
{
    ui->setupUi(this);
    ui->radioStandard->setChecked(settings.style == ReadingStyle::Standard);
    ui->radioCompetitive->setChecked(settings.style == ReadingStyle::Competitive);
    ui->radioBeginner->setChecked(settings.style == ReadingStyle::Beginner);
    ui->radioAuto->setChecked(settings.advance == AdvanceMode::Auto);
    ui->radioManual->setChecked(settings.advance == AdvanceMode::Manual);
    // %1: the menu item Reading > Next, %2: its keys.
    ui->noteManual->setText(
        tr("取りの間は %1 (%2) まで続きます。").arg(nextMenuItem(), nextKeys()));
    ui->spinDeadCards->setRange(0, PracticeSettings::MaxDeadCards);
    ui->spinDeadCardBias->setRange(0, PracticeSettings::MaxDeadCardBias);
    ui->spinDeadCardBias->setValue(settings.deadCardBias);
    // The unit follows the number, so that a translation can say "1 card" and "2 cards".
    const auto showUnit = [this](int count) {
        ui->spinDeadCards->setSuffix(tr(" 枚", nullptr, count));
    };
    connect(ui->spinDeadCards, &QSpinBox::valueChanged, this, showUnit);
    ui->spinDeadCards->setValue(settings.deadCards);
    showUnit(ui->spinDeadCards->value());
    ui->checkEndless->setChecked(settings.endless);
    ui->spinMemorization->setRange(PracticeSettings::MinMemorizationMinutes,
                                   PracticeSettings::MaxMemorizationMinutes);
    ui->spinMemorization->setValue(settings.memorizationMinutes);
}

PracticeDialog::~PracticeDialog() = default;

PracticeSettings PracticeDialog::settings() const
{
    PracticeSettings chosen;
    if (ui->radioCompetitive->isChecked())
        chosen.style = ReadingStyle::Competitive;
    else if (ui->radioBeginner->isChecked())
        chosen.style = ReadingStyle::Beginner;
    chosen.advance = ui->radioManual->isChecked() ? AdvanceMode::Manual : AdvanceMode::Auto;
    chosen.deadCards = ui->spinDeadCards->value();
    chosen.deadCardBias = ui->spinDeadCardBias->value();
    chosen.endless = ui->checkEndless->isChecked();
    chosen.memorizationMinutes = ui->spinMemorization->value();
    return chosen;
}

void PracticeDialog::setStatusCardWithPanel(bool on)
{
    ui->checkStatusCard->setChecked(on);
}

bool PracticeDialog::statusCardWithPanel() const
{
    return ui->checkStatusCard->isChecked();
}
