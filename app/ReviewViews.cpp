#include "ReviewViews.h"

#include "HistoryWindow.h"
#include "PoemPanel.h"
#include "ReadingSession.h"
#include "ViewSettings.h"

#include "ScreenFit.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

ReviewViews::ReviewViews(QWidget *window, ReadingSession *session, ViewSettings *view,
                         QAction *panelAction, QAction *historyAction, const QString &historyFolder)
    : QObject(window)
    , window(window)
    , session(session)
    , view(view)
    , panelAction(panelAction)
    , historyFolder(historyFolder)
    , panel(new PoemPanel(window))
{
    panel->setReveal(view->poemReveal);
    if (view->hasPoemPanelPos)
        panel->move(view->poemPanelPos);
    connect(panel, &PoemPanel::revealChanged, this, [this](ViewSettings::PoemReveal option) {
        this->view->poemReveal = option;
        emit viewChanged();
    });
    // Only the user's choice counts: windows hidden while closing down do not.
    connect(panel, &PoemPanel::visibilityChanged, this, [this](bool visible) {
        if (!this->window->isVisible())
            return;
        this->view->poemPanelOpen = visible;
        this->panelAction->setChecked(visible);
    });
    connect(panelAction, &QAction::toggled, this, [this](bool on) {
        if (on && !this->view->hasPoemPanelPos) {
            panel->move(this->window->frameGeometry().topRight() + QPoint(8, 0));
            this->view->hasPoemPanelPos = true;
        }
        if (on)
            keepPanelOnScreen();
        panel->setVisible(on);
    });
    connect(historyAction, &QAction::triggered, this, &ReviewViews::showHistory);

    connect(session, &ReadingSession::readingStarted, panel, &PoemPanel::readingStarted);
    panel->setStatusCardWithPanel(view->statusCardWithPanel);
    connect(panel, &PoemPanel::statusCardWithPanelChanged, this, [this](bool on) {
        this->view->statusCardWithPanel = on;
        emit viewChanged();
    });
    connect(session, &ReadingSession::cardRead, panel,
            [this](int card, int length, const QList<KimarijiChange> &changes) {
                panel->upperStarted(card, length, changes);
            });
    connect(session, &ReadingSession::lowerVerseEnded, this, [this] {
        panel->lowerEnded();
        if (panel->cardReveal().currentRevealed())
            emit cardRevealed(panel->cardReveal().current());
    });
    connect(session, &ReadingSession::readingEnded, panel, &PoemPanel::readingOver);
    // An endless reading's next round starts from every card again.
    connect(session, &ReadingSession::roundStarted, panel, &PoemPanel::readingStarted);
    const auto readingActive = [this](bool active) {
        if (!history)
            return;
        if (!active)
            history->refresh();
        history->setReadingActive(active);
    };
    connect(session, &ReadingSession::readingStarted, this,
            [readingActive] { readingActive(true); });
    connect(session, &ReadingSession::readingEnded, this,
            [readingActive] { readingActive(false); });
    // The round before is in the history by then.
    connect(session, &ReadingSession::roundStarted, this, [this] {
        if (history)
            history->refresh();
    });
}

void ReviewViews::setStatusCardWithPanel(bool on)
{
    // The panel's switch says it to the settings, as when it is clicked.
    panel->setStatusCardWithPanel(on);
}

void ReviewViews::keepPanelOnScreen()
{
    // The screen the panel was on, or else the main window's.
    const QRect frame = panel->frameGeometry();
    QScreen *screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = window->screen();
    if (!screen)
        return;
    const QRect fitted = keptOnScreen(frame, screen->availableGeometry());
    if (fitted == frame)
        return;
    panel->resize(panel->size() - (frame.size() - fitted.size()));
    panel->move(fitted.topLeft());
}

void ReviewViews::windowShown()
{
    if (view->poemPanelOpen && !panel->isVisible())
        panelAction->setChecked(true);
}

void ReviewViews::storePanelPlace()
{
    if (view->hasPoemPanelPos)
        view->poemPanelPos = panel->pos();
}

bool ReviewViews::revealed(int card) const
{
    return panel->cardReveal().revealed() == card;
}

void ReviewViews::showHistory()
{
    if (session->isReading())
        return;
    if (!history) {
        history = new HistoryWindow(historyFolder, window);
        connect(history, &HistoryWindow::readAgainRequested, session, &ReadingSession::readInOrder);
    }
    history->refresh();
    history->show();
    history->raise();
}
