#ifndef DRILLRESULTSVIEW_H
#define DRILLRESULTSVIEW_H

#include "DrillChart.h"
#include "DrillRecord.h"

#include <QList>
#include <QObject>

class DrillStatistics;
class QLabel;
class QWidget;

// What the recent drills say, shown between drills: the chart of the cards
// that went worst, the score line of the drill just finished and the median
// reaction by side and row. The statistics and the score decide; this only
// draws them. Its three widgets belong to the window, which places them
// (the chart shares the field's place, the table sits beside the setup).
// The chart is made the first time the window asks for it (its drawing is
// loaded then); until then its bars wait here.
class DrillResultsView : public QObject
{
    Q_OBJECT

public:
    static constexpr int ChartCards = 20;

    explicit DrillResultsView(QWidget *window);

    DrillChart *chart();
    QLabel *score() const { return scoreLine; }
    QLabel *placeStatistics() const { return placeTable; }

    // The chart and the table of places, from the recent drills.
    void showStatistics(const DrillStatistics &stats);
    // The score of the drill just finished, compared with the one before it
    // (recent: the newest drills of the record, the finished one first).
    void showScore(const QList<DrillRow> &rows, const QList<QList<DrillRow>> &recent);
    void clearScore();

private:
    void showChart(const DrillStatistics &stats);
    void drawChart();
    void showPlaces(const DrillStatistics &stats);

    QWidget *chartParent = nullptr; // the window
    DrillChart *chartView = nullptr;
    QList<DrillChartBar> chartBars; // the cards that went worst, worst first
    QLabel *scoreLine = nullptr;
    QLabel *placeTable = nullptr; // median reaction by side and row
};

#endif
