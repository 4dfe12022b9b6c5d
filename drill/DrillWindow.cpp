#include "DrillWindow.h"

#include "CardCatalog.h"
#include "CardSets.h"
#include "DrillField.h"
#include "DrillFieldLayout.h"
#include "DrillGameField.h"
#include "DrillReader.h"
#include "DrillStatistics.h"
#include "TakingCardText.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {

constexpr int MinCards = 5;
constexpr int MaxCards = 50;
constexpr int DefaultCards = 25;
constexpr int MaxDeadCards = 50;

} // namespace

DrillWindow::DrillWindow(DrillReader *drillReader, const QString &appFolder, const QString &iniPath,
                         QWidget *parent)
    : QWidget(parent, Qt::Window)
    , reader(drillReader)
    , trainingFolder(QDir(appFolder).filePath(QLatin1String(DrillRecord::FolderName)))
    , settingsFile(iniPath)
{
    setWindowTitle(tr("取りの練習"));
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, &DrillWindow::onDeadline);

    source = new QComboBox(this);
    source->addItem(tr("選択中の札"), static_cast<int>(Source::Selected));
    source->addItem(tr("札セット"), static_cast<int>(Source::CardSet));
    source->addItem(tr("苦手札"), static_cast<int>(Source::WeakCards));
    cardSet = new QComboBox(this);
    count = new QSpinBox(this);
    count->setRange(MinCards, MaxCards);
    count->setValue(DefaultCards);
    deadCount = new QSpinBox(this);
    deadCount->setRange(0, MaxDeadCards);
    voice = new QLabel(reader ? reader->voiceName() : QString(), this);
    auto *setup = new QFormLayout;
    setup->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    auto *sourceRow = new QHBoxLayout;
    sourceRow->addWidget(source);
    sourceRow->addWidget(cardSet, 1);
    setup->addRow(tr("場の札"), sourceRow);
    setup->addRow(tr("枚数"), count);
    setup->addRow(tr("空札"), deadCount);
    setup->addRow(tr("読手"), voice);
    fieldKind = new QComboBox(this);
    fieldKind->addItem(tr("一覧"));
    fieldKind->addItem(tr("競技の場 (自陣と敵陣)"));
    shuffleOwn = new QPushButton(tr("自陣をランダムに並べる"), this);

    start = new QPushButton(tr("開始"), this);
    stop = new QPushButton(tr("停止"), this);
    next = new QPushButton(tr("次へ"), this);
    repeat = new QPushButton(tr("もう一度"), this);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {start, stop, next, repeat})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(new QLabel(tr("並べ方"), this));
    buttons->addWidget(fieldKind);
    buttons->addWidget(shuffleOwn);

    fieldView = new DrillField(this);
    feedback = new QLabel(this);
    feedback->setObjectName(QStringLiteral("drillFeedback"));
    status = new QLabel(this);
    chart = new QChartView(this);
    chart->setMinimumHeight(220);
    chart->setRenderHint(QPainter::Antialiasing);
    drillWeak = new QPushButton(tr("苦手札で練習"), this);
    saveWeak = new QPushButton(tr("苦手札を札セットに保存..."), this);
    auto *weakRow = new QHBoxLayout;
    weakRow->addWidget(drillWeak);
    weakRow->addWidget(saveWeak);
    weakRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(setup);
    layout->addLayout(buttons);
    layout->addWidget(fieldView, 1);
    gameView = new DrillGameField(this);
    layout->addWidget(gameView, 1);
    layout->addWidget(feedback);
    layout->addWidget(status);
    layout->addWidget(chart);
    placeStatistics = new QLabel(this);
    placeStatistics->setObjectName(QStringLiteral("drillPlaceStatistics"));
    layout->addWidget(placeStatistics);
    layout->addLayout(weakRow);

    connect(source, &QComboBox::currentIndexChanged, this, &DrillWindow::updateButtons);
    connect(start, &QPushButton::clicked, this, &DrillWindow::startDrill);
    connect(stop, &QPushButton::clicked, this, &DrillWindow::stopDrill);
    connect(next, &QPushButton::clicked, this, &DrillWindow::onNext);
    connect(repeat, &QPushButton::clicked, this, [this] {
        if (reader && rounds)
            reader->repeat();
    });
    connect(fieldView, &DrillField::cardPressed, this, &DrillWindow::onCardPressed);
    connect(gameView, &DrillGameField::cardPressed, this, &DrillWindow::onCardPressed);
    connect(gameView, &DrillGameField::ownSlotsChanged, this, &DrillWindow::keepOwnSlots);
    connect(shuffleOwn, &QPushButton::clicked, gameView, &DrillGameField::shuffleOwnSide);
    connect(fieldKind, &QComboBox::activated, this, [this](int index) {
        fieldChoice.gameField = index == 1;
        showFieldChoice();
        emit fieldSettingsChanged();
    });
    connect(drillWeak, &QPushButton::clicked, this, [this] {
        source->setCurrentIndex(source->findData(static_cast<int>(Source::WeakCards)));
        startDrill();
    });
    connect(saveWeak, &QPushButton::clicked, this, &DrillWindow::saveWeakCards);
    if (reader) {
        connect(reader, &DrillReader::verseStarted, this, &DrillWindow::onVerseStarted);
        connect(reader, &DrillReader::verseEnded, this, &DrillWindow::onVerseEnded);
    }

    refreshCardSets();
    refreshStatistics();
    showFieldChoice();
    updateButtons();
    resize(960, 760);
}

DrillWindow::~DrillWindow()
{
    // Closed with the program mid-drill: what was answered is still kept.
    if (!rounds)
        return;
    if (reader)
        reader->stop();
    DrillRecord(trainingFolder).save(startedAt, rounds->rows());
}

void DrillWindow::setSelectedCards(const QList<int> &cards)
{
    selected = cards;
    updateButtons();
}

void DrillWindow::setPauses(int lowerMs, int nextMs)
{
    beforeLowerMs = lowerMs;
    beforeNextMs = nextMs;
}

QList<int> DrillWindow::sourceCards() const
{
    switch (static_cast<Source>(source->currentData().toInt())) {
    case Source::Selected:
        return selected;
    case Source::CardSet: {
        QSettings settings(settingsFile, QSettings::IniFormat);
        return CardSets::load(settings).cards(cardSet->currentText());
    }
    case Source::WeakCards:
        return weak;
    }
    return {};
}

void DrillWindow::startDrill()
{
    if (rounds || !reader)
        return;
    const QList<int> cards = sourceCards();
    if (cards.isEmpty()) {
        status->setText(tr("場に置く札がありません"));
        return;
    }
    const DrillDeal deal =
        DrillDeal::draw(cards, count->value(), deadCount->value(), *QRandomGenerator::global());
    const TimingTable timing = TimingTable::load(reader->timingFile());
    rounds = std::make_unique<DrillRounds>(KimarijiModel::fromCatalog(CardCatalog::builtIn()),
                                           timing, deal, takeLimitMs);
    rounds->setPauses(beforeLowerMs, beforeNextMs);
    layOutField(deal);
    startedAt = QDateTime::currentDateTime();
    voice->setText(reader->voiceName());
    feedback->clear();
    status->setText(timing.isEmpty()
                        ? tr("この読手には時刻表がないので、上の句の始まりから計ります")
                        : QString());
    updateButtons();
    emit runningChanged(true);
    pump();
}

void DrillWindow::stopDrill()
{
    if (!rounds)
        return;
    rounds->stop();
    finishDrill();
}

void DrillWindow::closeEvent(QCloseEvent *event)
{
    stopDrill();
    event->accept();
}

void DrillWindow::pump()
{
    if (!rounds)
        return;
    if (rounds->isFinished()) {
        finishDrill();
        return;
    }
    if (const std::optional<DrillVerse> verse = rounds->takeDueVerse(); verse && reader)
        reader->readVerse(verse->card, verse->half, verse->pauseMs);
}

void DrillWindow::onVerseStarted(int card, int half, qint64 startMs, qint64 trimmedLeadMs,
                                 double speed)
{
    if (!rounds)
        return;
    rounds->verseStarted(card, half, startMs, trimmedLeadMs, speed);
    scheduleDeadline();
}

void DrillWindow::onVerseEnded(int card, int half)
{
    if (!rounds)
        return;
    rounds->verseEnded(card, half);
    pump();
}

void DrillWindow::onCardPressed(int card)
{
    if (!rounds || !reader)
        return;
    const qint64 at = reader->nowMs(); // first: the click's moment on the audio clock
    if (const std::optional<DrillRoundEnd> end = rounds->take(card, at)) {
        showRoundEnd(*end);
        pump();
    }
}

void DrillWindow::onDeadline()
{
    if (!rounds || !reader)
        return;
    if (const std::optional<DrillRoundEnd> end = rounds->expire(reader->nowMs())) {
        showRoundEnd(*end);
        pump();
    } else {
        scheduleDeadline(); // the clock had not got there yet
    }
}

void DrillWindow::onNext()
{
    if (!rounds || !reader)
        return;
    if (const std::optional<DrillRoundEnd> end = rounds->giveUp()) {
        showRoundEnd(*end);
        pump();
    } else {
        reader->next();
    }
}

void DrillWindow::scheduleDeadline()
{
    const std::optional<qint64> due = rounds ? rounds->deadlineMs() : std::nullopt;
    if (!due || !reader) {
        deadline.stop();
        return;
    }
    deadline.start(static_cast<int>(std::clamp<qint64>(*due - reader->nowMs(), 1, 600000)));
}

void DrillWindow::showRoundEnd(const DrillRoundEnd &end)
{
    deadline.stop();
    const DrillRow &row = end.row;
    fieldView->removeCard(row.card);
    gameView->removeCard(row.card);
    const QString kimariji = end.staticKimariji == row.kimariji
        ? row.kimariji
        : tr("%1 → %2").arg(end.staticKimariji, row.kimariji);
    const QString reaction = !row.reactionMs ? QString()
        : row.reference == DrillReference::Verse
        ? tr("%1 ミリ秒 (上の句の始まりから)").arg(*row.reactionMs)
        : tr("%1 ミリ秒").arg(*row.reactionMs);
    switch (row.result) {
    case DrillResult::Taken:
        feedback->setText(tr("取り: %1番 %2 決まり字 %3").arg(row.card).arg(reaction, kimariji));
        break;
    case DrillResult::Fault:
        feedback->setText(row.dead ? tr("お手つき: 空札 %1番 (決まり字 %2) で %3番を取りました")
                                         .arg(row.card)
                                         .arg(kimariji)
                                         .arg(end.touched)
                                   : tr("お手つき: %1番 (決まり字 %2) に %3番を取りました")
                                         .arg(row.card)
                                         .arg(kimariji)
                                         .arg(end.touched));
        break;
    case DrillResult::Missed:
        feedback->setText(tr("取れませんでした: %1番 決まり字 %2").arg(row.card).arg(kimariji));
        break;
    case DrillResult::Passed:
        feedback->setText(tr("空札: %1番 決まり字 %2").arg(row.card).arg(kimariji));
        break;
    }
}

void DrillWindow::finishDrill()
{
    deadline.stop();
    if (reader)
        reader->stop();
    const QList<DrillRow> rows = rounds ? rounds->rows() : QList<DrillRow>();
    rounds.reset();
    fieldView->setTakingEnabled(false);
    gameView->setTakingEnabled(false);
    QString path;
    const DrillRecord::SaveResult saved = DrillRecord(trainingFolder).save(startedAt, rows, &path);
    if (saved == DrillRecord::SaveResult::Failed)
        status->setText(tr("練習の記録を保存できませんでした"));
    else if (saved == DrillRecord::SaveResult::Saved)
        status->setText(tr("練習を終わりました (%n枚)", nullptr, static_cast<int>(rows.size())));
    refreshStatistics();
    updateButtons();
    emit runningChanged(false);
    if (saved == DrillRecord::SaveResult::Saved)
        emit drillSaved(path);
}

void DrillWindow::refreshStatistics()
{
    const DrillStatistics stats(DrillRecord(trainingFolder).recent(RecentDrills));
    weak = stats.weakCards();
    showPlaceStatistics(stats);

    auto *medians = new QBarSet(tr("反応の中央値 (ミリ秒)"));
    auto *faults = new QBarSet(tr("お手つきと取れなかった回数"));
    QStringList labels;
    qint64 slowest = 100;
    int mostErrors = 1;
    for (const CardDrillStats &card : stats.cards().mid(0, ChartCards)) {
        labels.append(QString::number(card.card));
        const qint64 median = std::max<qint64>(card.medianReactionMs.value_or(0), 0);
        medians->append(static_cast<qreal>(median));
        faults->append(card.faults + card.misses);
        slowest = std::max(slowest, median);
        mostErrors = std::max(mostErrors, card.faults + card.misses);
    }
    auto *chartModel = new QChart;
    auto *timeSeries = new QBarSeries;
    timeSeries->append(medians);
    auto *faultSeries = new QBarSeries;
    faultSeries->append(faults);
    chartModel->addSeries(timeSeries);
    chartModel->addSeries(faultSeries);
    auto *cardsAxis = new QBarCategoryAxis;
    cardsAxis->append(labels);
    auto *msAxis = new QValueAxis;
    msAxis->setRange(0, static_cast<qreal>(slowest));
    msAxis->setLabelFormat(QStringLiteral("%d"));
    msAxis->applyNiceNumbers();
    auto *countAxis = new QValueAxis;
    countAxis->setRange(0, mostErrors);
    countAxis->setLabelFormat(QStringLiteral("%d"));
    chartModel->addAxis(cardsAxis, Qt::AlignBottom);
    chartModel->addAxis(msAxis, Qt::AlignLeft);
    chartModel->addAxis(countAxis, Qt::AlignRight);
    timeSeries->attachAxis(cardsAxis);
    timeSeries->attachAxis(msAxis);
    faultSeries->attachAxis(cardsAxis);
    faultSeries->attachAxis(countAxis);
    chartModel->setTitle(tr("最近の練習 (苦手な札から)"));
    QChart *old = chart->chart();
    chart->setChart(chartModel); // the view owns the new chart
    delete old;
}

void DrillWindow::refreshCardSets()
{
    QSettings settings(settingsFile, QSettings::IniFormat);
    const QString current = cardSet->currentText();
    cardSet->clear();
    cardSet->addItems(CardSets::load(settings).names());
    cardSet->setCurrentText(current);
}

void DrillWindow::saveWeakCards()
{
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, tr("苦手札を札セットに保存"), tr("札セットの名前"),
                              QLineEdit::Normal, tr("苦手札"), &ok);
    if (!ok)
        return;
    QSettings settings(settingsFile, QSettings::IniFormat);
    if (!CardSets::saveOne(settings, name, weak)) {
        QMessageBox::warning(this, windowTitle(), tr("この名前では保存できません"));
        return;
    }
    settings.sync();
    if (settings.status() != QSettings::NoError)
        QMessageBox::warning(this, windowTitle(), tr("設定ファイルに書き込めませんでした"));
    refreshCardSets();
}

void DrillWindow::updateButtons()
{
    const bool running = rounds != nullptr;
    for (QWidget *setupWidget : {static_cast<QWidget *>(source), static_cast<QWidget *>(count),
                                 static_cast<QWidget *>(deadCount)})
        setupWidget->setEnabled(!running);
    cardSet->setEnabled(!running
                        && static_cast<Source>(source->currentData().toInt()) == Source::CardSet);
    start->setEnabled(!running && reader);
    stop->setEnabled(running);
    next->setEnabled(running);
    repeat->setEnabled(running);
    chart->setVisible(!running); // the field has the room during a drill
    placeStatistics->setVisible(!running && !placeStatistics->text().isEmpty());
    drillWeak->setEnabled(!running && !weak.isEmpty() && reader);
    fieldKind->setEnabled(!running);
    shuffleOwn->setEnabled(!running && fieldChoice.gameField);
    saveWeak->setEnabled(!running && !weak.isEmpty());
}

void DrillWindow::setFieldSettings(const DrillFieldSettings &settings)
{
    fieldChoice = settings;
    fieldKind->setCurrentIndex(fieldChoice.gameField ? 1 : 0);
    showFieldChoice();
}

void DrillWindow::layOutField(const DrillDeal &deal)
{
    gameView->setTakingEnabled(true);
    fieldView->setTakingEnabled(true);
    if (!fieldChoice.gameField) {
        fieldView->setCards(deal.field, TakingCardText::builtIn());
        return;
    }
    const DrillFieldLayout laid =
        DrillFieldLayout::deal(deal.field, fieldChoice.ownSlots, *QRandomGenerator::global());
    rounds->setFieldRows(laid.rows());
    gameView->setField(laid, TakingCardText::builtIn());
    keepOwnSlots(); // cards new to the player's side keep the place they got
}

void DrillWindow::showFieldChoice()
{
    fieldView->setVisible(!fieldChoice.gameField);
    gameView->setVisible(fieldChoice.gameField);
    if (fieldChoice.gameField && !rounds && gameView->fieldLayout().isEmpty()) {
        // Something to arrange before the first drill: the cards it would lay out.
        const DrillFieldLayout preview = DrillFieldLayout::deal(
            sourceCards().mid(0, count->value()), fieldChoice.ownSlots, *QRandomGenerator::global());
        gameView->setField(preview, TakingCardText::builtIn());
        keepOwnSlots();
    }
    updateButtons();
}

void DrillWindow::keepOwnSlots()
{
    const QMap<int, int> now = gameView->fieldLayout().ownSlots();
    bool changed = false;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (fieldChoice.ownSlots.value(it.key(), -1) != it.value()) {
            fieldChoice.ownSlots.insert(it.key(), it.value());
            changed = true;
        }
    }
    if (changed)
        emit fieldSettingsChanged();
}

void DrillWindow::showPlaceStatistics(const DrillStatistics &stats)
{
    if (stats.places().isEmpty()) {
        placeStatistics->clear();
        return;
    }
    // A row a side, as the field lies: the opponent's back row to the left.
    QString table = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\"><tr><th>%1</th>")
                        .arg(tr("反応の中央値"));
    const QStringList rowNames {tr("上段"), tr("中段"), tr("下段")};
    for (const QString &name : rowNames)
        table += QStringLiteral("<th>%1</th>").arg(name);
    table += QStringLiteral("</tr>");
    for (FieldSide side : {FieldSide::Opponent, FieldSide::Own}) {
        table += QStringLiteral("<tr><td>%1</td>")
                     .arg(side == FieldSide::Own ? tr("自陣") : tr("敵陣"));
        for (int row = 1; row <= DrillFieldLayout::Rows; ++row) {
            QString cell;
            for (const PlaceDrillStats &place : stats.places()) {
                if (place.place == FieldRow {side, row} && place.medianReactionMs)
                    cell = tr("%1 ミリ秒 (%n回)", nullptr, place.takes)
                               .arg(*place.medianReactionMs);
            }
            table += QStringLiteral("<td align=\"right\">%1</td>").arg(cell);
        }
        table += QStringLiteral("</tr>");
    }
    placeStatistics->setText(table + QStringLiteral("</table>"));
}
