// A bare main window with a label and a status bar: the yardstick for the
// program's start-up time and memory.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bench_baseline"));
    window.setFixedSize(391, 429);
    auto *label = new QLabel(QStringLiteral("baseline"), &window);
    window.setCentralWidget(label);
    window.statusBar()->showMessage(QStringLiteral("ready"));
    window.show();
    return application.exec();
}
