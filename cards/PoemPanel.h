#ifndef POEMPANEL_H
#define POEMPANEL_H

#include "CardReveal.h"
#include "KimarijiChanges.h"
#include "ViewSettings.h"

#include <QList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;

// A window beside the main window showing the card read last: number, poet,
// the poem, its reading with the deciding part marked, the static and the
// current deciding syllables, the cards in play whose deciding syllables its
// reading shortened, and the colour group. When the card appears follows the
// reveal option (CardReveal); it then stays until the next one appears. The
// panel is sized once for the longest poem, so no text is cut and its size
// does not change from card to card.
class PoemPanel : public QWidget
{
    Q_OBJECT

public:
    explicit PoemPanel(QWidget *parent = nullptr);

    ViewSettings::PoemReveal reveal() const { return cards.option(); }
    void setReveal(ViewSettings::PoemReveal option);
    // The first show gives every label its room first (see reserveRoomForEveryCard).
    void setVisible(bool visible) override;
    // The choice beside the reveal option: the status line's card part
    // appears when the panel shows the card. The panel only offers it.
    bool statusCardWithPanel() const;
    void setStatusCardWithPanel(bool on);

    // The reading's moments. currentLength: how many kana of the card's
    // reading decided it when it was read; changes: the cards in play it
    // shortened, shown together with the card.
    void readingStarted();
    void upperStarted(int card, int currentLength);
    void upperStarted(int card, int currentLength, const QList<KimarijiChange> &changes);
    void lowerEnded();
    void readingOver();
    // Which card the panel shows at this moment of the reading; the status
    // line's card part may follow it.
    const CardReveal &cardReveal() const { return cards; }

    // Shows a card now, whatever the option; 0 clears the panel.
    void showCard(int card, int currentLength);
    void showCard(int card, int currentLength, const QList<KimarijiChange> &changes);
    int shownCard() const { return shown; }

signals:
    void revealChanged(ViewSettings::PoemReveal option);
    void statusCardWithPanelChanged(bool on);
    void visibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void showRevealed();
    // Gives every label room for the widest and tallest text any card puts
    // there, so no card is cut and the panel keeps its size. Laying out
    // every card's texts takes a good part of a second: it waits for the
    // panel's first showing, which most runs of the program never ask for.
    void reserveRoomForEveryCard();

    CardReveal cards;
    int pendingCard = 0;
    int pendingLength = 0;
    QList<KimarijiChange> pendingChanges;
    int shown = 0;
    bool roomReserved = false;
    QComboBox *revealBox = nullptr;
    QCheckBox *statusCardBox = nullptr;
    QLabel *title = nullptr;
    QLabel *poem = nullptr;
    QLabel *reading = nullptr;
    QLabel *kimariji = nullptr;
    QLabel *changed = nullptr;
    QLabel *colour = nullptr;
};

#endif
