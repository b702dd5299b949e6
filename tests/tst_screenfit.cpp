// The window on a real desktop (a window system with a window manager, see
// tests/desktop/run.sh), started as the program starts it: where the screen
// holds it, exactly its designed size; where it does not, it lies on the
// screen and its form scrolls, so that every button can still be reached and
// clicked; and it follows a change of the screen's available area.
//
// GATEWAY_SCREEN names the screen the test was started on: "small" (it does
// not hold the window) or "large" (it does). GATEWAY_DESKTOP_RC, when set,
// is the window manager's configuration, whose margins the test changes to
// shrink the screen's available area while the program runs.
#include <QtTest>

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QWindow>

#include "ptyhelper.h"
#include "screenfit.h"
#include "startup.h"
#include "window.h"

using namespace support;

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
Q_DECLARE_METATYPE(QMargins)
#endif

namespace {

const QSize designed(550, 785);

QRect globalRect(const QWidget *w)
{
    return {w->mapToGlobal(QPoint(0, 0)), w->size()};
}

// The window with its frame lies on the screen's available area.
bool onScreen(const QWidget &w)
{
    return w.screen()->availableGeometry().contains(w.frameGeometry());
}

// Exactly the designed size, fixed, and the form where the form set it up.
bool designedAndFixed(MainWindow &w)
{
    return w.size() == designed && w.minimumSize() == designed && w.maximumSize() == designed
        && w.centralWidget() == w.findChild<QWidget *>(QStringLiteral("centralwidget"));
}

// Sets the window manager's bottom margin: the screen's available area
// loses that many pixels, as when a panel takes them.
bool setBottomMargin(int pixels)
{
    QFile file(qEnvironmentVariable("GATEWAY_DESKTOP_RC"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    text.replace(QRegularExpression(QStringLiteral("<margins>.*</margins>"),
                                    QRegularExpression::DotMatchesEverythingOption),
                 QStringLiteral("<margins><bottom>%1</bottom></margins>").arg(pixels));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
        return false;
    file.close();
    return QProcess::execute(QStringLiteral("openbox"), {QStringLiteral("--reconfigure")}) == 0;
}

} // namespace

class tst_ScreenFit : public QObject
{
    Q_OBJECT

private slots:
    void fitRules_data();
    void fitRules();
    void startedOnThisScreen();
};

void tst_ScreenFit::fitRules_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("scrolls");
    const QMargins titleBar(1, 24, 1, 1);
    QTest::newRow("large screen") << QRect(0, 0, 1920, 1160) << titleBar << designed << false;
    QTest::newRow("exactly enough") << QRect(0, 0, 552, 810) << titleBar << designed << false;
    // The frame counts: the window alone would fit.
    QTest::newRow("one pixel short for the frame") << QRect(0, 0, 552, 809) << titleBar << QSize(550, 784) << true;
    QTest::newRow("1366 x 768 under a taskbar") << QRect(0, 0, 1366, 728) << titleBar << QSize(566, 703) << true;
    QTest::newRow("150 % of 1920 x 1080") << QRect(0, 0, 1280, 693) << QMargins(8, 31, 8, 8) << QSize(566, 654)
                                          << true;
    // Narrower than the window: as wide as the screen, no wider.
    QTest::newRow("narrow") << QRect(0, 0, 500, 600) << QMargins() << QSize(500, 600) << true;
}

void tst_ScreenFit::fitRules()
{
    QFETCH(QRect, available);
    QFETCH(QMargins, frame);
    QFETCH(QSize, size);
    QFETCH(bool, scrolls);
    const ScreenFit::Fit fit = ScreenFit::fit(designed, available, frame, 16);
    QCOMPARE(fit.size, size);
    QCOMPARE(fit.scrolls, scrolls);
    // Placed on the area, whatever its corner: a window hanging off the
    // bottom right comes back up and left, its title bar first.
    const QRect area = available.translated(100, 50);
    const QRect window(area.bottomRight(), fit.size.grownBy(frame));
    const QPoint to = ScreenFit::placed(window, area);
    QVERIFY(area.contains(QRect(to, window.size())));
    QCOMPARE(ScreenFit::placed(QRect(to, window.size()), area), to);
}

void tst_ScreenFit::startedOnThisScreen()
{
    const QByteArray screen = qgetenv("GATEWAY_SCREEN");
    QVERIFY2(screen == "small" || screen == "large", "GATEWAY_SCREEN names the screen");

    PtyDevice device;
    QVERIFY(device.isOpen());
    char name[] = "gateway-configurator";
    char *argv[] = {name, nullptr};
    int argc = 1;
    bool checked = false;
    const int code = runConfigurator(argc, argv, [&](MainWindow &w) {
        QTimer::singleShot(0, &w, [&] {
            const auto quit = qScopeGuard([] { QCoreApplication::quit(); });
            QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            // The window manager frames the window, then places it.
            QTRY_VERIFY(!w.windowHandle()->frameMargins().isNull());
            QTRY_VERIFY2(onScreen(w), qPrintable(QStringLiteral("frame %1,%2 %3x%4 on %5x%6")
                                                     .arg(w.frameGeometry().x())
                                                     .arg(w.frameGeometry().y())
                                                     .arg(w.frameGeometry().width())
                                                     .arg(w.frameGeometry().height())
                                                     .arg(w.screen()->availableGeometry().width())
                                                     .arg(w.screen()->availableGeometry().height())));
            auto *area = qobject_cast<QScrollArea *>(w.centralWidget());
            if (screen == "large") {
                QVERIFY(designedAndFixed(w));
                QVERIFY(!area);
            } else {
                QVERIFY2(area, "the form scrolls");
                QCOMPARE(area->widget()->objectName(), QStringLiteral("centralwidget"));
                QVERIFY(w.height() < designed.height());
                QCOMPARE(w.minimumSize(), w.maximumSize());
                QVERIFY(area->verticalScrollBar()->isVisible());
                // Nothing is squeezed: the form keeps its designed width.
                QVERIFY(area->widget()->width() >= designed.width());
            }

            // Connected, the buttons at the bottom of the form are enabled;
            // each is brought into view and clicked where it is seen.
            QVERIFY(connectTo(w, device.slavePath()));
            QVERIFY(w.screen()->availableGeometry().contains(globalRect(w.statusBar())));
            QCOMPARE(w.statusBar()->currentMessage(), statusConnected);
            const auto clickInView = [&](const char *name) {
                QPushButton *b = button(w, name);
                if (area)
                    area->ensureWidgetVisible(b);
                const QRect seen = globalRect(b);
                QVERIFY2(w.screen()->availableGeometry().contains(seen), name);
                if (area)
                    QVERIFY2(globalRect(area->viewport()).contains(seen), name);
                QTRY_COMPARE(QApplication::widgetAt(seen.center()), b);
                QTest::mouseClick(b, Qt::LeftButton);
            };
            clickInView("applyButton");
            QCOMPARE(caption(w, "applyButton"), captionStopWrite);
            clickInView("applyButton");
            QCOMPARE(caption(w, "applyButton"), captionWrite);
            clickInView("Reset");
            QCOMPARE(device.receive(5), QByteArray("RESET"));
            // The factory reset asks first; the answer here is no.
            QString asked;
            QTimer::singleShot(100, &w, [&] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    asked = box->windowTitle();
                    for (QAbstractButton *b : box->buttons())
                        if (b->text() == QStringLiteral("Нет"))
                            b->click();
                }
            });
            clickInView("reset_allparameters");
            QCOMPARE(asked, QStringLiteral("Сброс"));

            // A panel takes the lower part of the screen, and goes again.
            if (!qEnvironmentVariableIsEmpty("GATEWAY_DESKTOP_RC")) {
                const int available = w.screen()->availableGeometry().height();
                QVERIFY(setBottomMargin(available - 650));
                QTRY_COMPARE(w.screen()->availableGeometry().height(), 650);
                QTRY_VERIFY(qobject_cast<QScrollArea *>(w.centralWidget()));
                QTRY_VERIFY(onScreen(w));
                QVERIFY(setBottomMargin(0));
                QTRY_COMPARE(w.screen()->availableGeometry().height(), available);
                if (screen == "large")
                    QTRY_VERIFY(designedAndFixed(w));
                QTRY_VERIFY(onScreen(w));
            }
            checked = true;
        });
    });
    QCOMPARE(code, 0);
    QVERIFY(checked);
}

QTEST_APPLESS_MAIN(tst_ScreenFit)
#include "tst_screenfit.moc"
