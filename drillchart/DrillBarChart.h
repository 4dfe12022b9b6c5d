#ifndef DRILLBARCHART_H
#define DRILLBARCHART_H

#include "DrillChart.h"

class QChartView;

// The chart of recent drills drawn with Qt Charts: each card's median
// reaction against the left axis, its faults and misses against the right.
class DrillBarChart final : public DrillChart
{
public:
    explicit DrillBarChart(QWidget *parent);

    void showBars(const DrillChartTexts &texts, const QList<DrillChartBar> &bars) override;

private:
    QChartView *view = nullptr;
};

#endif
