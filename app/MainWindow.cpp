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
#include "ui_mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QRandomGenerator>
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

// The preamble's upper verse of the voice in use; the competitive style reads
// the preamble in full only when it is there. File names are not translated.
bool preambleUpperExists(int voice)
{
    const QString name = voice == 0 ? QStringLiteral("Music/rindou_000_1.ogg")
                                    : QStringLiteral("Music2/asagao_000_1.ogg");
    return QFileInfo::exists(AppFolder::filePath(name));
}

PlanOptions planOptions(const PracticeSettings &practice, int wait1, int wait2, int voice,
                        const QSet<int> &deadCards)
{
    PlanOptions options;
    options.style = practice.style;
    options.advance = practice.advance;
    options.wait1Seconds = wait1;
    options.wait2Seconds = wait2;
    options.preambleUpperAvailable = preambleUpperExists(voice);
    options.deadCards = deadCards;
    return options;
}

// SEAM until the reading thread executes plans (SetPlan, RequestNext,
// RequestRepeat): these call them once they exist and otherwise fall back to
// the plain reading / do nothing.
template <typename Thread>
bool seamSetPlan(Thread &thread, const ReadingPlan &plan)
{
    if constexpr (requires { thread.SetPlan(plan); }) {
        thread.SetPlan(plan);
        return true;
    }
    return false;
}

template <typename Thread>
void seamRequestNext(Thread &thread)
{
    if constexpr (requires { thread.RequestNext(); })
        thread.RequestNext();
}

template <typename Thread>
void seamRequestRepeat(Thread &thread)
{
    if constexpr (requires { thread.RequestRepeat(); })
        thread.RequestRepeat();
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
        practice.save(settings);
        return;
    }

    practice = PracticeSettings::load(settings);

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

void MainWindow::SetReadingControlsEnabled(bool enabled)
{
    ui->actionNext->setEnabled(enabled);
    ui->actionRepeat->setEnabled(enabled);
}

void MainWindow::MakePlayList()
{
    QList<int> cards = fudaList;
    deadCards.clear();
    if (practice.deadCards > 0) {
        const QList<int> drawn =
            DeadCardDraw::draw(fudaList, practice.deadCards, *QRandomGenerator::global());
        cards += drawn;
        deadCards = QSet<int>(drawn.cbegin(), drawn.cend());
    }
    fudaCount = static_cast<int>(cards.size());

    std::vector<int> order(cards.cbegin(), cards.cend());
    ShuffleFuda(order.data(), fudaCount);
    playList.clear();
    playList.append(QList<int>(order.cbegin(), order.cend()));
    if (chkJoka)
        playList.prepend(0);
}

void MainWindow::HandReadingToThread()
{
    seqThread->SetParameters(selectVoice, wait1Time, wait2Time);
    if (practice.isDefault()) {
        seqThread->SetFudaList(&playList);
        return;
    }
    const ReadingPlan plan = ReadingPlanBuilder::build(
        playList, planOptions(practice, wait1Time, wait2Time, selectVoice, deadCards));
    if (!seamSetPlan(*seqThread, plan))
        seqThread->SetFudaList(&playList);
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
        // report an end, leaving the window stuck in a reading. Dead cards
        // alone are no practice either.
        if (fudaList.isEmpty() && !chkJoka) {
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

void MainWindow::on_actionPractice_triggered()
{
    if (inSequence)
        return;
    const auto dialog = std::make_unique<PracticeDialog>(this, practice);
    if (dialog->exec() == QDialog::Accepted)
        practice = dialog->settings();
}

void MainWindow::on_actionNext_triggered()
{
    if (inSequence)
        seamRequestNext(*seqThread);
}

void MainWindow::on_actionRepeat_triggered()
{
    if (inSequence)
        seamRequestRepeat(*seqThread);
}
