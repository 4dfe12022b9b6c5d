#ifndef DRILLCHARTLOADER_H
#define DRILLCHARTLOADER_H

#include <QCoreApplication>
#include <QStringList>

class DrillChart;
class QWidget;

// Makes the drill's chart from the module that draws it, loaded the first
// time a chart is asked for: Qt Charts and the OpenGL libraries it pulls in
// cost every start of the program time and memory, and most runs never open
// the drill. Without the module the chart's place shows a note instead.
class DrillChartLoader
{
    Q_DECLARE_TR_FUNCTIONS(DrillChartLoader)

public:
    // Where the module is looked for, in order: beside the executable (the
    // build tree, a portable folder, the package's program folder), then the
    // library folder the install rules put it in.
    static QStringList folders();

    // A chart owned by parent: the module's, from the first of folders that
    // holds a module that loads, or the note. Never null.
    static DrillChart *make(QWidget *parent,
                            const QStringList &folders = DrillChartLoader::folders());
};

#endif
