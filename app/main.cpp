#include "MainWindow.h"

#include <QApplication>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    auto window = std::make_unique<MainWindow>();
    window->show();
    const int result = application.exec();
    window.reset(); // writes the settings and ends the reading thread
    return result;
}
