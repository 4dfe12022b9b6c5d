#ifndef OPTIONDIALOG_H
#define OPTIONDIALOG_H

#include "AudioShaping.h"
#include "OutputSettings.h"
#include "ReaderInUse.h"
#include "VersePattern.h"

#include <QDialog>
#include <QPointer>

#include <memory>
#include <optional>

class AppFolder;
class AudioShapingStore;
class BroadcastOptions;
class PlaySequenceThread;
class ReaderLibrary;
class QPushButton;
class QTimer;
class ReaderImportJob;
class ReaderTask;
class StagedReader;
struct ReaderReport;

namespace Ui {
class OptionDialog;
}

// Lets the user choose the voice that reads the poems and hear a sample of
// the voice on screen (the preamble poem) through the main window's reading
// thread. The chosen voice is taken only on acceptance.
//
// Given a shaping, the dialog also edits the verse shaping (trim, loudness,
// speed) in controls below the voice choice. While it is open the shaping on
// screen is the one in force (the AudioShapingStore given), so the sample sounds as
// chosen; unless accepted, the shaping in force before is put back when the
// dialog goes.
//
// With showReaderControls() it also offers the readers of the library
// (voices/NAME) in place of the two voices, imports a reader from a folder or
// a .zip (files named PREFIX_NNN_H or by a name pattern, previewed before
// the copy), renames and deletes readers, and shows the check of the chosen
// recordings. Imports and checks run on a worker thread (ReaderTask); a new
// reader is checked before the user is asked whether it replaces one. The reader on screen
// is the one in use (the ReaderInUse given) while the dialog is open, so the sample
// plays it; unless accepted, the reader in use before is put back.
class OptionDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int PollIntervalMs = 1000; // how often the sample's end is looked for

    // voice: 0 first voice, anything else the second; thread may be null
    // (then no sample can be played). The thread is borrowed, not owned.
    OptionDialog(QWidget *parent, int voice, bool voice2Available, PlaySequenceThread *thread);
    // shapingInForce is borrowed, and must outlive the dialog.
    OptionDialog(QWidget *parent, int voice, bool voice2Available, PlaySequenceThread *thread,
                 const AudioShaping &shaping, AudioShapingStore &shapingInForce);
    ~OptionDialog() override;

    // The voice given to the constructor until accepted; then 0 for the first
    // voice, 1 for the second.
    int voice() const;

    // The shaping given to the constructor until accepted; then the one on
    // screen. The default shaping when the dialog does not edit shaping.
    AudioShaping shaping() const;

    // Shows the reader choice; reader is the one chosen so far (empty: the two voices).
    // The library is the one in folder's voices/; inUse and folder are
    // borrowed, and must outlive the dialog.
    void showReaderControls(const QString &reader, ReaderInUse &inUse, const AppFolder &folder);
    // The reader given to showReaderControls() until accepted; then the one on
    // screen. Empty for the two voices (and when the dialog does not offer readers).
    QString reader() const;

    // Shows the broadcast choice below the other groups.
    void showOutputControls(const OutputSettings &output);
    // The output given to showOutputControls() until accepted; then the one on screen.
    OutputSettings output() const;
    // Imports go to job (the program's, which outlives the dialog and shows
    // its own progress and questions) instead of the dialog's own worker.
    void setImportJob(ReaderImportJob *job);

    // "句 200 / 201, 再生できない 1 ..." for the replace question.
    static QString summaryOf(const ReaderReport &report);

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();
    void on_Btn_TestPlay_clicked();
    void TimeoutDone();

private:
    int voiceOnScreen() const;
    AudioShaping shapingOnScreen() const;
    void showShapingControls(const AudioShaping &shaping, AudioShapingStore &inForce);
    void putShapingOnScreenInForce();
    // Below the groups shown so far, with the buttons moved below it.
    void appendGroup(QWidget *group);

    ReaderLibrary readerLibrary() const;
    QString readerOnScreen() const;
    void fillReaderChoice(const QString &selected);
    void putReaderOnScreenInForce();
    // What the user asked to import: a source, a reader name, a name pattern.
    struct ImportRequest
    {
        QString source;
        QString name;
        VersePattern pattern;
    };
    // Asks for the folder or .zip, the name and the pattern (with its preview);
    // nothing when the user gave up or nothing fits.
    static std::optional<ImportRequest> askImport(QWidget *parent, bool fromZip);
    void importReader(bool fromZip);
    // The import's second half, once the worker has gathered and checked it.
    void installStaged(StagedReader &staged);
    void checkReaderOnScreen();
    void showReport(const QStringList &lines);
    // The chosen reader's details and the cards it has no recording of.
    void describeReaderOnScreen();
    void renameReaderOnScreen();
    void deleteReaderOnScreen();
    void importEnded();

    std::unique_ptr<Ui::OptionDialog> ui;
    QTimer *pollTimer = nullptr; // child of the dialog
    QPointer<PlaySequenceThread> thread; // borrowed; null: no sample
    int chosenVoice = 0;
    bool secondVoiceAvailable = false;

    bool editsShaping = false;
    bool shapingAccepted = false;
    AudioShaping chosenShaping;
    AudioShapingStore *shapingInForce = nullptr; // borrowed, while editsShaping
    AudioShaping shapingInForceBefore; // put back unless accepted

    bool editsReader = false;
    bool readerAccepted = false;
    QString chosenReader;
    ReaderInUse *readerInUse = nullptr; // borrowed, while editsReader
    const AppFolder *appFolder = nullptr; // borrowed, while editsReader
    LibraryReader readerInUseBefore; // put back unless accepted
    QPushButton *renameButton = nullptr; // children of the reader group
    QPushButton *deleteButton = nullptr;
    BroadcastOptions *outputGroup = nullptr; // child; null unless shown
    OutputSettings chosenOutput;
    ReaderTask *task = nullptr; // the import or check under way; child of the dialog
    QPointer<ReaderImportJob> importJob; // borrowed; null: imports run in task
};

#endif
