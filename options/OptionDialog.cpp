#include "OptionDialog.h"
#include "ui_optiondialog.h"

#include "AppFolder.h"
#include "AudioShapingStore.h"
#include "PlaySequenceThread.h"
#include "ReaderCheck.h"
#include "ReaderImporter.h"
#include "ReaderLibrary.h"
#include "Voices.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QList>
#include <QMessageBox>
#include <QTimer>

namespace {

// Shows the busy cursor while a check or an import decodes the recordings.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

OptionDialog::OptionDialog(QWidget *parent, int voice, bool voice2Available,
                           PlaySequenceThread *thread)
    : QDialog(parent)
    , ui(std::make_unique<Ui::OptionDialog>())
{
    // The form joins accepted()/rejected() to accept()/reject() before the
    // slots below are joined by name, so accept() runs first on OK.
    ui->setupUi(this);
    pollTimer = new QTimer(this);
    connect(pollTimer, &QTimer::timeout, this, &OptionDialog::TimeoutDone);

    ui->radioButton_2->setEnabled(voice2Available);
    secondVoiceAvailable = voice2Available;

    this->thread = thread;
    ui->Btn_TestPlay->setEnabled(thread != nullptr);

    chosenVoice = voice;
    ui->radioButton_1->setChecked(voice == Voices::First);
    ui->radioButton_2->setChecked(voice != Voices::First);

    ui->groupBox_shaping->hide();
    ui->groupBox_reader->hide();
}

OptionDialog::OptionDialog(QWidget *parent, int voice, bool voice2Available,
                           PlaySequenceThread *thread, const AudioShaping &shaping)
    : OptionDialog(parent, voice, voice2Available, thread)
{
    showShapingControls(shaping);
}

OptionDialog::~OptionDialog()
{
    // Cuts short a sample that is still sounding; an idle thread ignores it.
    if (thread)
        thread->RequestStop();
    pollTimer->stop();
    if (editsShaping && !shapingAccepted)
        AudioShapingStore::set(shapingInForceBefore);
    if (editsReader && !readerAccepted)
        ReaderInUse::set(readerInUseBefore);
}

int OptionDialog::voice() const
{
    return chosenVoice;
}

int OptionDialog::voiceOnScreen() const
{
    return ui->radioButton_1->isChecked() ? Voices::First : Voices::Second;
}

AudioShaping OptionDialog::shaping() const
{
    return chosenShaping;
}

AudioShaping OptionDialog::shapingOnScreen() const
{
    return {ui->checkBox_trimSilence->isChecked(), ui->checkBox_normalize->isChecked(),
            ui->doubleSpinBox_speed->value()};
}

void OptionDialog::showShapingControls(const AudioShaping &shaping)
{
    editsShaping = true;
    chosenShaping = shaping;
    shapingInForceBefore = AudioShapingStore::get();

    ui->checkBox_trimSilence->setChecked(shaping.trimSilence);
    ui->checkBox_normalize->setChecked(shaping.normalize);
    ui->doubleSpinBox_speed->setValue(AudioShaping::clampedSpeed(shaping.speed));
    putShapingOnScreenInForce();
    connect(ui->checkBox_trimSilence, &QCheckBox::toggled, this,
            &OptionDialog::putShapingOnScreenInForce);
    connect(ui->checkBox_normalize, &QCheckBox::toggled, this,
            &OptionDialog::putShapingOnScreenInForce);
    connect(ui->doubleSpinBox_speed, &QDoubleSpinBox::valueChanged, this,
            &OptionDialog::putShapingOnScreenInForce);

    appendGroup(ui->groupBox_shaping);
}

void OptionDialog::appendGroup(QWidget *group)
{
    // The group sits below the groups shown; the buttons move below it and
    // the dialog grows to hold them, with the form's spacing and margin.
    const int gap = ui->buttonBox->y() - (ui->groupBox->y() + ui->groupBox->height());
    const int margin = height() - ui->buttonBox->geometry().bottom();
    group->move(group->x(), ui->buttonBox->y());
    group->show();
    ui->buttonBox->move(ui->buttonBox->x(), group->y() + group->height() + gap);
    const QSize enlarged(width(), ui->buttonBox->geometry().bottom() + margin);
    setMinimumSize(enlarged);
    setMaximumSize(enlarged);
    resize(enlarged);
}

void OptionDialog::putShapingOnScreenInForce()
{
    AudioShapingStore::set(shapingOnScreen());
}

void OptionDialog::on_buttonBox_accepted()
{
    chosenVoice = voiceOnScreen();
    if (editsReader) {
        chosenReader = readerOnScreen();
        readerAccepted = true;
        putReaderOnScreenInForce();
    }
    if (editsShaping) {
        chosenShaping = shapingOnScreen();
        shapingAccepted = true;
        AudioShapingStore::set(chosenShaping);
    }
}

void OptionDialog::on_buttonBox_rejected()
{
    // Nothing to do: the form's own connection to reject() closes the dialog.
}

void OptionDialog::on_Btn_TestPlay_clicked()
{
    if (!thread)
        return;

    // The preamble poem alone. The thread keeps its own copy of the list, so
    // the sample may outlive this dialog without reading freed memory.
    QList<int> sample {0};
    thread->SetParameters(voiceOnScreen(), 1, 1);
    thread->SetFudaList(&sample);
    ui->Btn_TestPlay->setEnabled(false);
    pollTimer->start(PollIntervalMs);
    thread->RequestStart();
}

void OptionDialog::TimeoutDone()
{
    if (thread && thread->GetState() == 0) {
        ui->Btn_TestPlay->setEnabled(true);
        pollTimer->stop();
    }
}

void OptionDialog::showReaderControls(const QString &reader)
{
    editsReader = true;
    chosenReader = reader;
    readerInUseBefore = ReaderInUse::get();
    fillReaderChoice(reader);
    putReaderOnScreenInForce();
    connect(ui->comboBox_reader, &QComboBox::currentIndexChanged, this,
            &OptionDialog::putReaderOnScreenInForce);
    connect(ui->pushButton_importFolder, &QPushButton::clicked, this,
            [this] { importReader(false); });
    connect(ui->pushButton_importZip, &QPushButton::clicked, this, [this] { importReader(true); });
    connect(ui->pushButton_check, &QPushButton::clicked, this, &OptionDialog::checkReaderOnScreen);
    appendGroup(ui->groupBox_reader);
}

QString OptionDialog::reader() const
{
    return chosenReader;
}

QString OptionDialog::readerOnScreen() const
{
    return ui->comboBox_reader->currentData().toString();
}

void OptionDialog::fillReaderChoice(const QString &selected)
{
    const QSignalBlocker blocker(ui->comboBox_reader);
    ui->comboBox_reader->clear();
    ui->comboBox_reader->addItem(tr("音声1・音声2（上で選択）"), QString());
    const QStringList names = ReaderLibrary().names();
    for (const QString &name : names)
        ui->comboBox_reader->addItem(name, name);
    // A chosen reader whose folder has gone is still shown, so that OK keeps it.
    if (!selected.isEmpty() && !names.contains(selected))
        ui->comboBox_reader->addItem(selected, selected);
    ui->comboBox_reader->setCurrentIndex(std::max(0, ui->comboBox_reader->findData(selected)));
}

void OptionDialog::putReaderOnScreenInForce()
{
    const QString name = readerOnScreen();
    ReaderLibrary().use(name);
    // A reader reads for both voices.
    ui->radioButton_1->setEnabled(name.isEmpty());
    ui->radioButton_2->setEnabled(name.isEmpty() && secondVoiceAvailable);
}

void OptionDialog::importReader(bool fromZip)
{
    const QString source = fromZip
        ? QFileDialog::getOpenFileName(this, tr("読手の ZIP ファイル"), QString(),
                                       tr("ZIP ファイル (*.zip)"))
        : QFileDialog::getExistingDirectory(this, tr("読手の録音のフォルダ"));
    if (source.isEmpty())
        return;
    const QString name =
        QInputDialog::getText(this, tr("読手の追加"), tr("読手の名前:"), QLineEdit::Normal,
                              ReaderImporter::suggestedName(source))
            .trimmed();
    if (name.isEmpty())
        return;
    if (!ReaderLibrary::isValidName(name)) {
        QMessageBox::warning(this, tr("読手の追加"), tr("この名前は使えません: %1").arg(name));
        return;
    }
    const ReaderLibrary library;
    const bool replace = library.contains(name);
    if (replace
        && QMessageBox::question(this, tr("読手の追加"),
                                 tr("読手 %1 はすでにあります。置き換えますか?").arg(name))
            != QMessageBox::Yes)
        return;

    ImportOutcome outcome;
    {
        const BusyCursor busy;
        outcome = ReaderImporter(library).import(source, name, replace);
    }
    showReport(outcome.refusals + outcome.report.lines());
    if (!outcome.imported) {
        QMessageBox::warning(this, tr("読手の追加"),
                             tr("読手 %1 を追加できませんでした。").arg(name) + QLatin1Char('\n')
                                 + outcome.refusals.join(QLatin1Char('\n')));
        return;
    }
    fillReaderChoice(name);
    putReaderOnScreenInForce();
}

void OptionDialog::checkReaderOnScreen()
{
    const QString name = readerOnScreen();
    const QString folder = name.isEmpty() ? AppFolder::filePath(Voices::folderName(voiceOnScreen()))
                                          : ReaderLibrary().folder(name);
    const BusyCursor busy;
    showReport(ReaderCheck::checkFolder(folder).lines());
}

void OptionDialog::showReport(const QStringList &lines)
{
    ui->plainTextEdit_report->setPlainText(lines.join(QLatin1Char('\n')));
}
