// Renders the configurator's window offscreen to a PNG, for the README.
// Usage: gateway-screenshot OUT.png [scan-demo]
//   scan-demo: fill the form and colour some fields as a scan in progress
//              shows them.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "mainwindow.h"
#include "styles.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    MainWindow w;
    w.setFixedSize(550, 785);
    w.show();
    const bool demo = argc > 2 && QByteArray(argv[2]) == "scan-demo";
    if (demo) {
        auto edit = [&](const char *name, const char *text, const char *style) {
            auto *e = w.findChild<QLineEdit *>(name);
            e->setText(QString::fromUtf8(text));
            e->setStyleSheet(style);
        };
        auto combo = [&](const char *name, int index, const char *style) {
            auto *c = w.findChild<QComboBox *>(name);
            c->setCurrentIndex(index);
            c->setStyleSheet(style);
        };
        w.findChild<QComboBox *>("serialPortInfoListBox")->setEditText("/tmp/gateway-sim.tty");
        w.findChild<QPushButton *>("connect")->setText(QStringLiteral("Отсоединиться"));
        w.findChild<QPushButton *>("scan_parameters")->setText(QStringLiteral("Стоп сканирования"));
        combo("comboBox_mode", 1, style::ok);
        edit("lineEdit_version", "2.0.1", style::ok);
        edit("lineEdit_MAC", "02:00:00:00:00:01", style::ok);
        edit("lineEdit_ip", "192.168.0.1", style::ok);
        edit("lineEdit_mask", "255.255.255.0", style::ok);
        edit("lineEdit_gateway", "0.0.0.0", style::ok);
        edit("lineEdit_portTCP", "", style::error);
        combo("comboBox", 1, style::ok);
        w.statusBar()->showMessage("Connected");
        auto *bar = w.findChild<QProgressBar *>("sequenceProgress");
        bar->setRange(0, 16);
        bar->setValue(8);
        bar->setFormat(QStringLiteral("Сканирование %v/%m"));
        bar->setVisible(true);
    }
    QTimer::singleShot(300, [&] {
        const bool ok = w.grab().save(QString::fromLocal8Bit(argv[1]));
        app.exit(ok ? 0 : 1);
    });
    return app.exec();
}
