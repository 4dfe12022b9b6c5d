#include "DrillRounds.h"

#include <QRandomGenerator>

#include <algorithm>

namespace {

constexpr int Upper = 1;
constexpr int Lower = 2;
constexpr int LongestVerse = 64; // longer than any upper verse, in kana

void shuffle(QList<int> &cards, QRandomGenerator &random)
{
    for (qsizetype i = cards.size() - 1; i > 0; --i)
        cards.swapItemsAt(i, random.bounded(static_cast<int>(i + 1)));
}

} // namespace

DrillDeal DrillDeal::draw(const QList<int> &candidates, int count, int deadCount,
                          QRandomGenerator &random)
{
    QList<int> pool;
    for (int card : candidates) {
        if (card >= 1 && card <= 100 && !pool.contains(card))
            pool.append(card);
    }
    shuffle(pool, random);
    DrillDeal deal;
    deal.field = pool.mid(0, std::max(count, 0));

    QList<int> others;
    for (int card = 1; card <= 100; ++card) {
        if (!deal.field.contains(card))
            others.append(card);
    }
    shuffle(others, random);
    for (int card : others.mid(0, std::max(deadCount, 0)))
        deal.dead.insert(card);

    deal.order = deal.field;
    for (int card : others.mid(0, std::max(deadCount, 0)))
        deal.order.append(card);
    shuffle(deal.order, random);
    return deal;
}

DrillRounds::DrillRounds(KimarijiModel kimarijiModel, TimingTable timingTable, DrillDeal deal,
                         qint64 limitMs)
    : kimariji(std::move(kimarijiModel))
    , timing(std::move(timingTable))
    , cards(std::move(deal))
    , limit(limitMs)
    , field(cards.field)
{
    const QSet<int> selected(cards.field.cbegin(), cards.field.cend());
    kimariji.reset(KimarijiModel::unreadAtStart(selected, !cards.dead.isEmpty()));
    if (field.isEmpty() || cards.order.isEmpty())
        finished = true;
    else
        due = DrillVerse {cards.order.first(), Upper, 0};
}

void DrillRounds::setPauses(int beforeLowerMs, int beforeNextMs)
{
    upperPauseMs = std::max(beforeLowerMs, 0);
    nextPauseMs = std::max(beforeNextMs, 0);
}

std::optional<DrillVerse> DrillRounds::takeDueVerse()
{
    std::optional<DrillVerse> verse;
    std::swap(verse, due);
    return verse;
}

std::optional<qint64> DrillRounds::stopOf(const DrillVerse &verse) const
{
    if (!listeningOnly || verse.half != Upper)
        return std::nullopt;
    // The syllables that decide now: the card is marked read once it sounds.
    const int card = verse.card;
    return TimingTable::endOfKana(timing.ends(card, Upper), kimariji.opening(card, LongestVerse),
                                  kimariji.currentLength(card));
}

int DrillRounds::currentCard() const
{
    return finished ? 0 : cards.order.value(index);
}

void DrillRounds::verseStarted(int card, int half, qint64 startMs, qint64 trimmedLeadMs,
                               double speed)
{
    if (finished || card != currentCard() || half != Upper || roundClosed)
        return;
    if (!roundOpen) {
        // The deciding syllables of this moment, before the card stops competing.
        const int length = kimariji.currentLength(card);
        kimarijiNow = kimariji.opening(card, length);
        kimariji.markRead(card);
        roundOpen = true;
    }
    upperEnded = false;
    const QString sounds = kimariji.opening(card, LongestVerse);
    const std::optional<qint64> heard = TimingTable::endOfKana(
        timing.ends(card, Upper), sounds, static_cast<int>(kimarijiNow.size()));
    reference = heard ? DrillReference::Kimariji : DrillReference::Verse;
    referenceMs = startMs + (heard ? TimingTable::toPlayedMs(*heard, trimmedLeadMs, speed) : 0);
}

void DrillRounds::verseEnded(int card, int half)
{
    if (finished || card != currentCard())
        return;
    if (half == Upper) {
        upperEnded = true;
        if (lastRoundClosed) {
            finished = true;
            return;
        }
        if (roundClosed)
            due = DrillVerse {card, Lower, upperPauseMs};
    } else if (half == Lower && roundClosed) {
        advance();
    }
}

std::optional<DrillRoundEnd> DrillRounds::take(int card, qint64 atMs)
{
    if (!roundOpen || !referenceMs || !field.contains(card))
        return std::nullopt;
    const qint64 reaction = atMs - *referenceMs;
    const bool right = card == currentCard();
    return closeRound(right ? DrillResult::Taken : DrillResult::Fault, card, reaction);
}

std::optional<qint64> DrillRounds::deadlineMs() const
{
    if (!roundOpen || !referenceMs)
        return std::nullopt;
    return *referenceMs + limit;
}

std::optional<DrillRoundEnd> DrillRounds::expire(qint64 nowMs)
{
    const std::optional<qint64> deadline = deadlineMs();
    if (!deadline || nowMs < *deadline)
        return std::nullopt;
    return giveUp();
}

std::optional<DrillRoundEnd> DrillRounds::giveUp()
{
    if (!roundOpen)
        return std::nullopt;
    const bool dead = cards.dead.contains(currentCard());
    return closeRound(dead ? DrillResult::Passed : DrillResult::Missed, 0, std::nullopt);
}

void DrillRounds::stop()
{
    finished = true;
    roundOpen = false;
    due.reset();
}

DrillRoundEnd DrillRounds::closeRound(DrillResult result, int touched,
                                      std::optional<qint64> reactionMs)
{
    const int card = currentCard();
    DrillRoundEnd end;
    end.touched = touched;
    end.staticKimariji = kimariji.opening(card, kimariji.staticLength(card));
    end.row.position = static_cast<int>(done.size()) + 1;
    end.row.card = card;
    end.row.dead = cards.dead.contains(card);
    end.row.kimariji = kimarijiNow;
    end.row.reference = reference;
    end.row.reactionMs = reactionMs;
    end.row.result = result;
    if (const auto lay = fieldRows.constFind(card); lay != fieldRows.cend() && !end.row.dead)
        end.row.place = *lay;
    done.append(end.row);

    field.removeOne(card); // taken, faulted or missed: it is not read again
    roundOpen = false;
    roundClosed = true;
    if (field.isEmpty()) {
        // The last take lets its verse finish rather than cutting it mid-word.
        if (upperEnded)
            finished = true;
        else
            lastRoundClosed = true;
    } else if (upperEnded)
        due = DrillVerse {card, Lower, upperPauseMs};
    return end;
}

void DrillRounds::advance()
{
    ++index;
    roundOpen = false;
    roundClosed = false;
    upperEnded = false;
    referenceMs.reset();
    kimarijiNow.clear();
    if (index >= cards.order.size()) {
        finished = true;
        return;
    }
    due = DrillVerse {cards.order.at(index), Upper, nextPauseMs};
}
