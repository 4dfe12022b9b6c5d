#include "ReadingStatusLine.h"

#include "PoemTable.h"
#include "ReadingSession.h"
#include "ReviewViews.h"
#include "ViewSettings.h"

#include <QStatusBar>

ReadingStatusLine::ReadingStatusLine(QStatusBar *bar, ReadingSession *session, ReviewViews *views,
                                     const ViewSettings *view)
    : QObject(bar)
    , bar(bar)
    , session(session)
    , views(views)
    , view(view)
{
    connect(session, &ReadingSession::startRefused, this, [bar](ReadingSession::Refusal reason) {
        bar->showMessage(reason == ReadingSession::Refusal::NoOutput
                             ? tr("音声出力を開けません")
                             : tr("札が選択されていないので再生できません"));
    });
    connect(session, &ReadingSession::historyNotSaved, this, [bar](const QString &folder) {
        bar->showMessage(tr("履歴を保存できませんでした: %1").arg(folder));
    });
    connect(views, &ReviewViews::cardRevealed, this, [this](int card) {
        if (this->session->isReading() && this->view->statusCardWithPanel)
            cardStarted(card);
    });
}

void ReadingStatusLine::cardStarted(int card)
{
    const QString count = QString::number(session->playCount());
    const QString total = QString::number(session->cardCount());
    const bool cardHidden = view->statusCardWithPanel && !views->revealed(card);
    if (session->isEndless()) {
        // The round first: an endless reading's count starts over each round.
        const QString round = QString::number(session->round());
        if (cardHidden)
            bar->showMessage(tr("%1巡目 %2 / %3 再生中").arg(round, count, total));
        else
            bar->showMessage(tr("%1巡目 %2 / %3 再生中 : 第%4首 %5")
                                 .arg(round, count, total, QString::number(card),
                                      PoemTable::firstPhrase(card)));
        return;
    }
    if (cardHidden)
        bar->showMessage(tr("%1 / %2 再生中").arg(count, total));
    else
        bar->showMessage(
            tr("%1 / %2 再生中 : 第%3首 %4")
                .arg(count, total, QString::number(card), PoemTable::firstPhrase(card)));
}

void ReadingStatusLine::readingEnded()
{
    bar->clearMessage();
}
