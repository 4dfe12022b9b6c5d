#include "MainWindow.h"

#include "AnkiJikan_Dialog.h"
#include "AppFolder.h"
#include "DeadCardDraw.h"
#include "FudaSelectDlg.h"
#include "FudaShuffle.h"
#include "NavigationKeyGuard.h"
#include "OptionDialog.h"
#include "PlaySequenceThread.h"
#include "PoemTable.h"
#include "PracticeDialog.h"
#include "ReadingPlan.h"
#include "Voices.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QSysInfo>
#include <vector>

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
    ui->actionNext->setShortcuts({QKeySequence(Qt::Key_Right), QKeySequence(Qt::Key_PageDown),
                                  QKeySequence(Qt::Key_Space)});
    ui->actionRepeat->setShortcuts({QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_PageUp),
                                    QKeySequence(Qt::Key_R)});
    auto *keyGuard = new NavigationKeyGuard(this);
    keyGuard->guard(ui->spinBox_1);
    keyGuard->guard(ui->spinBox_2);
    keyGuard->guard(ui->Slider_Volume);

    QCoreApplication::setApplicationName(QStringLiteral("QtUtakaze"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QTUTAKAZE_VERSION));
    setWindowTitle(QCoreApplication::applicationName());

    settingFileName = AppFolder::filePath(QCoreApplication::applicationName() + QStringLiteral(".ini"));
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
}

MainWindow::~MainWindow()
{
    LoadSaveSetting(settingFileName, true);
    seqThread->RequestQuit();
    seqThread->wait();
    seqThread.reset();
    playList.clear();
}

void MainWindow::LoadSaveSetting(const QString &fileName, bool save)
{
    if (save)
        settings.save(fileName); // a read-only folder keeps the old file
    else
        settings = AppSettings::load(fileName);
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

void MainWindow::MakePlayList()
{
    const QList<int> &selected = settings.main.fudaList();
    QList<int> cards = selected;
    deadCards.clear();
    if (settings.practice.deadCards > 0) {
        const QList<int> drawn =
            DeadCardDraw::draw(selected, settings.practice.deadCards, *QRandomGenerator::global());
        cards += drawn;
        deadCards = QSet<int>(drawn.cbegin(), drawn.cend());
    }
    fudaCount = static_cast<int>(cards.size());

    std::vector<int> order(cards.cbegin(), cards.cend());
    ShuffleFuda(order.data(), fudaCount);
    playList.clear();
    playList.append(QList<int>(order.cbegin(), order.cend()));
    if (settings.main.chkJoka())
        playList.prepend(0);
}

void MainWindow::HandReadingToThread()
{
    const MainSettings &values = settings.main;
    seqThread->SetParameters(values.selectVoice(), values.wait1Time(), values.wait2Time());
    if (settings.practice.isDefault())
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
        const MainSettings &values = settings.main;
        if (values.fudaList().isEmpty() && !values.chkJoka()) {
            ui->statusBar->showMessage(tr("札が選択されていないので再生できません"));
            return;
        }

        lastFudaNum = -1;
        SetSettingControlsEnabled(false);
        SetReadingControlsEnabled(true);
        // Keys of a remote or pedal go to Next and Repeat, not to the volume
        // slider that focus may have moved to from a disabled spin box.
        ui->Btn_Start->setFocus();
        playCount = 0;
        MakePlayList();
        HandReadingToThread();
    }

    if (isPlaying) {
        seqThread->RequestPause();
        ui->Btn_Start->setIcon(QIcon(QStringLiteral(":/images/Play.png")));
        isPlaying = false;
    } else {
        seqThread->RequestStart();
        ui->Btn_Start->setIcon(QIcon(QStringLiteral(":/images/Pause.png")));
        isPlaying = true;
    }
    inSequence = true;
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
    QList<int> cards = settings.main.fudaList();
    dialog->SetFudaList(&cards); // edited in place on OK
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
}

void MainWindow::on_actionOption_triggered()
{
    if (inSequence)
        return;
    const auto dialog =
        std::make_unique<OptionDialog>(this, settings.main.selectVoice(), voice2Available, seqThread.get());
    if (dialog->exec() == QDialog::Accepted)
        settings.main.setSelectVoice(dialog->voice());
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
