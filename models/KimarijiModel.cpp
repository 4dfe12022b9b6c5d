#include "KimarijiModel.h"

#include "CardCatalog.h"

#include <algorithm>

KimarijiModel::KimarijiModel(const QHash<int, QString> &upperSounds)
    : readings(upperSounds)
{
    for (auto it = upperSounds.cbegin(); it != upperSounds.cend(); ++it)
        keys.insert(it.key(), soundKey(it.value()));
}

KimarijiModel KimarijiModel::fromCatalog(const CardCatalog &catalog)
{
    QHash<int, QString> sounds;
    for (int number : catalog.numbers())
        sounds.insert(number, catalog.card(number).upperSounds());
    return KimarijiModel(sounds);
}

void KimarijiModel::reset(const QSet<int> &unread)
{
    unreadCards = unread;
}

QSet<int> KimarijiModel::unreadAtStart(const QSet<int> &selected, bool deadCardsMixedIn)
{
    if (!deadCardsMixedIn)
        return selected;
    QSet<int> all;
    for (int card = 1; card <= 100; ++card)
        all.insert(card);
    return all;
}

int KimarijiModel::currentLength(int card) const
{
    return lengthAmong(card, unreadCards);
}

int KimarijiModel::staticLength(int card) const
{
    const QList<int> all = keys.keys();
    return lengthAmong(card, QSet<int>(all.cbegin(), all.cend()));
}

QString KimarijiModel::opening(int card, int length) const
{
    return readings.value(card).left(length);
}

int KimarijiModel::lengthAmong(int card, const QSet<int> &others) const
{
    if (!keys.contains(card))
        return 0;
    QList<QString> rivals;
    for (int other : others) {
        if (other != card && keys.contains(other))
            rivals.append(keys.value(other));
    }
    return decidingLength(keys.value(card), rivals);
}

int KimarijiModel::decidingLength(const QString &sounds, const QList<QString> &rivals)
{
    if (sounds.isEmpty())
        return 0;
    // One kana past the longest opening shared with any rival.
    qsizetype shared = 0;
    for (const QString &rival : rivals) {
        const auto limit = std::min(sounds.size(), rival.size());
        qsizetype common = 0;
        while (common < limit && sounds.at(common) == rival.at(common))
            ++common;
        shared = std::max(shared, common);
    }
    return static_cast<int>(std::min(shared + 1, sounds.size()));
}

QString KimarijiModel::soundKey(const QString &sounds)
{
    QString key = sounds;
    key.replace(QStringLiteral("おう"), QStringLiteral("おお"));
    return key;
}
