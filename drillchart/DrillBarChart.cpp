#include "DrillBarChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

extern "C" Q_DECL_EXPORT DrillChart *QTUTAKAZE_DRILLCHART_FACTORY(QWidget *parent)
{
    return new DrillBarChart(parent);
}

DrillBarChart::DrillBarChart(QWidget *parent)
    : DrillChart(parent)
    , view(new QChartView(this))
{
    view->setRenderHint(QPainter::Antialiasing);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
}

void DrillBarChart::showBars(const DrillChartTexts &texts, const QList<DrillChartBar> &bars)
{
    auto *medians = new QBarSet(texts.medians);
    auto *faults = new QBarSet(texts.errors);
    QStringList labels;
    qint64 slowest = 100;
    int mostErrors = 1;
    for (const DrillChartBar &bar : bars) {
        labels.append(bar.label);
        medians->append(static_cast<qreal>(bar.medianMs));
        faults->append(bar.errors);
        slowest = std::max(slowest, bar.medianMs);
        mostErrors = std::max(mostErrors, bar.errors);
    }
    auto *chartModel = new QChart;
    auto *timeSeries = new QBarSeries;
    timeSeries->append(medians);
    auto *faultSeries = new QBarSeries;
    faultSeries->append(faults);
    chartModel->addSeries(timeSeries);
    chartModel->addSeries(faultSeries);
    auto *cardsAxis = new QBarCategoryAxis;
    cardsAxis->append(labels);
    cardsAxis->setLabelsAngle(-90); // twenty labels of up to six kana side by side
    auto *msAxis = new QValueAxis;
    msAxis->setRange(0, static_cast<qreal>(slowest));
    msAxis->setLabelFormat(QStringLiteral("%d"));
    msAxis->applyNiceNumbers();
    // Counts are whole: a tick on every whole number (every few past ten),
    // so no label repeats as a fraction rounded.
    const int countStep = std::max(1, (mostErrors + 9) / 10);
    const int countTop = (mostErrors + countStep - 1) / countStep * countStep;
    auto *countAxis = new QValueAxis;
    countAxis->setRange(0, countTop);
    countAxis->setTickType(QValueAxis::TicksDynamic);
    countAxis->setTickAnchor(0);
    countAxis->setTickInterval(countStep);
    countAxis->setMinorTickCount(0);
    countAxis->setLabelFormat(QStringLiteral("%d"));
    chartModel->addAxis(cardsAxis, Qt::AlignBottom);
    chartModel->addAxis(msAxis, Qt::AlignLeft);
    chartModel->addAxis(countAxis, Qt::AlignRight);
    timeSeries->attachAxis(cardsAxis);
    timeSeries->attachAxis(msAxis);
    faultSeries->attachAxis(cardsAxis);
    faultSeries->attachAxis(countAxis);
    chartModel->setTitle(texts.title);
    QChart *old = view->chart();
    view->setChart(chartModel); // the view owns the new chart
    delete old;
}
