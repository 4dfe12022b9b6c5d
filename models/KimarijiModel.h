#ifndef KIMARIJIMODEL_H
#define KIMARIJIMODEL_H

#include <QHash>
#include <QSet>
#include <QString>

class CardCatalog;

// Deciding syllables as a reading goes: a card is decided by the shortest
// opening of its upper verse, by sound, that no other card still unread
// shares. Openings are compared on the kana reading with おう heard as おお
// (card 44 against 60 and 95). Pure: the caller says which cards are unread
// and which have been read.
class KimarijiModel
{
public:
    // Upper verses by card, as kana sounds (see CardInfo::upperSounds()).
    explicit KimarijiModel(const QHash<int, QString> &upperSounds);
    static KimarijiModel fromCatalog(const CardCatalog &catalog);

    // The cards still unread at the start of a reading. Without dead cards
    // these are the selected cards; with dead cards mixed in, every card of
    // the hundred (the players cannot tell which are dead).
    void reset(const QSet<int> &unread);
    static QSet<int> unreadAtStart(const QSet<int> &selected, bool deadCardsMixedIn);
    void markRead(int card) { unreadCards.remove(card); }
    const QSet<int> &unread() const { return unreadCards; }

    // How many kana of the card's reading decide it against the unread cards
    // other than itself: at least 1, at most its whole upper verse; 0 for an
    // unknown card.
    int currentLength(int card) const;
    // The same against all the other cards: the static deciding syllables.
    int staticLength(int card) const;
    // The same against the cards of `unread` other than itself.
    int lengthAmong(int card, const QSet<int> &unread) const;

    // The first `length` kana of a card's reading.
    QString opening(int card, int length) const;

    // The deciding length of `sounds` against `rivals`, both as given.
    static int decidingLength(const QString &sounds, const QList<QString> &rivals);
    // The form openings are compared in: おう as おお.
    static QString soundKey(const QString &sounds);

private:
    QHash<int, QString> keys; // compared form
    QHash<int, QString> readings; // as given
    QSet<int> unreadCards;
};

#endif
