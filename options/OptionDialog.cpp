#include "OptionDialog.h"
#include "ui_optiondialog.h"

#include "AppFolder.h"
#include "BroadcastOptions.h"
#include "AudioShapingStore.h"
#include "PlaySequenceThread.h"
#include "ReaderCheck.h"
#include "ReaderImportJob.h"
#include "ReaderImporter.h"
#include "ReaderLibrary.h"
#include "ReaderShelf.h"
#include "ReaderTask.h"
#include "Voices.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QList>
#include <QMessageBox>
#include <QTimer>

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
                           PlaySequenceThread *thread, const AudioShaping &shaping,
                           AudioShapingStore &shapingInForce)
    : OptionDialog(parent, voice, voice2Available, thread)
{
    showShapingControls(shaping, shapingInForce);
}

OptionDialog::~OptionDialog()
{
    // Cuts short a sample that is still sounding; an idle thread ignores it.
    if (thread)
        thread->RequestStop();
    pollTimer->stop();
    if (editsShaping && !shapingAccepted)
        shapingInForce->set(shapingInForceBefore);
    if (editsReader && !readerAccepted)
        readerInUse->set(readerInUseBefore);
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

void OptionDialog::showShapingControls(const AudioShaping &shaping, AudioShapingStore &inForce)
{
    editsShaping = true;
    shapingInForce = &inForce;
    chosenShaping = shaping;
    shapingInForceBefore = inForce.get();

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
    shapingInForce->set(shapingOnScreen());
}

void OptionDialog::on_buttonBox_accepted()
{
    chosenVoice = voiceOnScreen();
    if (outputGroup)
        chosenOutput = outputGroup->settings();
    if (editsReader) {
        chosenReader = readerOnScreen();
        readerAccepted = true;
        putReaderOnScreenInForce();
    }
    if (editsShaping) {
        chosenShaping = shapingOnScreen();
        shapingAccepted = true;
        shapingInForce->set(chosenShaping);
    }
}

void OptionDialog::showOutputControls(const OutputSettings &output)
{
    chosenOutput = output;
    outputGroup = new BroadcastOptions(output, this);
    outputGroup->setGeometry(ui->groupBox->x(), 0, ui->groupBox->width(),
                             outputGroup->sizeHint().height());
    appendGroup(outputGroup);
}

OutputSettings OptionDialog::output() const
{
    return chosenOutput;
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

void OptionDialog::showReaderControls(const QString &reader, ReaderInUse &inUse,
                                      const AppFolder &folder)
{
    editsReader = true;
    chosenReader = reader;
    readerInUse = &inUse;
    appFolder = &folder;
    readerInUseBefore = inUse.get();
    fillReaderChoice(reader);
    putReaderOnScreenInForce();
    connect(ui->comboBox_reader, &QComboBox::currentIndexChanged, this,
            &OptionDialog::putReaderOnScreenInForce);
    connect(ui->pushButton_importFolder, &QPushButton::clicked, this,
            [this] { importReader(false); });
    connect(ui->pushButton_importZip, &QPushButton::clicked, this, [this] { importReader(true); });
    connect(ui->pushButton_check, &QPushButton::clicked, this, &OptionDialog::checkReaderOnScreen);

    // Check, rename and delete share the row of the check button.
    const QRect row = ui->pushButton_check->geometry();
    const int gap = 6;
    const int width = (row.width() - 2 * gap) / 3;
    ui->pushButton_check->setGeometry(row.x(), row.y(), width, row.height());
    renameButton = new QPushButton(tr("名前の変更"), ui->groupBox_reader);
    renameButton->setGeometry(row.x() + width + gap, row.y(), width, row.height());
    deleteButton = new QPushButton(tr("削除"), ui->groupBox_reader);
    deleteButton->setGeometry(row.x() + 2 * (width + gap), row.y(), width, row.height());
    connect(renameButton, &QPushButton::clicked, this, &OptionDialog::renameReaderOnScreen);
    connect(deleteButton, &QPushButton::clicked, this, &OptionDialog::deleteReaderOnScreen);
    describeReaderOnScreen();
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

ReaderLibrary OptionDialog::readerLibrary() const
{
    return ReaderLibrary(*appFolder);
}

void OptionDialog::fillReaderChoice(const QString &selected)
{
    const QSignalBlocker blocker(ui->comboBox_reader);
    ui->comboBox_reader->clear();
    ui->comboBox_reader->addItem(tr("音声1・音声2（上で選択）"), QString());
    const QStringList names = readerLibrary().names();
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
    readerLibrary().use(name, *readerInUse);
    // A reader reads for both voices.
    ui->radioButton_1->setEnabled(name.isEmpty());
    ui->radioButton_2->setEnabled(name.isEmpty() && secondVoiceAvailable);
    if (renameButton)
        describeReaderOnScreen();
}

void OptionDialog::describeReaderOnScreen()
{
    const QString name = readerOnScreen();
    const ReaderLibrary library = readerLibrary();
    const bool inLibrary = !name.isEmpty() && library.contains(name);
    renameButton->setEnabled(inLibrary);
    deleteButton->setEnabled(inLibrary);
    if (!inLibrary) {
        showReport({});
        return;
    }
    const ReaderDetails details = ReaderShelf(library).details(name);
    QStringList lines {ReaderShelf::describe(details)};
    if (!details.cardsMissingVerses.isEmpty()) {
        QStringList cards;
        for (const int card : details.cardsMissingVerses)
            cards.append(QString::number(card));
        lines.append(tr("録音がない札が %1 枚あります: %2 (その句は読まれず、無音になります)")
                         .arg(cards.size())
                         .arg(cards.join(QStringLiteral(", "))));
    }
    showReport(lines);
}

void OptionDialog::renameReaderOnScreen()
{
    const QString name = readerOnScreen();
    const QString newName = QInputDialog::getText(this, tr("読手の名前の変更"), tr("新しい名前:"),
                                                  QLineEdit::Normal, name)
                                .trimmed();
    if (newName.isEmpty() || newName == name)
        return;
    const QString failure = ReaderShelf(readerLibrary()).rename(name, newName);
    if (!failure.isEmpty()) {
        QMessageBox::warning(this, tr("読手の名前の変更"), failure);
        return;
    }
    fillReaderChoice(newName);
    putReaderOnScreenInForce();
    // The library changed at once, OK or not: the reader kept on Cancel follows it.
    if (chosenReader == name) {
        chosenReader = newName;
        readerInUseBefore = readerInUse->get();
    }
}

void OptionDialog::deleteReaderOnScreen()
{
    const QString name = readerOnScreen();
    if (QMessageBox::question(this, tr("読手の削除"),
                              tr("読手 %1 の録音をすべて削除しますか?").arg(name),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const QString failure = ReaderShelf(readerLibrary()).remove(name);
    if (!failure.isEmpty()) {
        QMessageBox::warning(this, tr("読手の削除"), failure);
        return;
    }
    fillReaderChoice(QString());
    putReaderOnScreenInForce();
    if (chosenReader == name) {
        chosenReader.clear();
        readerInUseBefore = {};
    }
}

void OptionDialog::setImportJob(ReaderImportJob *job)
{
    importJob = job;
    connect(job, &ReaderImportJob::finished, this, &OptionDialog::importEnded);
}

void OptionDialog::importEnded()
{
    if (!editsReader || importJob->wasCancelled())
        return;
    const ImportOutcome &outcome = importJob->outcome();
    if (!outcome.imported) {
        showReport(outcome.refusals + outcome.report.lines());
        return;
    }
    fillReaderChoice(importJob->name());
    putReaderOnScreenInForce();
    showReport(outcome.report.lines());
}

std::optional<OptionDialog::ImportRequest> OptionDialog::askImport(QWidget *parent, bool fromZip)
{
    const QString source = fromZip
        ? QFileDialog::getOpenFileName(parent, tr("読手の ZIP ファイル"), QString(),
                                       tr("ZIP ファイル (*.zip)"))
        : QFileDialog::getExistingDirectory(parent, tr("読手の録音のフォルダ"));
    if (source.isEmpty())
        return std::nullopt;
    const QString name =
        QInputDialog::getText(parent, tr("読手の追加"), tr("読手の名前:"), QLineEdit::Normal,
                              ReaderImporter::suggestedName(source))
            .trimmed();
    if (name.isEmpty())
        return std::nullopt;
    if (!ReaderLibrary::isValidName(name)) {
        QMessageBox::warning(parent, tr("読手の追加"), tr("この名前は使えません: %1").arg(name));
        return std::nullopt;
    }
    bool ok = false;
    const QString pattern =
        QInputDialog::getText(parent, tr("読手の追加"),
                              tr("ファイル名の型 (例: {card}-{half}.mp3, {card:03}_{half}.flac)\n"
                                 "空欄なら 名前_NNN_H.ogg などの名前で探します:"),
                              QLineEdit::Normal, QString(), &ok)
            .trimmed();
    if (!ok)
        return std::nullopt;
    ImportRequest request {source, name, VersePattern(pattern)};
    if (!pattern.isEmpty()) {
        QStringList refusals;
        const QList<PlannedVerse> planned =
            ReaderImporter::preview(source, name, request.pattern, &refusals);
        QStringList lines; // in the library's order, the files as found in the source
        const QDir sourceFolder(QFileInfo(source).isDir() ? source : QString());
        for (const PlannedVerse &verse : planned)
            lines.append(QStringLiteral("%2 ← %1").arg(
                QFileInfo(source).isDir() ? sourceFolder.relativeFilePath(verse.from) : verse.from,
                verse.target));
        lines.sort();
        QMessageBox preview(
            QMessageBox::Question, tr("読手の追加"),
            tr("%1 個のファイルを句として取り込みます。よろしいですか?").arg(planned.size())
                + (refusals.isEmpty() ? QString()
                                      : QLatin1Char('\n') + refusals.join(QLatin1Char('\n'))),
            QMessageBox::Yes | QMessageBox::No, parent);
        preview.setDefaultButton(QMessageBox::No);
        preview.setDetailedText(lines.join(QLatin1Char('\n')));
        if (planned.isEmpty() || !refusals.isEmpty() || preview.exec() != QMessageBox::Yes) {
            if (planned.isEmpty() || !refusals.isEmpty())
                QMessageBox::warning(parent, tr("読手の追加"),
                                     tr("型に合うファイルがありません: %1").arg(pattern)
                                         + QLatin1Char('\n') + refusals.join(QLatin1Char('\n')));
            return std::nullopt;
        }
    }
    return request;
}

void OptionDialog::importReader(bool fromZip)
{
    if (task)
        return;
    if (importJob && importJob->isBusy()) {
        QMessageBox::warning(this, tr("読手の追加"), importJob->refusalToStart(QString()));
        return;
    }
    const std::optional<ImportRequest> request = askImport(this, fromZip);
    if (!request)
        return;
    const QString source = request->source;
    const QString name = request->name;
    if (importJob) {
        const QString refusal = importJob->start(source, name, request->pattern);
        if (!refusal.isEmpty())
            QMessageBox::warning(this, tr("読手の追加"), refusal);
        else
            showReport({tr("読手 %1 を取り込んでいます。進み具合はメインウィンドウの下に出ます。"
                           "このウィンドウを閉じても取り込みは続きます。")
                            .arg(name)});
        return;
    }
    ImportOptions options;
    options.pattern = request->pattern;

    auto result = std::make_shared<TaskResult<std::shared_ptr<StagedReader>>>();
    // The library's place is looked up here, not on the worker thread.
    const ReaderLibrary library = readerLibrary();
    task = new ReaderTask(this, tr("読手 %1 を取り込んで確認しています…").arg(name),
                          [result, library, source, name, options](ImportProgress *progress) {
                              ImportOptions withProgress = options;
                              withProgress.progress = progress;
                              result->put(std::make_shared<StagedReader>(
                                  ReaderImporter(library).stage(source, name, withProgress)));
                          });
    connect(task, &ReaderTask::finished, this, [this, result] {
        const bool cancelled = task->wasCancelled();
        task->deleteLater();
        task = nullptr;
        const std::shared_ptr<StagedReader> staged = result->take();
        if (cancelled)
            showReport(staged->refusals); // the staging folder goes with it
        else
            installStaged(*staged);
    });
}

void OptionDialog::installStaged(StagedReader &staged)
{
    const QString name = staged.name; // a copy: staged is emptied below
    const ReaderImporter importer {readerLibrary()};
    bool replace = false;
    if (staged.refusals.isEmpty() && readerLibrary().contains(name)) {
        showReport(staged.report.lines());
        replace = QMessageBox::question(
                      this, tr("読手の追加"),
                      tr("読手 %1 はすでにあります。新しい録音の確認:\n%2\n置き換えますか?")
                          .arg(name, summaryOf(staged.report)),
                      QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes;
        if (!replace) {
            describeReaderOnScreen();
            return;
        }
    }
    const bool checked = staged.refusals.isEmpty();
    const ImportOutcome outcome = importer.install(staged, replace);
    staged = StagedReader(); // nothing of it left behind while the message shows
    if (!outcome.imported) {
        showReport(outcome.refusals + (checked ? outcome.report.lines() : QStringList()));
        QMessageBox::warning(this, tr("読手の追加"),
                             tr("読手 %1 を追加できませんでした。").arg(name) + QLatin1Char('\n')
                                 + outcome.refusals.join(QLatin1Char('\n')));
        return;
    }
    fillReaderChoice(name);
    putReaderOnScreenInForce();
    showReport(outcome.report.lines());
}

QString OptionDialog::summaryOf(const ReaderReport &report)
{
    return tr("句 %1 / %2 (足りない %3)、再生できない %4、無音 %5、拍の時刻 (timing.tsv) %6")
        .arg(report.requiredFound)
        .arg(ReaderFiles::RequiredVerses)
        .arg(ReaderFiles::RequiredVerses - report.requiredFound)
        .arg(report.undecodable)
        .arg(report.silent)
        .arg(report.timing == ReaderReport::Timing::Kept         ? tr("あり")
                 : report.timing == ReaderReport::Timing::Absent ? tr("なし")
                                                                 : tr("合わないので使いません"));
}

void OptionDialog::checkReaderOnScreen()
{
    if (task)
        return;
    const QString name = readerOnScreen();
    const QString folder = name.isEmpty() ? appFolder->filePath(Voices::folderName(voiceOnScreen()))
                                          : readerLibrary().folder(name);
    auto result = std::make_shared<TaskResult<QStringList>>();
    task = new ReaderTask(this, tr("録音を確認しています…"),
                          [result, folder](ImportProgress *progress) {
                              result->put(ReaderCheck::checkFolder(folder, progress).lines());
                          });
    connect(task, &ReaderTask::finished, this, [this, result] {
        const bool cancelled = task->wasCancelled();
        task->deleteLater();
        task = nullptr;
        if (!cancelled)
            showReport(result->take());
    });
}

void OptionDialog::showReport(const QStringList &lines)
{
    ui->plainTextEdit_report->setPlainText(lines.join(QLatin1Char('\n')));
}
