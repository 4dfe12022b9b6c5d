#include "DrillSetupPanel.h"

#include "DrillSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include <cmath>

namespace {

constexpr int DefaultCards = 25;
constexpr int MaxDeadCards = 50;

QDoubleSpinBox *pauseBox(QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setRange(0.0, DrillSettings::MaxPauseMs / 1000.0);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(DrillSetupPanel::tr(" 秒"));
    return box;
}

int toMs(const QDoubleSpinBox *box)
{
    return static_cast<int>(std::lround(box->value() * 1000.0));
}

} // namespace

DrillSetupPanel::DrillSetupPanel(QWidget *parent)
    : QWidget(parent)
{
    sourceBox = new QComboBox(this);
    sourceBox->addItem(tr("選択中の札"), static_cast<int>(Source::Selected));
    sourceBox->addItem(tr("札セット"), static_cast<int>(Source::CardSet));
    sourceBox->addItem(tr("苦手札"), static_cast<int>(Source::WeakCards));
    cardSet = new QComboBox(this);
    count = new QSpinBox(this);
    count->setRange(MinCards, MaxCards);
    count->setValue(DefaultCards);
    deadCount = new QSpinBox(this);
    deadCount->setRange(0, MaxDeadCards);
    voice = new QLabel(this);
    lowerPause = pauseBox(this);
    lowerPause->setToolTip(tr("取りか取れなかった後、下の句までの間"));
    nextPause = pauseBox(this);
    nextPause->setToolTip(tr("下の句の後、次の札までの間"));
    listening = new QCheckBox(tr("聞き分け (決まり字で止める)"), this);
    // Two columns of settings, so the field keeps the height of a laptop's screen.
    auto *setup = new QHBoxLayout(this);
    setup->setContentsMargins(QMargins());
    auto *cardsForm = new QFormLayout;
    cardsForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    auto *sourceRow = new QHBoxLayout;
    sourceRow->addWidget(sourceBox);
    sourceRow->addWidget(cardSet, 1);
    cardsForm->addRow(tr("場の札"), sourceRow);
    auto *countRow = new QHBoxLayout;
    countRow->addWidget(count);
    countRow->addWidget(new QLabel(tr("空札"), this));
    countRow->addWidget(deadCount);
    countRow->addStretch();
    cardsForm->addRow(tr("枚数"), countRow);
    auto *readingForm = new QFormLayout;
    readingForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    auto *pauseRow = new QHBoxLayout;
    pauseRow->addWidget(lowerPause);
    pauseRow->addWidget(new QLabel(tr("次の札まで"), this));
    pauseRow->addWidget(nextPause);
    readingForm->addRow(tr("下の句まで"), pauseRow);
    auto *voiceRow = new QHBoxLayout;
    voiceRow->addWidget(voice);
    voiceRow->addWidget(listening);
    readingForm->addRow(tr("読手"), voiceRow);
    setup->addLayout(cardsForm);
    setup->addLayout(readingForm);
    // The forms share the spare width with the space after them, as they
    // did when they lay in the window's own row.
    setup->addStretch();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    connect(sourceBox, &QComboBox::currentIndexChanged, this, &DrillSetupPanel::sourceChanged);
    for (QDoubleSpinBox *pause : {lowerPause, nextPause})
        connect(pause, &QDoubleSpinBox::valueChanged, this, &DrillSetupPanel::settingsEdited);
    connect(listening, &QCheckBox::toggled, this, &DrillSetupPanel::settingsEdited);
}

void DrillSetupPanel::showSettings(const DrillSettings &drill)
{
    const QSignalBlocker blockLower(lowerPause);
    const QSignalBlocker blockNext(nextPause);
    const QSignalBlocker blockListening(listening);
    lowerPause->setValue(drill.beforeLowerMs / 1000.0);
    nextPause->setValue(drill.beforeNextMs / 1000.0);
    listening->setChecked(drill.listening);
}

void DrillSetupPanel::writeSettings(DrillSettings &drill) const
{
    drill.beforeLowerMs = toMs(lowerPause);
    drill.beforeNextMs = toMs(nextPause);
    drill.listening = listening->isChecked();
}

void DrillSetupPanel::setPauses(int beforeLowerMs, int beforeNextMs)
{
    lowerPause->setValue(beforeLowerMs / 1000.0);
    nextPause->setValue(beforeNextMs / 1000.0);
}

DrillSetupPanel::Source DrillSetupPanel::source() const
{
    return static_cast<Source>(sourceBox->currentData().toInt());
}

void DrillSetupPanel::setSource(Source chosen)
{
    sourceBox->setCurrentIndex(sourceBox->findData(static_cast<int>(chosen)));
}

void DrillSetupPanel::setCardSetNames(const QStringList &names)
{
    const QString current = cardSet->currentText();
    cardSet->clear();
    cardSet->addItems(names);
    cardSet->setCurrentText(current);
}

QString DrillSetupPanel::cardSetName() const
{
    return cardSet->currentText();
}

int DrillSetupPanel::cardCount() const
{
    return count->value();
}

int DrillSetupPanel::deadCards() const
{
    return deadCount->value();
}

bool DrillSetupPanel::isListening() const
{
    return listening->isChecked();
}

void DrillSetupPanel::setVoiceName(const QString &name)
{
    voice->setText(name);
}

void DrillSetupPanel::setRunning(bool running, const QString &listeningRefusal)
{
    for (QWidget *setupWidget : {static_cast<QWidget *>(sourceBox), static_cast<QWidget *>(count),
                                 static_cast<QWidget *>(deadCount)})
        setupWidget->setEnabled(!running);
    cardSet->setEnabled(!running && source() == Source::CardSet);
    listening->setEnabled(!running && (listeningRefusal.isEmpty() || listening->isChecked()));
    listening->setToolTip(listeningRefusal.isEmpty()
                              ? tr("上の句を決まり字のすぐ後で止め、場から取ります")
                              : listeningRefusal);
}
