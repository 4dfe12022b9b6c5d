#include "DataFoldersDialog.h"
#include "ui_datafoldersdialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>

DataFoldersDialog::DataFoldersDialog(const DataLocations &locations, QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::DataFoldersDialog>())
{
    ui->setupUi(this);
    const bool portable = locations.mode() == DataLocations::Mode::Portable;
    ui->modeLabel->setText(
        portable ? tr("ポータブル: 設定と記録はプログラムのフォルダに保存されます。")
                 : tr("ユーザーごと: 設定と記録はこのユーザーのフォルダに保存されます。"));
    addFolder(tr("設定ファイル"), locations.settingsFolder());
    if (!portable)
        addFolder(tr("履歴・練習記録・読手"), locations.dataFolder());
    const QStringList lookup = locations.lookupFolders();
    for (int i = 0; i < lookup.size(); ++i)
        addFolder(tr("音声と合図 (検索順 %1)").arg(i + 1), lookup.at(i));
    ui->folderList->setCurrentRow(0);
    connect(ui->openButton, &QPushButton::clicked, this, &DataFoldersDialog::openSelected);
    connect(ui->folderList, &QListWidget::itemActivated, this, &DataFoldersDialog::openSelected);
}

DataFoldersDialog::~DataFoldersDialog() = default;

QString DataFoldersDialog::creationFailedMessage(const QStringList &folders)
{
    return tr("フォルダを作成できないため設定と履歴は保存されません: %1")
        .arg(folders.join(QStringLiteral(", ")));
}

void DataFoldersDialog::addFolder(const QString &role, const QString &folder)
{
    // A folder that does not exist (a shared folder no package made) is
    // listed greyed out: there is nothing to open.
    auto *item = new QListWidgetItem(
        QStringLiteral("%1: %2").arg(role, QDir::toNativeSeparators(folder)), ui->folderList);
    item->setData(Qt::UserRole, folder);
    if (!QFileInfo(folder).isDir())
        item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
}

void DataFoldersDialog::openSelected()
{
    const QListWidgetItem *item = ui->folderList->currentItem();
    if (!item || !(item->flags() & Qt::ItemIsEnabled))
        return;
    const QString folder = item->data(Qt::UserRole).toString();
    const bool opened = openFolder(folder);
    // A desktop without a file manager: the path is there to copy.
    if (!opened)
        ui->openFailedLabel->setText(
            tr("フォルダを開けるファイルマネージャーがありません: %1")
                .arg(QDir::toNativeSeparators(folder)));
    ui->openFailedLabel->setVisible(!opened);
}

bool DataFoldersDialog::openFolder(const QString &folder)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}
