#include "KimarijiChanges.h"

#include "CardCatalog.h"
#include "KimarijiModel.h"
#include "ReadingHistory.h"

#include <algorithm>

namespace KimarijiChanges {

QList<KimarijiChange> whenRead(const KimarijiModel &model, int read, const QSet<int> &inPlay)
{
    const QSet<int> &before = model.unread();
    QSet<int> after = before;
    after.remove(read);
    QList<KimarijiChange> changes;
    for (int card : inPlay) {
        if (card == read || !after.contains(card))
            continue;
        const KimarijiChange change {card, model.lengthAmong(card, before),
                                     model.lengthAmong(card, after)};
        if (change.after < change.before)
            changes.append(change);
    }
    std::sort(changes.begin(), changes.end(),
              [](const KimarijiChange &a, const KimarijiChange &b) { return a.card < b.card; });
    return changes;
}

QList<QList<KimarijiChange>> ofHistory(const KimarijiModel &model,
                                       const QList<HistoryEntry> &entries)
{
    QSet<int> inPlay;
    bool deadMixedIn = false;
    for (const HistoryEntry &entry : entries) {
        if (entry.dead)
            deadMixedIn = true;
        else
            inPlay.insert(entry.card);
    }
    return ofHistory(model, entries, HistoryStart {inPlay, deadMixedIn});
}

QList<QList<KimarijiChange>> ofHistory(const KimarijiModel &model,
                                       const QList<HistoryEntry> &entries,
                                       const HistoryStart &start)
{
    KimarijiModel walk = model;
    walk.reset(KimarijiModel::unreadAtStart(start.inPlay, start.deadMixedIn));
    QSet<int> inPlay = start.inPlay;
    QList<QList<KimarijiChange>> all;
    for (const HistoryEntry &entry : entries) {
        inPlay.remove(entry.card);
        all.append(whenRead(walk, entry.card, inPlay));
        walk.markRead(entry.card);
    }
    return all;
}

QString describe(const KimarijiChange &change, const CardCatalog &catalog)
{
    const QString kimariji = catalog.card(change.card).kimariji;
    return QStringLiteral("%1 %2 → %3")
        .arg(QString::number(change.card), kimariji.left(change.before),
             kimariji.left(change.after));
}

QString describe(const QList<KimarijiChange> &changes, const CardCatalog &catalog)
{
    QStringList parts;
    for (const KimarijiChange &change : changes)
        parts.append(describe(change, catalog));
    return parts.join(QStringLiteral("、"));
}

} // namespace KimarijiChanges
