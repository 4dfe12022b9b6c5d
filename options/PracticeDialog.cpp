#include "PracticeDialog.h"
#include "ui_practicedialog.h"

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
    ui->spinDeadCards->setRange(0, PracticeSettings::MaxDeadCards);
    // The unit follows the number, so that a translation can say "1 card" and "2 cards".
    const auto showUnit = [this](int count) {
        ui->spinDeadCards->setSuffix(tr(" 枚", nullptr, count));
    };
    connect(ui->spinDeadCards, &QSpinBox::valueChanged, this, showUnit);
    ui->spinDeadCards->setValue(settings.deadCards);
    showUnit(ui->spinDeadCards->value());
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
    return chosen;
}
