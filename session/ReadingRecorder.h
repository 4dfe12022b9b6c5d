#ifndef READINGRECORDER_H
#define READINGRECORDER_H

#include "KimarijiChanges.h"
#include "KimarijiModel.h"
#include "ReadingHistory.h"

#include <QDateTime>
#include <QList>
#include <QSet>

class CardCatalog;

// What a reading leaves behind: one history row per card read, with the
// deciding syllables the card had at that moment, which shorten as cards
// are read. The caller says when each card was read.
class ReadingRecorder
{
public:
    explicit ReadingRecorder(const CardCatalog &catalog);

    // A new reading of this order (a leading 0 is the preamble), `dead` the
    // cards among them that are not on the tatami.
    void begin(const QList<int> &playList, const QSet<int> &dead, const QDateTime &startedLocal);
    // A card as it was read: how many kana of its reading decided it, and
    // the cards in play whose deciding syllables it shortened.
    struct CardRead
    {
        int kimarijiLength = 0;
        QList<KimarijiChange> changes;
    };
    // Records a card read `elapsedMs` after the start.
    CardRead cardRead(int card, qint64 elapsedMs);
    // Writes the reading into the history folder (nothing when no card was
    // read), marked as stopped early when not every card was read, and
    // forgets it.
    ReadingHistory::SaveResult finish(const QString &historyFolder);

    const QList<HistoryEntry> &entries() const { return record; }
    const KimarijiModel &kimariji() const { return model; }

private:
    const CardCatalog &catalog;
    KimarijiModel model;
    QSet<int> deadCards;
    QSet<int> inPlay; // the selected cards not yet read
    HistoryStart start; // what the deciding syllables started from
    int cardCount = 0; // every card of the reading but the preamble
    QList<HistoryEntry> record;
    QDateTime startedAt;
};

#endif
