#include "MainWindow.h"

#include "AnkiJikan_Dialog.h"
#include "AppFolder.h"
#include "AudioShapingStore.h"
#include "CardCatalog.h"
#include "FudaSelectDlg.h"
#include "FudaShuffle.h"
#include "HistoryWindow.h"
#include "KimarijiModel.h"
#include "OptionDialog.h"
#include "PlaySequenceThread.h"
#include "PoemPanel.h"
#include "PoemTable.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStringList>
#include <QSysInfo>
#include <QVariant>
#include <vector>

namespace {

const char *const SettingChkJoka = "SETTING/chk_joka";
const char *const SettingWait1Time = "SETTING/Wait1Time";
const char *const SettingWait2Time = "SETTING/Wait2Time";
const char *const SettingSelectVoice = "SETTING/SelectVoice";
const char *const SettingFudaList = "SETTING/FudaList";

constexpr int FirstCard = 1;
constexpr int LastCard = 100;

// The stored FudaList value as one string. The INI writer quotes it; a file
// edited by hand may hold it unquoted, which the INI reader returns as a
// list of its comma-separated parts, so those are joined back.
QString fudaListText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

// A stored number; anything that is not a decimal int (a word, or a number
// beyond the int range, which a plain conversion would wrap) gives 0.
int storedInt(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString)
        return value.toString().toInt();
    return value.toInt();
}

} // namespace

QString MakeFudaListString(const QList<int> *list)
{
    QString text;
    for (qsizetype i = 0; i < list->size(); ++i) {
        text += QString::number(list->at(i));
        if (i != list->size() - 1)
            text += QLatin1Char(',');
    }
    return text;
}

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
{
    ui->setupUi(this);

    QCoreApplication::setApplicationName(QStringLiteral("QtUtakaze"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2"));
    setWindowTitle(QCoreApplication::applicationName());

    settingFileName = AppFolder::filePath(QCoreApplication::applicationName() + QStringLiteral(".ini"));
    LoadSaveSetting(settingFileName, false);
    LoadAudioSettings();

    const QString voice1Probe =
        AppFolder::filePath(tr("Music") + QDir::separator() + tr("rindou_000_2.ogg"));
    if (QFileInfo::exists(voice1Probe)) {
        ui->Btn_Start->setEnabled(true);
        ui->statusBar->showMessage(tr("再生ボタンを押してください"));
    } else {
        ui->Btn_Start->setEnabled(false);
        ui->statusBar->showMessage(tr("音声ファイルが見つからないので再生できません(!_!)"));
    }

    const QString voice2Probe =
        AppFolder::filePath(tr("Music2") + QDir::separator() + tr("asagao_000_2.ogg"));
    voice2Available = QFileInfo::exists(voice2Probe);
    if (!voice2Available)
        selectVoice = 0;

    // The change slots are connected already, so the members take the values
    // as the spin boxes clamp them.
    ui->checkBox->setChecked(chkJoka);
    ui->spinBox_1->setValue(wait1Time);
    ui->spinBox_2->setValue(wait2Time);

    seqThread = std::make_unique<PlaySequenceThread>(winId());
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
    SaveAudioSettings();
    SaveViewSettings();
    seqThread->RequestQuit();
    seqThread->wait();
    seqThread.reset();
    fudaList.clear();
    playList.clear();
}

void MainWindow::LoadSaveSetting(const QString &fileName, bool save)
{
    QSettings settings(fileName, QSettings::IniFormat);
    if (save) {
        const QString fudaListString = MakeFudaListString(&fudaList);
        settings.setValue(QLatin1String(SettingChkJoka), chkJoka);
        settings.setValue(QLatin1String(SettingWait1Time), wait1Time);
        settings.setValue(QLatin1String(SettingWait2Time), wait2Time);
        settings.setValue(QLatin1String(SettingSelectVoice), selectVoice);
        settings.setValue(QLatin1String(SettingFudaList), fudaListString);
        return;
    }

    chkJoka = settings.value(QLatin1String(SettingChkJoka), true).toBool();
    wait1Time = storedInt(settings.value(QLatin1String(SettingWait1Time), 10));
    wait2Time = storedInt(settings.value(QLatin1String(SettingWait2Time), 3));
    selectVoice = storedInt(settings.value(QLatin1String(SettingSelectVoice), 0));
    const QString text = fudaListText(settings.value(QLatin1String(SettingFudaList), QString()));

    fudaList.clear();
    if (text.isEmpty()) {
        for (int card = FirstCard; card <= LastCard; ++card)
            fudaList.append(card);
        return;
    }
    const QStringList parts = text.split(QLatin1Char(','));
    for (const QString &part : parts) {
        const int card = part.toInt(); // not a number: 0, dropped below
        if (card >= FirstCard && card <= LastCard)
            fudaList.append(card);
    }
}

void MainWindow::SetSettingControlsEnabled(bool enabled)
{
    ui->spinBox_1->setEnabled(enabled);
    ui->spinBox_2->setEnabled(enabled);
    ui->checkBox->setEnabled(enabled);
}

void MainWindow::on_actionQuit_triggered()
{
    close();
}

void MainWindow::on_actionAbout_triggered()
{
    const QString text =
        QStringLiteral("<h2>%1 %2</h2><p>use Qt%3 (%4bit)<p>use SDL_mixer audio library")
            .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion(),
                 QString::number(QT_VERSION_MAJOR), QString::number(QSysInfo::WordSize));
    QMessageBox::about(this, QStringLiteral("About"), text);
}

void MainWindow::on_actionAboutQt_triggered()
{
    QApplication::aboutQt();
}

void MainWindow::on_Btn_Start_clicked()
{
    if (!inSequence) {
        // Nothing to read: the reading thread would ignore the list and never
        // report an end, leaving the window stuck in a reading.
        if (fudaList.isEmpty() && !chkJoka) {
            ui->statusBar->showMessage(tr("札が選択されていないので再生できません"));
            return;
        }

        // Dead cards are drawn in and shuffled with the selected ones.
        QList<int> cards = fudaList;
        for (int card : std::as_const(deadCards)) {
            if (!cards.contains(card))
                cards.append(card);
        }
        std::vector<int> order(cards.cbegin(), cards.cend());
        ShuffleFuda(order.data(), static_cast<int>(order.size()));
        PreparePlayList(QList<int>(order.cbegin(), order.cend()));
    }

    SetPlaying(!isPlaying);
    inSequence = true;
}

void MainWindow::PreparePlayList(const QList<int> &order)
{
    lastFudaNum = -1;
    SetSettingControlsEnabled(false);
    playCount = 0;
    fudaCount = static_cast<int>(order.size());

    playList = order;
    if (chkJoka)
        playList.prepend(0);

    seqThread->SetParameters(selectVoice, wait1Time, wait2Time);
    seqThread->SetFudaList(&playList);
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
}

void MainWindow::on_Btn_Stop_clicked()
{
    if (!inSequence)
        return;
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, tr("確認"), tr("終了しますか?"),
                              QMessageBox::Ok | QMessageBox::Cancel);
    if (answer == QMessageBox::Ok)
        seqThread->RequestStop();
}

void MainWindow::on_Btn_FudaSelect_clicked()
{
    if (inSequence)
        return;
    const auto dialog = std::make_unique<FudaSelectDlg>(this);
    dialog->SetFudaList(&fudaList);
    dialog->SetCardSetsFile(settingFileName);
    dialog->exec();
}

void MainWindow::on_spinBox_1_valueChanged(int arg1)
{
    wait1Time = arg1;
}

void MainWindow::on_spinBox_2_valueChanged(int arg1)
{
    wait2Time = arg1;
}

void MainWindow::on_checkBox_toggled(bool checked)
{
    chkJoka = checked;
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
    ui->Btn_Start->setIcon(QIcon(QStringLiteral(":/images/Play.png")));
    FinishReadingRecord();
}

void MainWindow::on_actionOption_triggered()
{
    if (inSequence)
        return;
    const auto dialog = std::make_unique<OptionDialog>(this, selectVoice, voice2Available,
                                                       seqThread.get(), audioSettings.shaping());
    if (dialog->exec() == QDialog::Accepted) {
        selectVoice = dialog->voice();
        audioSettings = AudioSettings::fromShaping(dialog->shaping());
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

// ---- Verse shaping settings (group AUDIO) ----

void MainWindow::LoadAudioSettings()
{
    QSettings settings(settingFileName, QSettings::IniFormat);
    audioSettings = AudioSettings::load(settings);
    AudioShapingStore::set(audioSettings.shaping());
}

void MainWindow::SaveAudioSettings() const
{
    QSettings settings(settingFileName, QSettings::IniFormat);
    audioSettings.save(settings);
}

// --- Review of readings: poem panel, deciding syllables, history ---

void MainWindow::SetUpReview()
{
    kimariji = std::make_unique<KimarijiModel>(KimarijiModel::fromCatalog(CardCatalog::builtIn()));

    QSettings settings(settingFileName, QSettings::IniFormat);
    viewSettings = ViewSettings::load(settings);

    poemPanel = new PoemPanel(this);
    poemPanel->setReveal(viewSettings.poemReveal);
    if (viewSettings.hasPoemPanelPos)
        poemPanel->move(viewSettings.poemPanelPos);
    connect(poemPanel, &PoemPanel::revealChanged, this,
            [this](ViewSettings::PoemReveal option) { viewSettings.poemReveal = option; });
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

void MainWindow::SaveViewSettings()
{
    if (viewSettings.hasPoemPanelPos)
        viewSettings.poemPanelPos = poemPanel->pos();
    QSettings settings(settingFileName, QSettings::IniFormat);
    viewSettings.save(settings);
}

void MainWindow::ShowHistoryWindow()
{
    if (inSequence)
        return;
    if (!historyWindow) {
        historyWindow = new HistoryWindow(AppFolder::filePath(QStringLiteral("history")), this);
        connect(historyWindow, &HistoryWindow::readAgainRequested, this,
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
    deadCards = dead;
    PreparePlayList(order);
    SetPlaying(true);
    inSequence = true;
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
