// Renders the configurator's window offscreen to a PNG, for the README.
// Usage: gateway-screenshot OUT.png            the window at start-up
//        gateway-screenshot OUT.png scan       mid-way through a real scan
//                                              of the simulated module
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "mainwindow.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    MainWindow w;
    w.setFixedSize(550, 785);
    w.show();
    auto grab = [&] {
        const bool ok = w.grab().save(out);
        app.exit(ok ? 0 : 1);
    };
    if (argc < 3 || QByteArray(argv[2]) != "scan") {
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
