// A whole session against the simulated module at the real pace: connect,
// scan, change the IP address and the speed, write, let the module restart,
// reconnect and scan the new values back.
#include <QtTest>

#include "modals.h"
#include "simprocess.h"
#include "window.h"

using namespace support;

class tst_EndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void sessionAtRealPace();
};

void tst_EndToEnd::sessionAtRealPace()
{
    SimProcess sim;
    QVERIFY(sim.start({}, 800));
    Modals boxes;
    MainWindow w;
    w.show();
    connectAndScanAtRealPace(w, sim);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(text(w, "lineEdit_ip"), QStringLiteral("192.168.0.1"));
    QCOMPARE(text(w, "lineEdit_MAC"), moduleMac);
    QCOMPARE(text(w, "lineEdit_version"), moduleVersion);
    QCOMPARE(index(w, "comboBox_speed"), 4);
    QCOMPARE(index(w, "comboBox_mode"), 1);
    QCOMPARE(text(w, "lineEdit_timewait"), QStringLiteral("1000"));
    QCOMPARE(boxes.count(), 0);
    // (How close the pace is the benchmark measures, bench/run.sh; here the
    // machine may be busy with other work.)

    // The engineer changes the address and the speed and writes.
    child<QLineEdit>(w, "lineEdit_ip")->setText(QStringLiteral("192.168.0.77"));
    child<QComboBox>(w, "comboBox_speed")->setCurrentIndex(8);
    child<QLineEdit>(w, "lineEdit_timewait")->setText(QStringLiteral("25000"));
    SequenceWatch write(w, "writeAllTimer");
    button(w, "applyButton")->click();
    QCOMPARE(timer(w, "writeAllTimer")->interval(), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 60000);
    QCOMPARE(boxes.seen[0].title, boxWriteResult);
    QTRY_COMPARE_WITH_TIMEOUT(sim.received().size(), 15 + 14, 5000);
    const QByteArrayList received = sim.received().mid(15);
    QCOMPARE(received[1], QByteArray("CHANGE IP:192.168.0.77"));
    QCOMPARE(received[6], QByteArray("CHANGE SPEED RS485:115200"));
    QCOMPARE(received.last(), QByteArray("reset"));
    // Each change on its odd tick of a second, the reboot on the 27th.
    QCOMPARE(write.sent(received), atTicks(writeTicks(), received));

    // The module restarts: the port goes away quietly...
    QTRY_COMPARE_WITH_TIMEOUT(caption(w, "connect"), captionDisconnected, 3000);
    QTest::qWait(100);
    QCOMPARE(boxes.count(), 1);
    // ...and comes back at the same link with the new values.
    QTRY_COMPARE_WITH_TIMEOUT(sim.count(QStringLiteral("BACK")), 1, 5000);
    QVERIFY(connectTo(w, sim.link));
    QVERIFY(startScan(w, 400));
    QTRY_COMPARE_WITH_TIMEOUT(caption(w, "scan_parameters"), captionScan, 12000);
    QCOMPARE(text(w, "lineEdit_ip"), QStringLiteral("192.168.0.77"));
    QCOMPARE(index(w, "comboBox_speed"), 8);
    QCOMPARE(text(w, "lineEdit_timewait"), QStringLiteral("25000"));
    QCOMPARE(boxes.count(), 1);
}

QTEST_MAIN(tst_EndToEnd)
#include "tst_endtoend.moc"
