#include "HistoryWindow.h"

#include "CardCatalog.h"
#include "KimarijiChanges.h"
#include "PoemTable.h"

#include <QComboBox>
#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Column { Position, Card, FirstPhrase, Kimariji, Started, Shortened, ColumnCount };

} // namespace

HistoryWindow::HistoryWindow(const QString &historyFolder, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , history(historyFolder)
    , kimarijiModel(KimarijiModel::fromCatalog(CardCatalog::builtIn()))
{
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(tr("読み上げ履歴"));

    readings = new QComboBox(this);
    readings->setObjectName(QStringLiteral("readings"));
    readings->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(readings, &QComboBox::currentIndexChanged, this, &HistoryWindow::showReading);
    auto *readingsLabel = new QLabel(tr("読み上げ(&L):"), this);
    readingsLabel->setBuddy(readings);

    table = new QTableWidget(0, ColumnCount, this);
    table->setObjectName(QStringLiteral("entries"));
    table->setHorizontalHeaderLabels({tr("順"), tr("札"), tr("初句"), tr("決まり字"),
                                      tr("開始(分:秒)"), tr("短くなった決まり字")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    // Nothing in the table can be chosen: Tab goes on to the buttons instead
    // of walking its cells; with the focus, the arrow keys scroll it.
    table->setTabKeyNavigation(false);

    deleteButton = new QPushButton(tr("この読み上げを削除(&D)..."), this);
    deleteButton->setObjectName(QStringLiteral("Btn_Delete"));
    connect(deleteButton, &QPushButton::clicked, this, &HistoryWindow::deleteShown);

    readAgain = new QPushButton(tr("同じ順番でもう一度読む"), this);
    readAgain->setObjectName(QStringLiteral("Btn_ReadAgain"));
    connect(readAgain, &QPushButton::clicked, this, [this] {
        if (!readingActive && !entries.isEmpty())
            emit readAgainRequested(ReadingHistory::order(entries),
                                    ReadingHistory::deadCards(entries));
    });

    auto *top = new QFormLayout;
    top->addRow(readingsLabel, readings);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(deleteButton);
    buttons->addStretch();
    buttons->addWidget(readAgain);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table);
    layout->addLayout(buttons);
    setTabOrder(readings, table);
    setTabOrder(table, deleteButton);
    setTabOrder(deleteButton, readAgain);

    // Reading again is what the window is opened for: the button starts with
    // the focus, and Return presses it as in a dialog.
    readAgain->setAutoDefault(true);
    readAgain->setFocus();

    fixColumnWidths();
    refresh();
}

QString HistoryWindow::listText(const HistoryListing &reading)
{
    const QString start = reading.started.isValid()
        ? reading.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
        : reading.fileName;
    return reading.stoppedEarly
        ? tr("%1（%n枚・途中で終了）", nullptr, reading.cardCount).arg(start)
        : tr("%1（%n枚）", nullptr, reading.cardCount).arg(start);
}

QString HistoryWindow::startedText(qint64 startedMs)
{
    const qint64 seconds = std::max<qint64>(startedMs, 0) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void HistoryWindow::fixColumnWidths()
{
    const CardCatalog &catalog = CardCatalog::builtIn();
    QList<QStringList> widest(ColumnCount);
    widest[Position] << QStringLiteral("999");
    widest[Started] << QStringLiteral("99:59");
    for (int card : catalog.numbers()) {
        const QString kimariji = catalog.card(card).kimariji;
        const int length = static_cast<int>(kimariji.size());
        widest[Card] << tr("%1 (空札)").arg(card);
        widest[FirstPhrase] << PoemTable::firstPhrase(card);
        widest[Kimariji] << kimariji;
        widest[Shortened] << KimarijiChanges::describe(
            KimarijiChange {card, length, std::max(length - 1, 1)}, catalog);
    }
    const QFontMetrics cells(table->font());
    const QHeaderView *header = table->horizontalHeader();
    int total = 0;
    for (int column = 0; column < ColumnCount; ++column) {
        int width = header->sectionSizeHint(column);
        for (const QString &text : std::as_const(widest.at(column)))
            width = std::max(width, cells.horizontalAdvance(text) + 2 * cells.averageCharWidth());
        table->setColumnWidth(column, width);
        total += width;
    }
    table->horizontalHeader()->setStretchLastSection(true);
    // The whole table in view, with room for its scroll bar and frame.
    table->setMinimumWidth(total + 2 * table->frameWidth()
                           + table->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
    resize(minimumSizeHint().width(), 460);
}

void HistoryWindow::refresh()
{
    const QSignalBlocker blocker(readings);
    readings->clear();
    for (const HistoryListing &reading : history.listing())
        readings->addItem(listText(reading), reading.fileName);
    showReading(readings->count() > 0 ? 0 : -1);
}

void HistoryWindow::setReadingActive(bool active)
{
    readingActive = active;
    readAgain->setEnabled(!active && !entries.isEmpty());
}

void HistoryWindow::showReading(int index)
{
    const QString fileName = index < 0 ? QString() : readings->itemData(index).toString();
    entries = index < 0 ? QList<HistoryEntry>() : ReadingHistory::load(history.filePath(fileName));
    deleteButton->setEnabled(index >= 0);
    const std::optional<HistoryStart> start = history.startOf(fileName);
    const QList<QList<KimarijiChange>> changes = start
        ? KimarijiChanges::ofHistory(kimarijiModel, entries, *start)
        : KimarijiChanges::ofHistory(kimarijiModel, entries);
    table->setRowCount(static_cast<int>(entries.size()));
    const QBrush deadBackground(QColor(0xdd, 0xdd, 0xdd));
    for (int row = 0; row < entries.size(); ++row) {
        const HistoryEntry &entry = entries.at(row);
        const QStringList cells = {
            QString::number(entry.position),
            entry.dead ? tr("%1 (空札)").arg(entry.card) : QString::number(entry.card),
            PoemTable::firstPhrase(entry.card),
            entry.kimariji,
            startedText(entry.startedMs),
            KimarijiChanges::describe(changes.at(row), CardCatalog::builtIn())};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            if (entry.dead) {
                item->setBackground(deadBackground);
                item->setForeground(QBrush(Qt::darkGray));
            }
            table->setItem(row, column, item);
        }
    }
    setReadingActive(readingActive);
}

void HistoryWindow::deleteShown()
{
    const int index = readings->currentIndex();
    if (index < 0)
        return;
    const QString fileName = readings->itemData(index).toString();
    const auto answer = QMessageBox::question(
        this, tr("履歴の削除"),
        tr("%1 の読み上げを履歴から削除しますか?").arg(readings->itemText(index)),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    if (!history.remove(fileName))
        QMessageBox::warning(this, tr("履歴の削除"),
                             tr("%1 を削除できませんでした。").arg(history.filePath(fileName)));
    refresh();
    readings->setCurrentIndex(std::min(index, readings->count() - 1));
}
