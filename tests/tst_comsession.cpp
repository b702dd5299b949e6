// A session of the Windows program through COM ports, under Wine, with
// gateway-sim behind each port (tests/wine/check.sh starts them and maps
// COM5, COM6 and COM7 to their links): connect, scan, change, write, let the
// module restart, rescan; then a device that vanishes during a scan, a
// failed read and a pulled adapter's errors, and a window closed while its
// device is gone.
#include <QtTest>

#include <QDir>
#include <QMessageBox>
#include <QStatusBar>
#include <QThread>

#include "modals.h"
#include "probe.h"
#include "simprocess.h"
#include "window.h"

using namespace support;

class tst_ComSession : public QObject
{
    Q_OBJECT

private:
    // The folder with the simulators' state files and logs.
    static QString sessionDir()
    {
        const QString dir = qEnvironmentVariable("GATEWAY_SESSION_DIR");
        return dir.isEmpty() ? dir : QDir::fromNativeSeparators(dir);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!sessionDir().isEmpty(), "GATEWAY_SESSION_DIR names the simulators' folder");
        QVERIFY2(QFile::exists(sessionDir() + "/gw5.log"), qPrintable(sessionDir()));
    }
    void scanWriteRestartRescan();
    void deviceVanishesDuringScan();
    void readErrorThenAdapterPulled();
    void closingWindowWithDeviceGone();
};

void tst_ComSession::scanWriteRestartRescan()
{
    SimProcess sim(sessionDir(), QStringLiteral("gw5"), QStringLiteral("COM5"));
    Modals boxes;
    MainWindow w;
    w.show();
    // A scan at the real pace fills all fifteen fields.
    connectAndScanAtRealPace(w, sim);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(formDiffers(w, firstWritten(0)), QString());
    QCOMPARE(sim.received(), scanLines());
    QCOMPARE(boxes.count(), 0);

    // Every parameter changed and written, at the real pace.
    fillForm(w);
    button(w, "applyButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 32000);
    QCOMPARE(boxes.seen[0].title, boxWriteResult);
    QTRY_COMPARE_WITH_TIMEOUT(sim.received().mid(15), filledWriteLines(), 2000);

    // The module restarts: the port goes quietly, then comes back with the
    // new values.
    QTRY_COMPARE_WITH_TIMEOUT(caption(w, "connect"), captionDisconnected, 5000);
    QTest::qWait(100);
    QCOMPARE(boxes.count(), 1);
    reconnectAndScan(w, sim, boxes, QVector<bool>(params().size(), true), 300);
}

void tst_ComSession::deviceVanishesDuringScan()
{
    // gateway-sim on COM6 drops its device after the fifth query.
    SimProcess sim(sessionDir(), QStringLiteral("gw6"), QStringLiteral("COM6"));
    Modals boxes;
    MainWindow w;
    w.show();
    QVERIFY(connectTo(w, sim.link));
    QVERIFY(startScan(w, 300));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 10000);
    QCOMPARE(boxes.seen[0].title, boxLost);
    QCOMPARE(boxes.seen[0].text, boxConnectionError);
    QCOMPARE(sim.received().size(), 5);
    QCOMPARE(controls(w), atRest(Disconnected));
    QCOMPARE(w.statusBar()->currentMessage(), statusDisconnected);
}

void tst_ComSession::readErrorThenAdapterPulled()
{
    // gateway-sim on COM7 drops its device after the eighth query. The pty
    // shim fails the third read there with an I/O error, the device staying,
    // and once the device is gone answers as a pulled USB adapter's driver:
    // the wait for data goes on, writes fail with access denied, reads with
    // an I/O error; no error says "device gone".
    SimProcess sim(sessionDir(), QStringLiteral("gw7"), QStringLiteral("COM7"));
    Modals boxes;
    MainWindow w;
    w.show();
    QList<QSerialPort::SerialPortError> errors;
    connect(&MainWindowProbe(w).serial(), &QSerialPort::errorOccurred, [&](QSerialPort::SerialPortError e) {
        if (e != QSerialPort::NoError)
            errors << e;
    });
    QVERIFY(connectTo(w, sim.link));
    QVERIFY(startScan(w, 300));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 15000);
    qInfo() << "port errors:" << errors;
    // Failed transfers only (under Wine "not ready"): the read with the
    // device there, then the first transfer after it had gone, from which
    // the window knew it gone by asking the device (the library may repeat
    // that one before the port is closed, once the read has returned), with
    // no attempt to open the port again.
    QVERIFY2(errors.size() >= 2, qPrintable(QString::number(errors.size())));
    QVERIFY(!errors.contains(QSerialPort::ResourceError));
    // The failed read lost nothing and ended nothing: every reply before the
    // device went reached its field, and the one box is the loss.
    QCOMPARE(sim.received().size(), 8);
    for (int i = 0; i < 7; ++i)
        QCOMPARE(shown(w, scanFields[i]), factoryShown(scanFields[i]));
    QCOMPARE(boxes.seen[0].title, boxLost);
    QCOMPARE(boxes.seen[0].text, boxConnectionError);
    QCOMPARE(controls(w), atRest(Disconnected));
    QTest::qWait(300);
    QCOMPARE(boxes.count(), 1);
}

void tst_ComSession::closingWindowWithDeviceGone()
{
    // The reboot command takes the module's device away; the window is
    // closed before its event loop hears of it, and closing the port then
    // meets the vanished device.
    SimProcess sim(sessionDir(), QStringLiteral("gw5"), QStringLiteral("COM5"));
    // The device is up once it has come back as often as it went.
    QTRY_VERIFY_WITH_TIMEOUT(sim.count("BACK") >= sim.count("VANISH"), 5000);
    const int vanishedBefore = sim.count(QStringLiteral("VANISH"));
    Modals boxes;
    int reports = 0;
    {
        MainWindow w;
        QVERIFY(connectTo(w, sim.link));
        connect(&MainWindowProbe(w).serial(), &QSerialPort::errorOccurred, [&](QSerialPort::SerialPortError e) {
            if (e != QSerialPort::NoError)
                ++reports;
        });
        button(w, "Reset")->click();
        QTRY_VERIFY_WITH_TIMEOUT(sim.received().endsWith("RESET"), 3000);
        // No events from here on, so nothing tells the window.
        QElapsedTimer clock;
        clock.start();
        while (sim.count(QStringLiteral("VANISH")) == vanishedBefore && clock.elapsed() < 3000)
            QThread::msleep(20);
        QVERIFY(sim.count(QStringLiteral("VANISH")) > vanishedBefore);
        QThread::msleep(100);
    }
    qInfo("port errors reported while the window closed: %d", reports);
    QTest::qWait(100);
    QCOMPARE(boxes.count(), 0);
}

QTEST_MAIN(tst_ComSession)
#include "tst_comsession.moc"
