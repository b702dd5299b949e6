// Pictures of the configurator's window, for the README.
// Usage: gateway-screenshot OUT.png            the window at start-up,
//                                              rendered offscreen
//        gateway-screenshot OUT.png scan       mid-way through a real scan
//                                              of the simulated module
//        gateway-screenshot OUT.png desktop    the screen, its whole height,
//                                              once the program has started
//                                              as it starts (on X11, with the
//                                              window manager's frame)
//        gateway-screenshot OUT.png screen     the whole screen as it is
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>

#include "mainwindow.h"
#include "startup.h"

namespace {

// The screen from its left edge to a little right of `right`, its whole
// height.
bool grabScreen(const QString &out, int right = -1)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    const QRect area = screen->geometry();
    const int width = right < 0 ? area.width() : std::min(area.width(), right - area.left() + 40);
    return screen->grabWindow(0, area.left(), area.top(), width, area.height()).save(out);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QByteArray mode = argc < 3 ? QByteArray() : QByteArray(argv[2]);
    if (mode == "desktop") {
        return runConfigurator(argc, argv, [&](MainWindow &w) {
            // Once the window manager has framed and placed the window.
            QTimer::singleShot(1500, &w, [&] { qApp->exit(grabScreen(out, w.frameGeometry().right()) ? 0 : 1); });
        });
    }
    QApplication app(argc, argv);
    if (mode == "screen")
        return grabScreen(out) ? 0 : 1;
    MainWindow w;
    w.setFixedSize(550, 785);
    w.show();
    auto grab = [&] {
        const bool ok = w.grab().save(out);
        app.exit(ok ? 0 : 1);
    };
    if (mode != "scan") {
        QTimer::singleShot(300, grab);
        return app.exec();
    }

    QTemporaryDir dir;
    const QString link = QStringLiteral("/tmp/gwsim-shot-%1").arg(QCoreApplication::applicationPid());
    QProcess sim;
    sim.start(QStringLiteral(GATEWAY_SIM_PATH),
              {"--link", link, "--quiet", "--state", dir.filePath("state")});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(3000))
        return 1;
    w.findChild<QComboBox *>("serialPortInfoListBox")->setEditText(link);
    w.findChild<QPushButton *>("connect")->click();
    w.findChild<QPushButton *>("scan_parameters")->click();
    // Step 9 of 16: the first eight fields answered.
    QTimer::singleShot(9500, grab);
    const int code = app.exec();
    sim.terminate();
    sim.waitForFinished();
    return code;
}
