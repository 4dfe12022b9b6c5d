#ifndef READINGSTATUSLINE_H
#define READINGSTATUSLINE_H

#include <QObject>

struct ViewSettings;
class QStatusBar;
class ReadingSession;
class ReviewViews;

// What the status bar says of a reading: "n / N" (led by the round in an
// endless reading) with the card being read (held back, when the player asks
// for it, until the poem panel may show the card), nothing once it is over,
// and why a start did nothing or the history was not kept.
class ReadingStatusLine : public QObject
{
    Q_OBJECT

public:
    // Everything given outlives this object; `bar` owns it.
    ReadingStatusLine(QStatusBar *bar, ReadingSession *session, ReviewViews *views,
                      const ViewSettings *view);

    // The upper verse of a card began.
    void cardStarted(int card);
    void readingEnded();

private:
    QStatusBar *bar;
    ReadingSession *session;
    ReviewViews *views;
    const ViewSettings *view;
};

#endif
