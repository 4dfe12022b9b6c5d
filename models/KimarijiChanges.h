#ifndef KIMARIJICHANGES_H
#define KIMARIJICHANGES_H

#include <QList>
#include <QSet>
#include <QString>

class CardCatalog;
class KimarijiModel;
struct HistoryEntry;
struct HistoryStart;

// A card in play whose deciding syllables got shorter because another card
// was read: from `before` kana to `after`.
struct KimarijiChange
{
    int card = 0;
    int before = 0;
    int after = 0;

    bool operator==(const KimarijiChange &other) const = default;
};

// Which deciding syllables a reading shortens, card by card. Every unread
// card competes (dead ones included, as the model says); only the cards in
// play (selected, not dead, not yet read) are listed, by card number.
namespace KimarijiChanges {

// The changes when `read` is read now: `model.unread()` still holds it.
QList<KimarijiChange> whenRead(const KimarijiModel &model, int read, const QSet<int> &inPlay);

// One list per entry of a past reading, in its order. The cards in play are
// its rows that are not dead; the unread cards at its start are as
// KimarijiModel::unreadAtStart says. A reading stopped early does not list
// its unread selected cards, so they neither compete nor show there.
QList<QList<KimarijiChange>> ofHistory(const KimarijiModel &model,
                                       const QList<HistoryEntry> &entries);
// The same from what the reading started from, as the live reading had it
// (a reading stopped early keeps it beside its rows).
QList<QList<KimarijiChange>> ofHistory(const KimarijiModel &model,
                                       const QList<HistoryEntry> &entries,
                                       const HistoryStart &start);

// "74 うか → う", with the deciding syllables as official lists print them;
// several joined by "、".
QString describe(const KimarijiChange &change, const CardCatalog &catalog);
QString describe(const QList<KimarijiChange> &changes, const CardCatalog &catalog);

} // namespace KimarijiChanges

#endif
