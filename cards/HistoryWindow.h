#ifndef HISTORYWINDOW_H
#define HISTORYWINDOW_H

#include <QList>
#include <QSet>
#include <QWidget>

#include "ReadingHistory.h"

class QComboBox;
class QPushButton;
class QTableWidget;

// The readings kept in the history folder: pick one (the newest is shown),
// see its cards in reading order with the dead cards marked, and read it
// again in the same order.
class HistoryWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HistoryWindow(const QString &historyFolder, QWidget *parent = nullptr);

    // Lists the files again and shows the newest reading.
    void refresh();
    // During a reading the window cannot start another.
    void setReadingActive(bool active);

    QList<HistoryEntry> shownEntries() const { return entries; }

signals:
    void readAgainRequested(const QList<int> &order, const QSet<int> &deadCards);

private:
    void showReading(int index);

    ReadingHistory history;
    QList<HistoryEntry> entries;
    bool readingActive = false;
    QComboBox *readings = nullptr;
    QTableWidget *table = nullptr;
    QPushButton *readAgain = nullptr;
};

#endif
