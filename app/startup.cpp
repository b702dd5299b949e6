#include "startup.h"

#include <QApplication>

#include "mainwindow.h"

int runConfigurator(int &argc, char **argv, const std::function<void(MainWindow &)> &shown)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Scale to the screen's pixel density, as Qt 6 always does: the window
    // keeps its size in logical pixels on a 150 % or 200 % screen, and the
    // icon offers its large image there. Both must be set before the
    // application object exists.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    QApplication a(argc, argv);
    MainWindow w;
    w.setFixedSize(MainWindow::startSize());
    w.show();
    if (shown)
        shown(w);
    return a.exec();
}
