#ifndef READERIMPORTSTATUS_H
#define READERIMPORTSTATUS_H

#include <QPointer>
#include <QWidget>

class QLabel;
class QMessageBox;
class QProgressBar;
class QPushButton;
class ReaderImportJob;

// The program's reader import as the main window shows it: a permanent widget
// of its status bar with the progress (files done of files to do) and Cancel,
// hidden while no import runs. The replace question and the result come in
// windows that neither block the window's reading controls nor take its keys;
// with a dialog open they come over it, and a question gone with its dialog
// counts as No.
class ReaderImportStatus : public QWidget
{
    Q_OBJECT

public:
    // job is borrowed. Made while an import runs, it shows it at once.
    explicit ReaderImportStatus(ReaderImportJob *job, QWidget *parent = nullptr);

private:
    void showStarted();
    void showProgress(int done, int toDo);
    void askReplace();
    void showEnd();
    QMessageBox *message(int icon, const QString &text, int buttons);

    QPointer<ReaderImportJob> job;
    QLabel *label = nullptr; // children of this
    QProgressBar *bar = nullptr;
    QPushButton *cancelButton = nullptr;
    QPointer<QMessageBox> question;
};

#endif
