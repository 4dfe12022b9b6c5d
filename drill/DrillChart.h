#ifndef DRILLCHART_H
#define DRILLCHART_H

#include <QList>
#include <QString>
#include <QWidget>

// One card of the chart of recent drills: its name on the axis, its median
// reaction and how often it was missed or faulted.
struct DrillChartBar
{
    QString label;
    qint64 medianMs = 0;
    int errors = 0;
};

// The chart's words, translated by the drill window's side.
struct DrillChartTexts
{
    QString title;
    QString medians;
    QString errors;
};

// The chart of recent drills as the drill window sees it: a widget given
// plain numbers. What draws it lives in a module loaded when the chart first
// shows (see DrillChartLoader), so it gets nothing of the drill's models and
// its words come ready translated.
class DrillChart : public QWidget
{
public:
    using QWidget::QWidget;

    virtual void showBars(const DrillChartTexts &texts, const QList<DrillChartBar> &bars) = 0;
};

// The module's one entry point: a new chart owned by parent. The number in
// the name changes whenever DrillChart or the bars change, so a module left
// from another version is refused instead of called.
#define QTUTAKAZE_DRILLCHART_FACTORY qtutakaze_drillchart_make_1
using DrillChartFactory = DrillChart *(*)(QWidget *parent);

#endif
