#ifndef POEMPANEL_H
#define POEMPANEL_H

#include "ViewSettings.h"

#include <QWidget>

class QComboBox;
class QLabel;

// A window beside the main window showing the card read last: number, poet,
// the poem, its reading with the deciding part marked, the static and the
// current deciding syllables and the colour group. When the card appears
// follows the reveal option (with the upper verse, after the lower verse, or
// only when the reading is over).
class PoemPanel : public QWidget
{
    Q_OBJECT

public:
    explicit PoemPanel(QWidget *parent = nullptr);

    ViewSettings::PoemReveal reveal() const { return revealOption; }
    void setReveal(ViewSettings::PoemReveal option);

    // The reading's moments. currentLength: how many kana of the card's
    // reading decided it when it was read.
    void readingStarted();
    void upperStarted(int card, int currentLength);
    void lowerEnded();
    void readingOver();

    // Shows a card now, whatever the option; 0 clears the panel.
    void showCard(int card, int currentLength);
    int shownCard() const { return shown; }

signals:
    void revealChanged(ViewSettings::PoemReveal option);
    void visibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void at(ViewSettings::ReadingMoment moment);

    ViewSettings::PoemReveal revealOption = ViewSettings::PoemReveal::AfterLower;
    int pendingCard = 0;
    int pendingLength = 0;
    int shown = 0;
    QComboBox *revealBox = nullptr;
    QLabel *title = nullptr;
    QLabel *poem = nullptr;
    QLabel *reading = nullptr;
    QLabel *kimariji = nullptr;
    QLabel *colour = nullptr;
};

#endif
