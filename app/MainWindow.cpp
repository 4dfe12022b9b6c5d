#include "MainWindow.h"

#include "AnkiJikan_Dialog.h"
#include "AppFolder.h"
#include "AudioOutput.h"
#include "FudaSelectDlg.h"
#include "FudaShuffle.h"
#include "OptionDialog.h"
#include "PlaySequenceThread.h"
#include "PoemTable.h"
#include "RecordingFile.h"
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

    const QString voice1Probe = resolveRecording(
        AppFolder::filePath(tr("Music") + QDir::separator() + QStringLiteral("rindou_000_2")));
    if (QFileInfo::exists(voice1Probe)) {
        ui->Btn_Start->setEnabled(true);
        ui->statusBar->showMessage(tr("再生ボタンを押してください"));
    } else {
        ui->Btn_Start->setEnabled(false);
        ui->statusBar->showMessage(tr("音声ファイルが見つからないので再生できません(!_!)"));
    }

    const QString voice2Probe = resolveRecording(
        AppFolder::filePath(tr("Music2") + QDir::separator() + QStringLiteral("asagao_000_2")));
    voice2Available = QFileInfo::exists(voice2Probe);
    if (!voice2Available)
        selectVoice = 0;

    // The change slots are connected already, so the members take the values
    // as the spin boxes clamp them.
    ui->checkBox->setChecked(chkJoka);
    ui->spinBox_1->setValue(wait1Time);
    ui->spinBox_2->setValue(wait2Time);

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
}

MainWindow::~MainWindow()
{
    LoadSaveSetting(settingFileName, true);
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
        QStringLiteral("<h2>%1 %2</h2><p>use Qt%3 (%4bit)<p>use SDL2 and libsndfile audio libraries")
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
        // Without an output the reading would run silently: try it again.
        if (!AudioOutput::Reopen()) {
            ui->statusBar->showMessage(tr("音声出力を開けません"));
            return;
        }
        // Nothing to read: the reading thread would ignore the list and never
        // report an end, leaving the window stuck in a reading.
        if (fudaList.isEmpty() && !chkJoka) {
            ui->statusBar->showMessage(tr("札が選択されていないので再生できません"));
            return;
        }

        lastFudaNum = -1;
        SetSettingControlsEnabled(false);
        playCount = 0;
        fudaCount = static_cast<int>(fudaList.size());

        std::vector<int> order(fudaList.cbegin(), fudaList.cend());
        ShuffleFuda(order.data(), fudaCount);
        playList.clear();
        playList.append(QList<int>(order.cbegin(), order.cend()));
        if (chkJoka)
            playList.prepend(0);

        seqThread->SetParameters(selectVoice, wait1Time, wait2Time);
        seqThread->SetFudaList(&playList);
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
    dialog->SetFudaList(&fudaList);
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
    ui->Btn_Start->setIcon(QIcon(QStringLiteral(":/images/Play.png")));
}

void MainWindow::on_actionOption_triggered()
{
    if (inSequence)
        return;
    const auto dialog =
        std::make_unique<OptionDialog>(this, selectVoice, voice2Available, seqThread.get());
    if (dialog->exec() == QDialog::Accepted)
        selectVoice = dialog->voice();
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
