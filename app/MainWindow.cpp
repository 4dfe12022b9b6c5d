#include "MainWindow.h"

#include "AnkiJikan_Dialog.h"
#include "AppFolder.h"
#include "FudaSelectDlg.h"
#include "FudaShuffle.h"
#include "Logging.h"
#include "OptionDialog.h"
#include "PlaySequenceThread.h"
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
    ReportAdjustedSettings();

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
        settings.sync();
        if (settings.status() != QSettings::NoError)
            qCWarning(lcSettings, "cannot write the settings file %s (read-only folder or full disk?)",
                      qUtf8Printable(fileName));
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
        tr("<h2>%1 %2</h2><p>use Qt%3 (%4bit)<p>use SDL_mixer audio library")
            .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion(),
                 QString::number(QT_VERSION_MAJOR), QString::number(QSysInfo::WordSize));
    QMessageBox::about(this, tr("About"), text);
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
    emit PlaybackChanged();
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
}

void MainWindow::SequenceEnded(int status)
{
    Q_UNUSED(status)
    ui->statusBar->clearMessage();
    inSequence = false;
    isPlaying = false;
    SetSettingControlsEnabled(true);
    ui->Btn_Start->setIcon(QIcon(QStringLiteral(":/images/Play.png")));
    emit PlaybackChanged();
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

void MainWindow::BringToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

// The window's controls clamp what the file says; values that did not
// survive are logged so a hand-edited file is not silently "ignored".
void MainWindow::ReportAdjustedSettings() const
{
    const QSettings settings(settingFileName, QSettings::IniFormat);
    const auto report = [&settings](const char *key, int used) {
        const QVariant stored = settings.value(QLatin1String(key));
        if (stored.isValid() && stored.toString() != QString::number(used))
            qCInfo(lcSettings, "%s: stored value \"%s\" replaced by %d", key,
                   qUtf8Printable(stored.toString()), used);
    };
    report(SettingWait1Time, wait1Time);
    report(SettingWait2Time, wait2Time);
    report(SettingSelectVoice, selectVoice);
    const QString storedList = fudaListText(settings.value(QLatin1String(SettingFudaList)));
    if (!storedList.isEmpty() && storedList != MakeFudaListString(&fudaList))
        qCInfo(lcSettings, "%s: cards outside 1..100 or not numbers dropped; %d cards kept",
               SettingFudaList, static_cast<int>(fudaList.size()));
}
