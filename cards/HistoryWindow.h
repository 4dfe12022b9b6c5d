#ifndef HISTORYWINDOW_H
#define HISTORYWINDOW_H

#include <QList>
#include <QSet>
#include <QWidget>

#include "KimarijiModel.h"
#include "ReadingHistory.h"

class QComboBox;
class QPushButton;
class QTableWidget;

// The readings kept in the history folder: pick one (the newest is shown;
// the list gives each reading's card count and marks those stopped early),
// see its cards in reading order with the dead cards marked and the deciding
// syllables each card shortened, delete it, or read it again in the same
// order.
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

    // How the list names a reading: start time, card count, and a mark when
    // it was stopped early.
    static QString listText(const HistoryListing &reading);
    // Seconds from the start as minutes and seconds, "m:ss".
    static QString startedText(qint64 startedMs);

signals:
    void readAgainRequested(const QList<int> &order, const QSet<int> &deadCards);

private:
    void showReading(int index);
    // Deletes the reading shown, after asking.
    void deleteShown();
    // Columns as wide as anything a reading can put in them, so a short
    // reading does not narrow them.
    void fixColumnWidths();

    ReadingHistory history;
    KimarijiModel kimarijiModel;
    QList<HistoryEntry> entries;
    bool readingActive = false;
    QComboBox *readings = nullptr;
    QTableWidget *table = nullptr;
    QPushButton *deleteButton = nullptr;
    QPushButton *readAgain = nullptr;
};

#endif
