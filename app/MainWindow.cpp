#include "MainWindow.h"

#include "AnkiJikan_Dialog.h"
#include "AppFolder.h"
#include "AudioOutput.h"
#include "AudioShapingStore.h"
#include "CardCatalog.h"
#include "DataFoldersDialog.h"
#include "FudaSelectDlg.h"
#include "HistoryWindow.h"
#include "KimarijiModel.h"
#include "Logging.h"
#include "NavigationKeyGuard.h"
#include "OptionDialog.h"
#include "PlaySequenceThread.h"
#include "PoemPanel.h"
#include "PoemTable.h"
#include "PracticeDialog.h"
#include "ReadingOrder.h"
#include "ReadingPlan.h"
#include "SettingsAutoSave.h"
#include "Voices.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QSettings>
#include <QSysInfo>

namespace {

PlanOptions planOptions(const AppSettings &settings, const QSet<int> &deadCards)
{
    PlanOptions options;
    options.style = settings.practice.style;
    options.advance = settings.practice.advance;
    options.wait1Seconds = settings.main.wait1Time();
    options.wait2Seconds = settings.main.wait2Time();
    // The competitive style reads the preamble in full only when the voice
    // has its upper verse.
    options.preambleUpperAvailable =
        QFileInfo::exists(Voices::filePath(settings.main.selectVoice(), 0, 1));
    options.deadCards = deadCards;
    return options;
}

} // namespace

QString MakeFudaListString(const QList<int> *list)
{
    return MainSettings::fudaListText(*list);
}

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
{
    ui->setupUi(this);

    // Next and Repeat, also from presenter remotes and foot pedals, which
    // send Page Down / Page Up or Right / Left. They are enabled only while
    // a reading runs; a focused spin box or slider keeps its arrow and page keys.
    ui->actionNext->setShortcuts(
        {QKeySequence(Qt::Key_Right), QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::Key_Space)});
    ui->actionRepeat->setShortcuts(
        {QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_PageUp), QKeySequence(Qt::Key_R)});
    auto *keyGuard = new NavigationKeyGuard(this);
    keyGuard->guard(ui->spinBox_1);
    keyGuard->guard(ui->spinBox_2);
    keyGuard->guard(ui->Slider_Volume);

    QCoreApplication::setApplicationName(QStringLiteral("QtUtakaze"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QTUTAKAZE_VERSION));
    setWindowTitle(QCoreApplication::applicationName());

    settingFileName =
        AppFolder::filePath(QCoreApplication::applicationName() + QStringLiteral(".ini"));
    LoadSaveSetting(settingFileName, false);

    if (Voices::isAvailable(Voices::First)) {
        ui->Btn_Start->setEnabled(true);
        ui->statusBar->showMessage(tr("再生ボタンを押してください"));
    } else {
        ui->Btn_Start->setEnabled(false);
        ui->statusBar->showMessage(tr("音声ファイルが見つからないので再生できません(!_!)"));
    }

    voice2Available = Voices::isAvailable(Voices::Second);
    if (!voice2Available)
        settings.main.setSelectVoice(Voices::First);

    // A copy: each control's change slot writes its value back as it is set.
    const MainSettings loaded = settings.main;
    ui->checkBox->setChecked(loaded.chkJoka());
    ui->spinBox_1->setValue(loaded.wait1Time());
    ui->spinBox_2->setValue(loaded.wait2Time());
    ReportAdjustedSettings();

    // The file is also written shortly after each change, so a lost display
    // or a crash loses at most the last moment.
    autoSave = new SettingsAutoSave(
        settingFileName,
        [this](const QString &path) {
            const bool written = settings.save(path);
            SaveViewSettings(path);
            return written;
        },
        this);
    connect(ui->spinBox_1, &QSpinBox::valueChanged, autoSave, &SettingsAutoSave::scheduleSave);
    connect(ui->spinBox_2, &QSpinBox::valueChanged, autoSave, &SettingsAutoSave::scheduleSave);
    connect(ui->checkBox, &QCheckBox::toggled, autoSave, &SettingsAutoSave::scheduleSave);
    connect(ui->Btn_FudaSelect, &QPushButton::clicked, autoSave, &SettingsAutoSave::scheduleSave);
    for (QAction *action :
         {ui->actionFuda, ui->actionOption, ui->actionPractice, ui->actionPoemPanel})
        connect(action, &QAction::triggered, autoSave, &SettingsAutoSave::scheduleSave);

    seqThread = std::make_unique<PlaySequenceThread>(winId());
    if (ui->Btn_Start->isEnabled() && !AudioOutput::IsOpen())
        ui->statusBar->showMessage(tr("音声出力を開けません"));
    ui->Slider_Volume->setValue(static_cast<int>(seqThread->GetVolume() * 100.0));

    PlaySequenceThread *thread = seqThread.get();
    connect(thread, &PlaySequenceThread::SequencStartded, this, &MainWindow::SequencStartded);
    connect(thread, &PlaySequenceThread::Music1Starteded, this, &MainWindow::Music1Starteded);
    connect(thread, &PlaySequenceThread::Music1Ended, this, &MainWindow::Music1Ended);
    connect(thread, &PlaySequenceThread::Music2Starteded, this, &MainWindow::Music2Starteded);
    connect(thread, &PlaySequenceThread::Music2Ended, this, &MainWindow::Music2Ended);
    connect(thread, &PlaySequenceThread::SequenceEnded, this, &MainWindow::SequenceEnded);
    seqThread->start(QThread::InheritPriority);

    SetUpReview();
}

MainWindow::~MainWindow()
{
    LoadSaveSetting(settingFileName, true);
    SaveViewSettings(settingFileName);
    seqThread->RequestQuit();
    seqThread->wait();
    seqThread.reset();
    // A reading cut short by quitting (File > Exit, a logout) is kept like a stopped one.
    if (inSequence)
        FinishReadingRecord();
    playList.clear();
}

void MainWindow::LoadSaveSetting(const QString &fileName, bool save)
{
    if (save) {
        if (!settings.save(fileName)) // a read-only folder keeps the old file
            qCWarning(lcSettings,
                      "cannot write the settings file %s (read-only folder or full disk?)",
                      qUtf8Printable(fileName));
        return;
    }
    settings = AppSettings::load(fileName);
    // The verses are shaped as the settings say, the options dialog's sample included.
    AudioShapingStore::set(settings.audio.shaping());
}

void MainWindow::SetSettingControlsEnabled(bool enabled)
{
    ui->spinBox_1->setEnabled(enabled);
    ui->spinBox_2->setEnabled(enabled);
    ui->checkBox->setEnabled(enabled);
}

void MainWindow::SetReadingControlsEnabled(bool enabled)
{
    ui->actionNext->setEnabled(enabled);
    ui->actionRepeat->setEnabled(enabled);
}

void MainWindow::HandReadingToThread()
{
    const MainSettings &values = settings.main;
    seqThread->SetParameters(values.selectVoice(), values.wait1Time(), values.wait2Time());
    // The classic reading keeps its classic hand-over.
    if (settings.practice.isDefault() && deadCards.isEmpty())
        seqThread->SetFudaList(&playList);
    else
        seqThread->SetPlan(ReadingPlanBuilder::build(playList, planOptions(settings, deadCards)));
}

void MainWindow::on_actionQuit_triggered()
{
    close();
}

void MainWindow::on_actionAbout_triggered()
{
    const QString text =
        tr("<h2>%1 %2</h2><p>use Qt%3 (%4bit)<p>use SDL audio library")
            .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion(),
                 QString::number(QT_VERSION_MAJOR), QString::number(QSysInfo::WordSize));
    QMessageBox::about(this, tr("About"), text);
}

void MainWindow::on_actionDataFolders_triggered()
{
    DataFoldersDialog dialog(AppFolder::locations(), this);
    dialog.exec();
}

void MainWindow::on_actionAboutQt_triggered()
{
    QApplication::aboutQt();
}

void MainWindow::on_Btn_Start_clicked()
{
    if (!inSequence) {
        // Without an output the reading would run silently: try it again.
        if (!AudioOutput::Reopen()) {
            ui->statusBar->showMessage(tr("音声出力を開けません"));
            return;
        }
        // Nothing to read: the reading thread would ignore the list and never
        // report an end, leaving the window stuck in a reading.
        const MainSettings &values = settings.main;
        if (values.fudaList().isEmpty() && !values.chkJoka()) {
            ui->statusBar->showMessage(tr("札が選択されていないので再生できません"));
            return;
        }

        PrepareReading(ReadingOrder::shuffled(values.fudaList(), settings.practice.deadCards,
                                              values.chkJoka(), *QRandomGenerator::global()));
    }

    SetPlaying(!isPlaying);
}

void MainWindow::PrepareReading(const ReadingSetup &setup)
{
    lastFudaNum = -1;
    SetSettingControlsEnabled(false);
    SetReadingControlsEnabled(true);
    // Keys of a remote or pedal go to Next and Repeat, not to the volume
    // slider that focus may have moved to from a disabled spin box.
    ui->Btn_Start->setFocus();
    playCount = 0;
    fudaCount = setup.cardCount;
    playList = setup.playList;
    deadCards = setup.deadCards;
    HandReadingToThread();
    BeginReadingRecord();
}

void MainWindow::SetPlaying(bool playing)
{
    if (playing) {
        seqThread->RequestStart();
        ui->Btn_Start->setIcon(QIcon(QStringLiteral(":/images/Pause.png")));
    } else {
        seqThread->RequestPause();
        ui->Btn_Start->setIcon(QIcon(QStringLiteral(":/images/Play.png")));
    }
    isPlaying = playing;
    inSequence = true;
    emit PlaybackChanged();
}

void MainWindow::on_Btn_Stop_clicked()
{
    if (!inSequence)
        return;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, tr("確認"), tr("終了しますか?"), QMessageBox::Ok | QMessageBox::Cancel);
    if (answer == QMessageBox::Ok)
        seqThread->RequestStop();
}

void MainWindow::on_Btn_FudaSelect_clicked()
{
    if (inSequence)
        return;
    const auto dialog = std::make_unique<FudaSelectDlg>(this);
    QList<int> cards = settings.main.fudaList();
    dialog->SetFudaList(&cards); // edited in place on OK
    dialog->SetCardSetsFile(settingFileName);
    dialog->exec();
    settings.main.setFudaList(cards);
}

void MainWindow::on_spinBox_1_valueChanged(int arg1)
{
    settings.main.setWait1Time(arg1);
}

void MainWindow::on_spinBox_2_valueChanged(int arg1)
{
    settings.main.setWait2Time(arg1);
}

void MainWindow::on_checkBox_toggled(bool checked)
{
    settings.main.setChkJoka(checked);
}

void MainWindow::on_actionFuda_triggered()
{
    on_Btn_FudaSelect_clicked();
}

void MainWindow::SequencStartded()
{
}

void MainWindow::Music1Starteded(int fudaNum)
{
    // The preamble's upper verse (competitive style) is no card.
    if (fudaNum == 0)
        return;
    // An upper verse read again after a resume is not counted twice.
    if (fudaNum != lastFudaNum) {
        ++playCount;
        lastFudaNum = fudaNum;
        RecordCardRead(fudaNum);
    }
    const QString text = tr("%1 / %2 再生中 : 第%3首 %4")
                             .arg(QString::number(playCount), QString::number(fudaCount),
                                  QString::number(fudaNum), PoemTable::firstPhrase(fudaNum));
    ui->statusBar->showMessage(text);
    emit CardStarted(fudaNum);
}

void MainWindow::Music1Ended()
{
}

void MainWindow::Music2Starteded(int fudaNum)
{
    Q_UNUSED(fudaNum)
}

void MainWindow::Music2Ended()
{
    poemPanel->lowerEnded();
}

void MainWindow::SequenceEnded(int status)
{
    Q_UNUSED(status)
    ui->statusBar->clearMessage();
    inSequence = false;
    isPlaying = false;
    SetSettingControlsEnabled(true);
    SetReadingControlsEnabled(false);
    ui->Btn_Start->setIcon(QIcon(QStringLiteral(":/images/Play.png")));
    FinishReadingRecord();
    emit PlaybackChanged();
}

void MainWindow::on_actionOption_triggered()
{
    if (inSequence)
        return;
    const auto dialog =
        std::make_unique<OptionDialog>(this, settings.main.selectVoice(), voice2Available,
                                       seqThread.get(), settings.audio.shaping());
    if (dialog->exec() == QDialog::Accepted) {
        settings.main.setSelectVoice(dialog->voice());
        settings.audio = AudioSettings::fromShaping(dialog->shaping());
    }
}

void MainWindow::on_Slider_Volume_valueChanged(int value)
{
    if (seqThread)
        seqThread->SetVolume(static_cast<float>(value / 100.0));
}

void MainWindow::on_Btn_AnkiJikan_clicked()
{
    if (inSequence)
        return;
    const auto dialog = std::make_unique<AnkiJikan_Dialog>(this);
    dialog->exec();
}

// --- Review of readings: poem panel, deciding syllables, history ---

void MainWindow::SetUpReview()
{
    kimariji = std::make_unique<KimarijiModel>(KimarijiModel::fromCatalog(CardCatalog::builtIn()));

    QSettings file(settingFileName, QSettings::IniFormat);
    viewSettings = ViewSettings::load(file);

    poemPanel = new PoemPanel(this);
    poemPanel->setReveal(viewSettings.poemReveal);
    if (viewSettings.hasPoemPanelPos)
        poemPanel->move(viewSettings.poemPanelPos);
    connect(poemPanel, &PoemPanel::revealChanged, this, [this](ViewSettings::PoemReveal option) {
        viewSettings.poemReveal = option;
        autoSave->scheduleSave();
    });
    // Only the user's choice counts: windows hidden while closing down do not.
    connect(poemPanel, &PoemPanel::visibilityChanged, this, [this](bool visible) {
        if (!isVisible())
            return;
        viewSettings.poemPanelOpen = visible;
        ui->actionPoemPanel->setChecked(visible);
    });
    connect(ui->actionPoemPanel, &QAction::toggled, this, [this](bool on) {
        if (on && !viewSettings.hasPoemPanelPos) {
            poemPanel->move(frameGeometry().topRight() + QPoint(8, 0));
            viewSettings.hasPoemPanelPos = true;
        }
        poemPanel->setVisible(on);
    });
    connect(ui->actionHistory, &QAction::triggered, this, &MainWindow::ShowHistoryWindow);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (viewSettings.poemPanelOpen && !poemPanel->isVisible())
        ui->actionPoemPanel->setChecked(true);
}

void MainWindow::SaveViewSettings(const QString &fileName)
{
    if (viewSettings.hasPoemPanelPos)
        viewSettings.poemPanelPos = poemPanel->pos();
    QSettings file(fileName, QSettings::IniFormat);
    viewSettings.save(file);
}

void MainWindow::ShowHistoryWindow()
{
    if (inSequence)
        return;
    if (!historyWindow) {
        historyWindow = new HistoryWindow(AppFolder::filePath(QStringLiteral("history")), this);
        connect(
            historyWindow, &HistoryWindow::readAgainRequested, this,
            [this](const QList<int> &order, const QSet<int> &dead) { ReadInOrder(order, dead); });
    }
    historyWindow->refresh();
    historyWindow->show();
    historyWindow->raise();
}

bool MainWindow::ReadInOrder(const QList<int> &order, const QSet<int> &dead)
{
    if (inSequence || order.isEmpty() || !ui->Btn_Start->isEnabled())
        return false;
    PrepareReading(ReadingOrder::fixed(order, dead, settings.main.chkJoka()));
    SetPlaying(true);
    return true;
}

void MainWindow::BeginReadingRecord()
{
    readingRecord.clear();
    readingStartedAt = QDateTime::currentDateTime();
    readingClock.start();
    QSet<int> selected;
    for (int card : std::as_const(playList)) {
        if (card != 0 && !deadCards.contains(card))
            selected.insert(card);
    }
    kimariji->reset(KimarijiModel::unreadAtStart(selected, !deadCards.isEmpty()));
    poemPanel->readingStarted();
    if (historyWindow)
        historyWindow->setReadingActive(true);
}

void MainWindow::RecordCardRead(int card)
{
    if (card == 0)
        return;
    const int length = kimariji->currentLength(card);
    kimariji->markRead(card);
    HistoryEntry entry;
    entry.position = static_cast<int>(readingRecord.size()) + 1;
    entry.card = card;
    entry.dead = deadCards.contains(card);
    entry.kimariji = CardCatalog::builtIn().card(card).kimariji.left(length);
    entry.startedMs = readingClock.elapsed();
    readingRecord.append(entry);
    poemPanel->upperStarted(card, length);
}

void MainWindow::FinishReadingRecord()
{
    poemPanel->readingOver();
    // A reading that read no card leaves no file.
    const ReadingHistory history(AppFolder::filePath(QStringLiteral("history")));
    if (history.save(readingStartedAt, readingRecord) == ReadingHistory::SaveResult::Failed)
        ui->statusBar->showMessage(tr("履歴を保存できませんでした: %1").arg(history.folder()));
    readingRecord.clear();
    deadCards.clear();
    if (historyWindow) {
        historyWindow->refresh();
        historyWindow->setReadingActive(false);
    }
}

bool MainWindow::CanStartRemotely() const
{
    return ui->Btn_Start->isEnabled() && !QApplication::activeModalWidget();
}

void MainWindow::StartOrPauseRemotely()
{
    if (CanStartRemotely())
        on_Btn_Start_clicked();
}

void MainWindow::StopRemotely()
{
    if (inSequence && !QApplication::activeModalWidget())
        seqThread->RequestStop();
}

void MainWindow::NextRemotely()
{
    if (!QApplication::activeModalWidget())
        on_actionNext_triggered();
}

void MainWindow::RepeatRemotely()
{
    if (!QApplication::activeModalWidget())
        on_actionRepeat_triggered();
}

void MainWindow::BringToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

// Values of the file that were out of range or broken are logged, so a
// hand-edited file is not silently "ignored".
void MainWindow::ReportAdjustedSettings() const
{
    for (const QString &line : settings.main.adjustments())
        qCInfo(lcSettings, "%s", qUtf8Printable(line));
}

void MainWindow::on_actionPractice_triggered()
{
    if (inSequence)
        return;
    const auto dialog = std::make_unique<PracticeDialog>(this, settings.practice);
    if (dialog->exec() == QDialog::Accepted)
        settings.practice = dialog->settings();
}

void MainWindow::on_actionNext_triggered()
{
    if (inSequence)
        seqThread->RequestNext();
}

void MainWindow::on_actionRepeat_triggered()
{
    if (inSequence)
        seqThread->RequestRepeat();
}
