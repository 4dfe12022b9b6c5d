#ifndef READERIMPORTSTATUS_H
#define READERIMPORTSTATUS_H

#include <QPointer>
#include <QWidget>

class QLabel;
class QMenu;
class QMessageBox;
class QProgressBar;
class QPushButton;
class ReaderImportJob;

// The program's reader import as the main window shows it: a permanent widget
// of its status bar with the progress (files done of files to do) and Cancel,
// hidden while no import runs, and menu entries that start an import, also
// during a reading. The replace question and the result come in windows that
// do not block the window's reading controls; with a dialog open they come
// over it, and a question gone with its dialog counts as No.
class ReaderImportStatus : public QWidget
{
    Q_OBJECT

public:
    // job is borrowed; menu (may be null) gets the two entries.
    ReaderImportStatus(ReaderImportJob *job, QMenu *menu, QWidget *parent = nullptr);

private:
    void start(bool fromZip);
    void showStarted();
    void showProgress(int done, int toDo);
    void askReplace();
    void showEnd();
    QMessageBox *message(int icon, const QString &text, int buttons);

    QPointer<ReaderImportJob> job;
    QLabel *label = nullptr; // children of this
    QProgressBar *bar = nullptr;
    QPushButton *cancelButton = nullptr;
    QList<QAction *> entries; // children of the menu
    QPointer<QMessageBox> question;
};

#endif
