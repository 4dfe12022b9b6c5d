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
    inPlay.clear();
    cardCount = 0;
    for (int card : playList) {
        if (card == 0)
            continue;
        ++cardCount;
        if (!dead.contains(card))
            inPlay.insert(card);
    }
    start = {inPlay, !dead.isEmpty()};
    model.reset(KimarijiModel::unreadAtStart(start.inPlay, start.deadMixedIn));
}

ReadingRecorder::CardRead ReadingRecorder::cardRead(int card, qint64 elapsedMs)
{
    const int length = model.currentLength(card);
    inPlay.remove(card);
    const QList<KimarijiChange> changes = KimarijiChanges::whenRead(model, card, inPlay);
    model.markRead(card);
    HistoryEntry entry;
    entry.position = static_cast<int>(record.size()) + 1;
    entry.card = card;
    entry.dead = deadCards.contains(card);
    entry.kimariji = catalog.card(card).kimariji.left(length);
    entry.startedMs = elapsedMs;
    record.append(entry);
    return {length, changes};
}

ReadingHistory::SaveResult ReadingRecorder::finish(const QString &historyFolder)
{
    const ReadingHistory history(historyFolder);
    const bool stoppedEarly = record.size() < cardCount;
    const ReadingHistory::SaveResult result = history.save(startedAt, record, stoppedEarly, start);
    record.clear();
    deadCards.clear();
    return result;
}
