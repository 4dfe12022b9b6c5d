#ifndef TIMINGTABLE_H
#define TIMINGTABLE_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// The mora timing of a voice (timing.tsv beside its verse files): for each
// verse file the end of every mora of its reading, in milliseconds from the
// file's start. UTF-8, tab-separated, header "card half ends_ms", the ends
// comma-separated and rising. Rows that do not fit are skipped.
class TimingTable
{
public:
    static constexpr char FileName[] = "timing.tsv";

    static TimingTable parse(const QByteArray &tsv);
    // A missing or unreadable file gives an empty table.
    static TimingTable load(const QString &path);

    bool isEmpty() const { return table.isEmpty(); }
    int size() const { return static_cast<int>(table.size()); }
    // Empty when the verse has no row.
    QList<qint64> ends(int card, int half) const { return table.value(key(card, half)); }

    // How many morae the first `kanaCount` kana of `sounds` reach into: a small
    // ゃ, ゅ or ょ belongs to the mora before it, so "きょ" is one mora.
    static int moraeOf(const QString &sounds, int kanaCount);

    // When the first `kanaCount` kana of the verse have finished sounding,
    // in ms from the start of its file; nullopt when the ends do not reach.
    static std::optional<qint64> endOfKana(const QList<qint64> &ends, const QString &sounds,
                                           int kanaCount);

    // A moment in a verse file as it is heard: the lead cut off by trimming
    // removed, then stretched by the reading speed (2.0 plays twice as fast).
    static qint64 toPlayedMs(qint64 fileMs, qint64 trimmedLeadMs, double speed);

private:
    static int key(int card, int half) { return card * 10 + half; }

    QHash<int, QList<qint64>> table;
};

#endif
