#include "DrillChartLoader.h"

#include "DrillChart.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLibrary>
#include <QVBoxLayout>

namespace {

// The chart's place when the module is missing or refused: the table and the
// score around it still work.
class ChartNote final : public DrillChart
{
public:
    ChartNote(const QString &text, QWidget *parent)
        : DrillChart(parent)
    {
        auto *note = new QLabel(text, this);
        note->setAlignment(Qt::AlignCenter);
        note->setWordWrap(true);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(note);
    }

    void showBars(const DrillChartTexts &, const QList<DrillChartBar> &) override {}
};

} // namespace

QStringList DrillChartLoader::folders()
{
    return {QCoreApplication::applicationDirPath(),
            QStringLiteral(QTUTAKAZE_DRILLCHART_INSTALL_DIR)};
}

DrillChart *DrillChartLoader::make(QWidget *parent, const QStringList &folders)
{
    QStringList refusals;
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(QStringLiteral(QTUTAKAZE_DRILLCHART_FILE));
        if (folder.isEmpty() || !QFileInfo::exists(path))
            continue;
        // Never unloaded: the chart's code must outlive every chart made, and
        // Qt Charts does not expect to leave the process.
        QLibrary module(path);
        if (!module.load()) {
            refusals.append(module.errorString());
            continue;
        }
        const auto factory = reinterpret_cast<DrillChartFactory>(
            module.resolve(QT_STRINGIFY(QTUTAKAZE_DRILLCHART_FACTORY)));
        if (!factory) {
            refusals.append(module.errorString());
            continue;
        }
        if (DrillChart *chart = factory(parent))
            return chart;
    }
    if (refusals.isEmpty())
        qWarning("Drill chart: %s not found in %s", QTUTAKAZE_DRILLCHART_FILE,
                 qPrintable(folders.join(QLatin1String(", "))));
    else
        qWarning("Drill chart: %s", qPrintable(refusals.join(QLatin1String("; "))));
    return new ChartNote(tr("グラフを読み込めませんでした"), parent);
}
