#include "ReadingRecorder.h"

#include "CardCatalog.h"

ReadingRecorder::ReadingRecorder(const CardCatalog &catalog)
    : catalog(catalog)
    , model(KimarijiModel::fromCatalog(catalog))
{
}

void ReadingRecorder::begin(const QList<int> &playList, const QSet<int> &dead,
                            const QDateTime &startedLocal)
{
    record.clear();
    deadCards = dead;
    startedAt = startedLocal;
    QSet<int> selected;
    for (int card : playList) {
        if (card != 0 && !dead.contains(card))
            selected.insert(card);
    }
    model.reset(KimarijiModel::unreadAtStart(selected, !dead.isEmpty()));
}

int ReadingRecorder::cardRead(int card, qint64 elapsedMs)
{
    const int length = model.currentLength(card);
    model.markRead(card);
    HistoryEntry entry;
    entry.position = static_cast<int>(record.size()) + 1;
    entry.card = card;
    entry.dead = deadCards.contains(card);
    entry.kimariji = catalog.card(card).kimariji.left(length);
    entry.startedMs = elapsedMs;
    record.append(entry);
    return length;
}

ReadingHistory::SaveResult ReadingRecorder::finish(const QString &historyFolder)
{
    const ReadingHistory history(historyFolder);
    const ReadingHistory::SaveResult result = history.save(startedAt, record);
    record.clear();
    deadCards.clear();
    return result;
}
