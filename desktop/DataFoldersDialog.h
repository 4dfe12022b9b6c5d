#ifndef DATAFOLDERSDIALOG_H
#define DATAFOLDERSDIALOG_H

#include "DataLocations.h"

#include <QDialog>
#include <QStringList>
#include <memory>

namespace Ui {
class DataFoldersDialog;
}

// Help > Data folders: which mode the program runs in, the folders it keeps
// its settings and data in and looks for recordings in, each opened in the
// desktop's file manager on request. When no file manager opens it, the
// dialog says so and shows the folder's path to copy.
class DataFoldersDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DataFoldersDialog(const DataLocations &locations, QWidget *parent = nullptr);
    ~DataFoldersDialog() override;

    // The status bar's text for folders that could not be made at start-up.
    static QString creationFailedMessage(const QStringList &folders);

protected:
    // Hands the folder to the desktop; false when nothing could open it
    // (tests replace it).
    virtual bool openFolder(const QString &folder);

private:
    void addFolder(const QString &role, const QString &folder);
    void openSelected();

    std::unique_ptr<Ui::DataFoldersDialog> ui;
};

#endif
