// A bare main window with a label and a status bar: the yardstick for the
// program's start-up time and memory. With --japanese the label is a line of
// Japanese, which costs a Japanese font as the program's window does.
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
    const bool japanese = application.arguments().contains(QStringLiteral("--japanese"));
    auto *label = new QLabel(japanese ? QStringLiteral("再生ボタンを押してください")
                                      : QStringLiteral("baseline"),
                             &window);
    window.setCentralWidget(label);
    window.statusBar()->showMessage(QStringLiteral("ready"));
    window.show();
    return application.exec();
}
