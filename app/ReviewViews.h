#ifndef REVIEWVIEWS_H
#define REVIEWVIEWS_H

#include <QObject>
#include <QString>

struct ViewSettings;
class QAction;
class QWidget;
class ReadingSession;
class PoemPanel;
class HistoryWindow;

// The views of what was read beside the main window: the poem panel, which
// follows the session's cards, and the history window, whose Read again
// starts a session reading. Whether the panel is open, where it stands and
// when it reveals a card are kept in the view settings.
class ReviewViews : public QObject
{
    Q_OBJECT

public:
    // `window` owns the views; `view` outlives this object.
    // historyFolder: where the readings' histories are kept.
    ReviewViews(QWidget *window, ReadingSession *session, ViewSettings *view, QAction *panelAction,
                QAction *historyAction, const QString &historyFolder);

    // The main window was shown: the panel opens again if it was open.
    void windowShown();
    // Keeps the panel's place in the view settings before they are saved.
    void storePanelPlace();
    void showHistory();
    // Whether the card may be shown now (the panel's reveal choice, whether
    // the panel is open or not).
    bool revealed(int card) const;
    // The "card in the status line with the panel" switch, set from elsewhere
    // (the Practice dialog): the panel's switch follows.
    void setStatusCardWithPanel(bool on);

signals:
    // A view setting changed (the panel's reveal choices, whether it is open).
    void viewChanged();
    // The card being read may be shown from now on.
    void cardRevealed(int card);

private:
    // Brings a panel placed on a screen no longer there (or a wider one) back on screen.
    void keepPanelOnScreen();

    QWidget *window;
    ReadingSession *session;
    ViewSettings *view;
    QAction *panelAction;
    QString historyFolder;
    PoemPanel *panel; // a window of its own, owned by the main window
    HistoryWindow *history = nullptr; // made when first opened, owned by the main window
};

#endif
