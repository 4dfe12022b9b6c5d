#include "HistoryWindow.h"

#include "CardCatalog.h"
#include "PoemTable.h"

#include <QComboBox>
#include <QDateTime>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

HistoryWindow::HistoryWindow(const QString &historyFolder, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , history(historyFolder)
{
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(tr("読み上げ履歴"));
    resize(460, 420);

    readings = new QComboBox(this);
    readings->setObjectName(QStringLiteral("readings"));
    connect(readings, &QComboBox::currentIndexChanged, this, &HistoryWindow::showReading);

    table = new QTableWidget(0, 5, this);
    table->setObjectName(QStringLiteral("entries"));
    table->setHorizontalHeaderLabels(
        {tr("順"), tr("札"), tr("初句"), tr("決まり字"), tr("開始(秒)")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    // Nothing in the table can be chosen: Tab goes on to the button instead of
    // walking its cells.
    table->setTabKeyNavigation(false);

    readAgain = new QPushButton(tr("同じ順番でもう一度読む"), this);
    readAgain->setObjectName(QStringLiteral("Btn_ReadAgain"));
    connect(readAgain, &QPushButton::clicked, this, [this] {
        if (!readingActive && !entries.isEmpty())
            emit readAgainRequested(ReadingHistory::order(entries),
                                    ReadingHistory::deadCards(entries));
    });

    // Reading again is what the window is opened for: the button starts with
    // the focus, and Return presses it as in a dialog.
    readAgain->setAutoDefault(true);
    readAgain->setFocus();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(readings);
    layout->addWidget(table);
    layout->addWidget(readAgain);
    refresh();
}

void HistoryWindow::refresh()
{
    const QSignalBlocker blocker(readings);
    readings->clear();
    for (const QString &name : history.files()) {
        const QDateTime start =
            QDateTime::fromString(name.left(15), QStringLiteral("yyyyMMdd-HHmmss"));
        readings->addItem(
            start.isValid() ? start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : name, name);
    }
    showReading(readings->count() > 0 ? 0 : -1);
}

void HistoryWindow::setReadingActive(bool active)
{
    readingActive = active;
    readAgain->setEnabled(!active && !entries.isEmpty());
}

void HistoryWindow::showReading(int index)
{
    entries = index < 0
        ? QList<HistoryEntry>()
        : ReadingHistory::load(history.filePath(readings->itemData(index).toString()));
    table->setRowCount(static_cast<int>(entries.size()));
    const QBrush deadBackground(QColor(0xdd, 0xdd, 0xdd));
    for (int row = 0; row < entries.size(); ++row) {
        const HistoryEntry &entry = entries.at(row);
        const QStringList cells = {
            QString::number(entry.position),
            entry.dead ? tr("%1 (空札)").arg(entry.card) : QString::number(entry.card),
            PoemTable::firstPhrase(entry.card), entry.kimariji,
            QString::number(static_cast<double>(entry.startedMs) / 1000.0, 'f', 1)};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            if (entry.dead) {
                item->setBackground(deadBackground);
                item->setForeground(QBrush(Qt::darkGray));
            }
            table->setItem(row, column, item);
        }
    }
    table->resizeColumnsToContents();
    setReadingActive(readingActive);
}
