#include "MainWindow.h"

#include "AboutText.h"
#include "AnkiJikan_Dialog.h"
#include "AppFolder.h"
#include "AudioOutput.h"
#include "DataFoldersDialog.h"
#include "DrillLauncher.h"
#include "FudaSelectDlg.h"
#include "NavigationKeyGuard.h"
#include "OptionsLauncher.h"
#include "PlaySequenceThread.h"
#include "ReadingSession.h"
#include "ReadingStatusLine.h"
#include "ReviewViews.h"
#include "SequenceThreadEngine.h"
#include "SettingsFile.h"
#include "Voices.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QMessageBox>

MainWindow::MainWindow(const AppServices &services, QWidget *parent)
    : QMainWindow(parent)
    , services(services)
    , ui(std::make_unique<Ui::MainWindow>())
{
    ui->setupUi(this);
    NavigationKeyGuard::installReadingKeys(ui->actionNext, ui->actionRepeat,
                                           {ui->spinBox_1, ui->spinBox_2, ui->Slider_Volume});

    setWindowTitle(QCoreApplication::applicationName());
    settingFileName =
        services.folder.filePath(QCoreApplication::applicationName() + QStringLiteral(".ini"));
    settingsFile = new SettingsFile(&settings, settingFileName, services, this);
    LoadSaveSetting(settingFileName, false);

    const bool voiceAvailable = ProbeVoices();
    ui->statusBar->showMessage(voiceAvailable
                                   ? tr("再生ボタンを押してください")
                                   : tr("音声ファイルが見つからないので再生できません(!_!)"));

    // A copy: each control's change slot writes its value back as it is set.
    const MainSettings loaded = settings.main;
    ui->checkBox->setChecked(loaded.chkJoka());
    ui->spinBox_1->setValue(loaded.wait1Time());
    ui->spinBox_2->setValue(loaded.wait2Time());

    seqThread = std::make_unique<PlaySequenceThread>(winId(), services.audio, services.voices,
                                                     services.shaping);
    if (!services.audio.isOpeningHeldBack())
        openHeldBackOutput(); // says only whether Init() opened it
    ui->Slider_Volume->setValue(static_cast<int>(seqThread->GetVolume() * 100.0));

    engine = std::make_unique<SequenceThreadEngine>(seqThread.get(), services.voices);
    session = std::make_unique<ReadingSession>(engine.get());
    session->setSettings(&settings);
    session->setVoiceAvailable(voiceAvailable);
    const QString historyFolder = services.folder.filePath(QStringLiteral("history"));
    session->setHistoryFolder(historyFolder);
    session->setVoices(&services.voices);
    ConnectSession();
    seqThread->start(QThread::InheritPriority);

    reviewViews = new ReviewViews(this, session.get(), &settings.view, ui->actionPoemPanel,
                                  ui->actionHistory, historyFolder);
    statusLine = new ReadingStatusLine(ui->statusBar, session.get(), reviewViews, &settings.view);
    options = new OptionsLauncher(this, ui->statusBar, session.get(), seqThread.get(), &settings,
                                  services);
    connect(options, &OptionsLauncher::readerInUseReplaced, this, [this] { ProbeVoices(); });
    // Whatever changes a setting has the file written soon after.
    settingsFile->watch({ui->spinBox_1, ui->spinBox_2, ui->checkBox, ui->Btn_FudaSelect,
                         ui->actionFuda, ui->actionOption, ui->actionPractice,
                         ui->actionPoemPanel});
    connect(reviewViews, &ReviewViews::viewChanged, settingsFile, &SettingsFile::changed);
    auto *drillLauncher = new DrillLauncher(this, session.get(), &settings, settingFileName,
                                            ui->actionDrill, services);
    connect(drillLauncher, &DrillLauncher::settingsChanged, settingsFile, &SettingsFile::changed);
}

MainWindow::~MainWindow()
{
    seqThread->RequestQuit(); // winds down while the settings are written
    reviewViews->storePanelPlace();
    LoadSaveSetting(settingFileName, true);
    seqThread->wait();
    // A reading cut short by quitting (File > Exit, a logout) is kept like a stopped one.
    session->endOnQuit();
}

// The file is the one settingsFile was made with (fileName is settingFileName).
void MainWindow::LoadSaveSetting(const QString &fileName, bool save)
{
    Q_UNUSED(fileName)
    if (save)
        settingsFile->save();
    else
        settingsFile->load();
}

void MainWindow::ConnectSession()
{
    ReadingSession *reading = session.get();
    connect(reading, &ReadingSession::sequenceStarted, this, &MainWindow::SequencStartded);
    connect(reading, &ReadingSession::upperVerseStarted, this, &MainWindow::Music1Starteded);
    connect(reading, &ReadingSession::upperVerseEnded, this, &MainWindow::Music1Ended);
    connect(reading, &ReadingSession::lowerVerseStarted, this, &MainWindow::Music2Starteded);
    connect(reading, &ReadingSession::lowerVerseEnded, this, &MainWindow::Music2Ended);
    connect(reading, &ReadingSession::readingEnded, this, [this] { SequenceEnded(0); });
    connect(reading, &ReadingSession::readingStarted, this, [this] {
        ShowReadingState();
        // Keys of a remote or pedal go to Next and Repeat, not to the volume
        // slider that focus may have moved to from a disabled spin box.
        ui->Btn_Start->setFocus();
    });
    connect(reading, &ReadingSession::playingChanged, this, &MainWindow::ShowReadingState);
}

// The buttons and controls as the session's state says.
void MainWindow::ShowReadingState()
{
    const bool reading = session->isReading();
    ui->spinBox_1->setEnabled(!reading);
    ui->spinBox_2->setEnabled(!reading);
    ui->checkBox->setEnabled(!reading);
    ui->actionNext->setEnabled(reading);
    ui->actionRepeat->setEnabled(reading);
    ui->Btn_Start->setIcon(QIcon(session->isPlaying() ? QStringLiteral(":/images/Pause.png")
                                                      : QStringLiteral(":/images/Play.png")));
}

void MainWindow::openHeldBackOutput()
{
    services.audio.openHeldBack();
    if (ui->Btn_Start->isEnabled() && !services.audio.IsOpen())
        ui->statusBar->showMessage(tr("音声出力を開けません"));
}

void MainWindow::on_actionAbout_triggered()
{
    QMessageBox::about(this, tr("About"), AboutText::html());
}

void MainWindow::on_actionDataFolders_triggered()
{
    DataFoldersDialog(services.folder.locations(), this).exec();
}

void MainWindow::on_actionAboutQt_triggered()
{
    QApplication::aboutQt();
}

// Whether the first voice is there to read, and the second one; both follow
// the reader in use.
bool MainWindow::ProbeVoices()
{
    const bool available = services.voices.isAvailable(Voices::First);
    ui->Btn_Start->setEnabled(available);
    if (session)
        session->setVoiceAvailable(available);
    voice2Available = services.voices.isAvailable(Voices::Second);
    if (!voice2Available)
        settings.main.setSelectVoice(Voices::First);
    return available;
}

void MainWindow::on_Btn_Stop_clicked()
{
    if (!session->isReading())
        return;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, tr("確認"), tr("終了しますか?"), QMessageBox::Ok | QMessageBox::Cancel);
    if (answer == QMessageBox::Ok)
        session->stop();
}

void MainWindow::on_Btn_FudaSelect_clicked()
{
    if (session->isReading())
        return;
    const auto dialog = std::make_unique<FudaSelectDlg>(this);
    QList<int> cards = settings.main.fudaList();
    dialog->SetFudaList(&cards); // edited in place on OK
    dialog->SetCardSets(&settings.cardSets); // edited in place
    dialog->exec();
    settings.main.setFudaList(cards);
}

void MainWindow::Music1Starteded(int fudaNum)
{
    statusLine->cardStarted(fudaNum);
    emit CardStarted(fudaNum);
}

void MainWindow::SequenceEnded(int status)
{
    Q_UNUSED(status)
    statusLine->readingEnded();
    ShowReadingState();
}

void MainWindow::on_actionOption_triggered()
{
    if (session->isReading())
        return;
    if (options->open(voice2Available))
        ProbeVoices();
}

void MainWindow::on_Slider_Volume_valueChanged(int value)
{
    if (seqThread)
        seqThread->SetVolume(static_cast<float>(value / 100.0));
}

void MainWindow::on_Btn_AnkiJikan_clicked()
{
    if (session->isReading())
        return;
    AnkiJikan_Dialog dialog(this, services.cues);
    dialog.setPeriodMinutes(settings.practice.memorizationMinutes);
    dialog.exec();
}

void MainWindow::on_actionPractice_triggered()
{
    if (session->isReading())
        return;
    options->openPractice(reviewViews);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    reviewViews->windowShown();
}

void MainWindow::BringToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}
