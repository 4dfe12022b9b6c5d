#include "DrillWindow.h"

#include "AppSettings.h"
#include "CardCatalog.h"
#include "CardSets.h"
#include "DrillField.h"
#include "DrillFieldLayout.h"
#include "DrillGameField.h"
#include "DrillReader.h"
#include "DrillResultsView.h"
#include "DrillSetupPanel.h"
#include "DrillStatistics.h"
#include "ScreenFit.h"
#include "TakingCardText.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

// A size that fits a 1280x720 screen with its panels and the title bar.
constexpr int DefaultWidth = 1180;
constexpr int DefaultHeight = 600;

} // namespace

DrillWindow::DrillWindow(DrillReader *drillReader, const QString &appFolder, const QString &iniPath,
                         QWidget *parent)
    : QWidget(parent, Qt::Window)
    , reader(drillReader)
    , trainingFolder(QDir(appFolder).filePath(QLatin1String(DrillRecord::FolderName)))
    , settingsFile(iniPath)
    , ownSettings(std::make_unique<AppSettings>(AppSettings::load(iniPath)))
    , settings(ownSettings.get())
{
    setWindowTitle(tr("取りの練習"));
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, &DrillWindow::onDeadline);

    setupPanel = new DrillSetupPanel(this);
    setupPanel->setVoiceName(reader ? reader->voiceName() : QString());
    auto *setup = new QHBoxLayout;
    setup->addWidget(setupPanel);
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
    status->setWordWrap(true);
    results = new DrillResultsView(this);
    setup->addWidget(results->placeStatistics());
    QLabel *score = results->score();
    // The lines keep their room while empty, so text coming and going never
    // moves the field or grows the window.
    const int line = fontMetrics().lineSpacing();
    feedback->setMinimumHeight(line);
    score->setMinimumHeight(2 * line);
    status->setMinimumHeight(2 * line);
    // The field and the chart take turns in one place, which is as high as
    // a full field needs from the start: the window does not grow when a
    // drill starts. The chart joins them when it first shows.
    gameView = new DrillGameField(this);
    board = new QStackedWidget(this);
    board->addWidget(fieldView);
    board->addWidget(gameView);
    {
        DrillField fullField;
        QList<int> cards;
        for (int card = 1; card <= DrillSetupPanel::MaxCards; ++card)
            cards.append(card);
        fullField.setCards(cards, TakingCardText::builtIn());
        board->setMinimumSize(fullField.minimumSizeHint());
    }
    drillWeak = new QPushButton(tr("苦手札で練習"), this);
    saveWeak = new QPushButton(tr("苦手札を札セットに保存..."), this);
    auto *weakRow = new QHBoxLayout;
    weakRow->addWidget(drillWeak);
    weakRow->addWidget(saveWeak);
    weakRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(setup);
    layout->addLayout(buttons);
    layout->addWidget(board, 1);
    layout->addWidget(feedback);
    layout->addWidget(score);
    layout->addWidget(status);
    layout->addLayout(weakRow);

    connect(setupPanel, &DrillSetupPanel::sourceChanged, this, &DrillWindow::updateButtons);
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
        storeFieldChoice();
    });
    connect(drillWeak, &QPushButton::clicked, this, [this] {
        setupPanel->setSource(Source::WeakCards);
        startDrill();
    });
    connect(saveWeak, &QPushButton::clicked, this, &DrillWindow::saveWeakCards);
    connect(setupPanel, &DrillSetupPanel::settingsEdited, this, &DrillWindow::changeSettings);
    // The main reading's Next keys, for a clicker or a pedal.
    for (const QKeySequence &key : {QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::Key_Space),
                                    QKeySequence(Qt::Key_Right)}) {
        auto *shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &DrillWindow::onNextKey);
        nextKeys.append(shortcut);
    }
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &DrillWindow::onEscape);
    if (reader) {
        connect(reader, &DrillReader::verseStarted, this, &DrillWindow::onVerseStarted);
        connect(reader, &DrillReader::verseEnded, this, &DrillWindow::onVerseEnded);
    }

    applySettings();
    refreshStatistics();
    showFieldChoice();
    updateButtons();
    updateKeys();
    resize(DefaultWidth, DefaultHeight);
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
    setupPanel->setPauses(lowerMs, nextMs);
    beforeLowerMs = lowerMs;
    beforeNextMs = nextMs;
}

void DrillWindow::useSettings(AppSettings *shared)
{
    if (!shared)
        return;
    settings = shared;
    ownSettings.reset();
    applySettings();
    updateButtons();
}

void DrillWindow::applySettings()
{
    const DrillSettings drill = settings->drill;
    setupPanel->showSettings(drill);
    beforeLowerMs = drill.beforeLowerMs;
    beforeNextMs = drill.beforeNextMs;
    refreshCardSets();
    setFieldSettings(settings->drillField);
}

void DrillWindow::changeSettings()
{
    DrillSettings &drill = settings->drill;
    const DrillSettings before = drill;
    setupPanel->writeSettings(drill);
    beforeLowerMs = drill.beforeLowerMs;
    beforeNextMs = drill.beforeNextMs;
    if (rounds)
        rounds->setPauses(beforeLowerMs, beforeNextMs); // from the next pause on
    if (drill == before)
        return;
    if (ownSettings)
        ownSettings->save(settingsFile);
    emit settingsChanged();
}

QList<int> DrillWindow::sourceCards() const
{
    switch (setupPanel->source()) {
    case Source::Selected:
        return selected;
    case Source::CardSet:
        return settings->cardSets.cards(setupPanel->cardSetName());
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
    const bool listeningDrill = setupPanel->isListening();
    if (listeningDrill) {
        if (const QString refusal = listeningRefusal(); !refusal.isEmpty()) {
            status->setText(refusal);
            return;
        }
    }
    const DrillDeal deal = DrillDeal::draw(cards, setupPanel->cardCount(), setupPanel->deadCards(),
                                           *QRandomGenerator::global());
    const TimingTable timing = TimingTable::load(reader->timingFile());
    rounds = std::make_unique<DrillRounds>(KimarijiModel::fromCatalog(CardCatalog::builtIn()),
                                           timing, deal, takeLimitMs);
    rounds->setPauses(beforeLowerMs, beforeNextMs);
    rounds->setListening(listeningDrill);
    layOutField(deal);
    startedAt = QDateTime::currentDateTime();
    setupPanel->setVoiceName(reader->voiceName());
    feedback->clear();
    results->clearScore();
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
    storePlace();
    event->accept();
}

void DrillWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (placed)
        return;
    placed = true;
    // Where it was, but never off the screen it opens on (a smaller one now,
    // or a laptop without the monitor it was moved to).
    // The title bar and borders count too (none before the window system has framed it).
    const QRect framed = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame(inner.left() - framed.left(), inner.top() - framed.top(),
                         framed.right() - inner.right(), framed.bottom() - inner.bottom());
    const QRect available = screen() ? screen()->availableGeometry() : QRect();
    const QRect last = settings->drill.window;
    if (!last.isNull())
        setGeometry(keptOnScreen(last.marginsAdded(frame), available).marginsRemoved(frame));
    else if (!available.isEmpty())
        resize(size().boundedTo(available.marginsRemoved(frame).size()));
}

void DrillWindow::storePlace()
{
    if (!placed || isMaximized() || isFullScreen())
        return;
    const QRect place = geometry();
    if (settings->drill.window == place)
        return;
    settings->drill.window = place;
    if (ownSettings)
        ownSettings->save(settingsFile);
    emit settingsChanged();
}

void DrillWindow::onNextKey()
{
    if (!rounds || !reader || rounds->isRoundOpen())
        return;
    reader->next();
}

void DrillWindow::onEscape()
{
    if (rounds)
        stopDrill();
    else
        close();
}

void DrillWindow::updateKeys()
{
    const bool between = rounds && !rounds->isRoundOpen();
    for (QShortcut *key : std::as_const(nextKeys))
        key->setEnabled(between);
}

QString DrillWindow::listeningRefusal() const
{
    if (!reader)
        return tr("読手がないので聞き分けの練習はできません");
    const QString timingFile = reader->timingFile();
    if (!reader->canStopVerses())
        return tr("この読手では上の句を途中で止められないので、聞き分けの練習はできません");
    if (timingFile.isEmpty() || TimingTable::load(timingFile).isEmpty())
        return tr("この読手には時刻表 (timing.tsv) がないので、決まり字で止める聞き分けの練習はできません");
    return {};
}

void DrillWindow::pump()
{
    if (!rounds)
        return;
    if (rounds->isFinished()) {
        finishDrill();
        return;
    }
    if (const std::optional<DrillVerse> verse = rounds->takeDueVerse(); verse && reader) {
        if (const std::optional<qint64> stopMs = rounds->stopOf(*verse))
            reader->readVerseUntil(verse->card, verse->half, verse->pauseMs, *stopMs);
        else
            reader->readVerse(verse->card, verse->half, verse->pauseMs);
    }
    updateKeys();
}

void DrillWindow::onVerseStarted(int card, int half, qint64 startMs, qint64 trimmedLeadMs,
                                 double speed)
{
    if (!rounds)
        return;
    rounds->verseStarted(card, half, startMs, trimmedLeadMs, speed);
    scheduleDeadline();
    updateKeys();
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
    updateKeys();
    fieldView->setTakingEnabled(false);
    gameView->setTakingEnabled(false);
    QString path;
    const DrillRecord::SaveResult saved = DrillRecord(trainingFolder).save(startedAt, rows, &path);
    if (saved == DrillRecord::SaveResult::Failed)
        status->setText(tr("練習の記録を保存できませんでした"));
    else if (saved == DrillRecord::SaveResult::Saved)
        status->setText(tr("練習を終わりました (%n枚)", nullptr, static_cast<int>(rows.size())));
    refreshStatistics();
    // The drill just saved is the newest of the record.
    if (saved == DrillRecord::SaveResult::Saved)
        results->showScore(rows, DrillRecord(trainingFolder).recent(2));
    else
        results->clearScore();
    updateButtons();
    emit runningChanged(false);
    if (saved == DrillRecord::SaveResult::Saved)
        emit drillSaved(path);
}

void DrillWindow::refreshStatistics()
{
    const DrillStatistics stats(DrillRecord(trainingFolder).recent(RecentDrills));
    weak = stats.weakCards();
    results->showStatistics(stats);
}

void DrillWindow::refreshCardSets()
{
    setupPanel->setCardSetNames(settings->cardSets.names());
}

void DrillWindow::saveWeakCards()
{
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, tr("苦手札を札セットに保存"), tr("札セットの名前"),
                              QLineEdit::Normal, tr("苦手札"), &ok);
    if (!ok)
        return;
    CardSets &sets = settings->cardSets;
    if (sets.contains(name)
        && QMessageBox::question(this, windowTitle(),
                                 tr("札セット「%1」はもうあります。苦手札で置き換えますか?").arg(name),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    if (!sets.insert(name, weak)) {
        QMessageBox::warning(this, windowTitle(), tr("この名前では保存できません"));
        return;
    }
    if (ownSettings && !ownSettings->save(settingsFile))
        QMessageBox::warning(this, windowTitle(), tr("設定ファイルに書き込めませんでした"));
    emit settingsChanged();
    refreshCardSets();
}

void DrillWindow::updateButtons()
{
    const bool running = rounds != nullptr;
    setupPanel->setRunning(running, listeningRefusal());
    start->setEnabled(!running && reader);
    stop->setEnabled(running);
    next->setEnabled(running);
    repeat->setEnabled(running);
    // Between drills the game field stays up, for arranging the player's side;
    // the grid gives its place to the chart.
    if (fieldChoice.gameField)
        board->setCurrentWidget(gameView);
    else if (running)
        board->setCurrentWidget(fieldView);
    else
        showChart();
    QLabel *placeStatistics = results->placeStatistics();
    placeStatistics->setVisible(!running && !placeStatistics->text().isEmpty());
    drillWeak->setEnabled(!running && !weak.isEmpty() && reader);
    fieldKind->setEnabled(!running);
    shuffleOwn->setEnabled(!running && fieldChoice.gameField);
    saveWeak->setEnabled(!running && !weak.isEmpty());
}

void DrillWindow::showChart()
{
    QWidget *chart = results->chart();
    if (board->indexOf(chart) < 0)
        board->addWidget(chart);
    board->setCurrentWidget(chart);
}

void DrillWindow::setFieldSettings(const DrillFieldSettings &choice)
{
    fieldChoice = choice;
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
    if (fieldChoice.gameField && !rounds && gameView->fieldLayout().isEmpty()) {
        // Something to arrange before the first drill: the cards it would lay out.
        const DrillFieldLayout preview =
            DrillFieldLayout::deal(sourceCards().mid(0, setupPanel->cardCount()),
                                   fieldChoice.ownSlots, *QRandomGenerator::global());
        gameView->setField(preview, TakingCardText::builtIn());
        keepOwnSlots();
    }
    updateButtons();
}

void DrillWindow::keepOwnSlots()
{
    if (gameView->fieldLayout().keepOwnSlots(fieldChoice.ownSlots))
        storeFieldChoice();
}

void DrillWindow::storeFieldChoice()
{
    emit fieldSettingsChanged();
    if (settings->drillField == fieldChoice)
        return;
    settings->drillField = fieldChoice;
    if (ownSettings)
        ownSettings->save(settingsFile);
    emit settingsChanged();
}
