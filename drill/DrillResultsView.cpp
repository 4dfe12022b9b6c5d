#include "DrillResultsView.h"

#include "CardCatalog.h"
#include "DrillChartLoader.h"
#include "DrillFieldLayout.h"
#include "DrillScore.h"
#include "DrillStatistics.h"
#include "KimarijiModel.h"

#include <QLabel>

#include <algorithm>

namespace {

QString signedNumber(qint64 value)
{
    return value > 0 ? QStringLiteral("+%1").arg(value) : QString::number(value);
}

} // namespace

DrillResultsView::DrillResultsView(QWidget *window)
    : QObject(window)
    , chartParent(window)
{
    placeTable = new QLabel(window);
    placeTable->setObjectName(QStringLiteral("drillPlaceStatistics"));
    scoreLine = new QLabel(window);
    scoreLine->setObjectName(QStringLiteral("drillScore"));
    scoreLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

DrillChart *DrillResultsView::chart()
{
    if (!chartView) {
        chartView = DrillChartLoader::make(chartParent);
        drawChart();
    }
    return chartView;
}

void DrillResultsView::showScore(const QList<DrillRow> &rows, const QList<QList<DrillRow>> &recent)
{
    const DrillScore result = DrillScore::of(rows);
    if (result.isEmpty()) {
        scoreLine->clear();
        return;
    }
    const QString none = tr("—");
    const auto ms = [&none](const std::optional<qint64> &value) {
        return value ? QString::number(*value) : none;
    };
    QString line = tr("取り %1 / お手つき %2 / 取れず %3 / 反応の中央値 %4 ミリ秒 / 最速 %5 ミリ秒")
                       .arg(result.taken)
                       .arg(result.faults)
                       .arg(result.misses)
                       .arg(ms(result.medianMs), ms(result.bestMs));
    if (const std::optional<DrillScore::Change> change = DrillScore::lastChange(recent)) {
        line += QLatin1Char('\n')
            + tr("前回から: 取り %1 / お手つき %2 / 取れず %3 / 中央値 %4 ミリ秒")
                  .arg(signedNumber(change->taken), signedNumber(change->faults),
                       signedNumber(change->misses),
                       change->medianMs ? signedNumber(*change->medianMs) : none);
    }
    scoreLine->setText(line);
}

void DrillResultsView::clearScore()
{
    scoreLine->clear();
}

void DrillResultsView::showStatistics(const DrillStatistics &stats)
{
    showPlaces(stats);
    showChart(stats);
}

void DrillResultsView::showChart(const DrillStatistics &stats)
{
    chartBars.clear();
    const KimarijiModel kimariji = KimarijiModel::fromCatalog(CardCatalog::builtIn());
    for (const CardDrillStats &card : stats.cards().mid(0, ChartCards)) {
        DrillChartBar bar;
        // A player knows a card by its deciding syllables sooner than by its number.
        bar.label = tr("%1 %2").arg(card.card).arg(
            kimariji.opening(card.card, kimariji.staticLength(card.card)));
        bar.medianMs = std::max<qint64>(card.medianReactionMs.value_or(0), 0);
        bar.errors = card.faults + card.misses;
        chartBars.append(bar);
    }
    if (chartView)
        drawChart();
}

void DrillResultsView::drawChart()
{
    const DrillChartTexts texts {tr("最近の練習 (苦手な札から)"), tr("反応の中央値 (ミリ秒)"),
                                 tr("お手つきと取れなかった回数")};
    chartView->showBars(texts, chartBars);
}

void DrillResultsView::showPlaces(const DrillStatistics &stats)
{
    if (stats.places().isEmpty()) {
        placeTable->clear();
        return;
    }
    // A row a side, as the field lies: the opponent's back row to the left.
    QString table = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\"><tr><th>%1</th>")
                        .arg(tr("反応の中央値"));
    const QStringList rowNames {tr("上段"), tr("中段"), tr("下段")};
    for (const QString &name : rowNames)
        table += QStringLiteral("<th>%1</th>").arg(name);
    table += QStringLiteral("</tr>");
    for (FieldSide side : {FieldSide::Opponent, FieldSide::Own}) {
        table +=
            QStringLiteral("<tr><td>%1</td>").arg(side == FieldSide::Own ? tr("自陣") : tr("敵陣"));
        for (int row = 1; row <= DrillFieldLayout::Rows; ++row) {
            QString cell;
            for (const PlaceDrillStats &place : stats.places()) {
                if (place.place == FieldRow {side, row} && place.medianReactionMs)
                    cell =
                        tr("%1 ミリ秒 (%n回)", nullptr, place.takes).arg(*place.medianReactionMs);
            }
            table += QStringLiteral("<td align=\"right\">%1</td>").arg(cell);
        }
        table += QStringLiteral("</tr>");
    }
    placeTable->setText(table + QStringLiteral("</table>"));
}
