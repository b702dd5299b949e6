#include "startup.h"

#include <QApplication>

#include "mainwindow.h"

int runConfigurator(int &argc, char **argv, const std::function<void(MainWindow &)> &shown)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Scale to the screen's pixel density, as Qt 6 always does: the window
    // keeps its size in logical pixels on a 150 % or 200 % screen, and the
    // icon offers its large image there. The factor is the screen's own, as
    // in Qt 6: Qt 5 would round 1.5 up to 2, and the window would not fit a
    // 150 % laptop screen. All must be set before the application object
    // exists.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
#endif
    QApplication a(argc, argv);
    MainWindow w;
    // Fixed at its designed size; a screen too small for it gets what it
    // holds of it, and the form scrolls.
    w.setFixedSize(MainWindow::startSize());
    w.show();
    if (shown)
        shown(w);
    return a.exec();
}
