// The window on a screen of twice the usual pixel density, started the way
// the program starts it.
#include <QtTest>

#include <QApplication>
#include <QIcon>

#include "mainwindow.h"
#include "startup.h"

class tst_HighDpi : public QObject
{
    Q_OBJECT

private slots:
    void scaleTwo();
};

void tst_HighDpi::scaleTwo()
{
    qputenv("QT_SCALE_FACTOR", "2");
    // The offscreen screen says 100 dots per inch, which the screen's own
    // factor (not rounded) would add as 1.04: a screen of the usual 96.
    qputenv("QT_FONT_DPI", "96");
    char name[] = "gateway-configurator";
    char *argv[] = {name, nullptr};
    int argc = 1;
    bool exposed = false, densityScaling = true;
    QSize logical, minimum, maximum, grabbed, icon48;
    QList<QSize> iconSizes;
    const int code = runConfigurator(argc, argv, [&](MainWindow &w) {
        exposed = QTest::qWaitForWindowExposed(&w);
        logical = w.size();
        minimum = w.minimumSize();
        maximum = w.maximumSize();
        grabbed = w.grab().size();
        // The title bar asks for a 48 px icon: at scale 2 it gets 96 device
        // pixels, from the large image.
        icon48 = w.windowIcon().pixmap(48, 48).size();
        iconSizes = w.windowIcon().availableSizes();
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
        // The offscreen screen reports a plain density, so scaling to a real
        // screen's density shows only as the attribute it needs.
        densityScaling = QCoreApplication::testAttribute(Qt::AA_EnableHighDpiScaling);
#endif
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    QCOMPARE(code, 0);
    QVERIFY(exposed);
    // The start fixes the window at its designed size.
    QCOMPARE(logical, QSize(550, 785));
    QCOMPARE(minimum, QSize(550, 785));
    QCOMPARE(maximum, QSize(550, 785));
    QCOMPARE(grabbed, QSize(1100, 1570));
    QVERIFY(iconSizes.contains(QSize(256, 256)));
    QCOMPARE(icon48, QSize(96, 96));
    QVERIFY(densityScaling);
}

QTEST_APPLESS_MAIN(tst_HighDpi)
#include "tst_highdpi.moc"
