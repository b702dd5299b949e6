// Faults of the module during a scan, end to end: the window's own code
// against the gateway-sim program on a pseudo-terminal, driven through the
// buttons. Each case checks the form, the captions, the boxes and the bytes
// that the module received (its log). The scan timer is sped up once the
// scan has started.
#include <QtTest>

#include <QMessageBox>

#include "modals.h"
#include "probe.h"
#include "simprocess.h"
#include "window.h"

using namespace support;

namespace {
constexpr int Pace = 200;     // ms per step of the cases below
constexpr int FastPace = 150; // the rescans after a loss
} // namespace

class tst_FaultsScan : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("gateway.*.debug=false")); }
    void silentModule_data();
    void silentModule();
    void lateReplyTakenForNextCommand();
    void splitReply_data();
    void splitReply();
    void garbage();
    void burst64k();
    void vanishDuringScan_data();
    void vanishDuringScan();
};

void tst_FaultsScan::silentModule_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("pace");
    QTest::addColumn<bool>("replies");
    QTest::newRow("never answers") << QStringList{"--silent"} << Pace << false;
    // A reply that comes after the second tick counts as no reply at all:
    // 350 ms late at 300 ms a step, it arrives while the box is open.
    QTest::newRow("answers after the check") << QStringList{"--late", "350"} << 300 << true;
}

void tst_FaultsScan::silentModule()
{
    QFETCH(QStringList, args);
    QFETCH(int, pace);
    QFETCH(bool, replies);
    SimProcess sim;
    Modals boxes;
    boxes.holdMs = 2 * pace; // the user reads the box for a while
    QStringList underBox;
    MainWindow w;
    boxes.onModal = [&] {
        underBox << caption(w, "connect") << caption(w, "scan_parameters")
                 << (timer(w, "scanAllTimer")->isActive() ? "scan running" : "scan stopped");
    };
    w.show();
    QVERIFY(startAndConnect(w, sim, args));
    QVERIFY(startScan(w, pace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 3000);
    QCOMPARE(boxes.seen[0].title, boxConnectionError);
    QCOMPARE(boxes.seen[0].text, boxNoModule);
    QCOMPARE(boxes.seen[0].icon, int(QMessageBox::Critical));
    // The box comes up while the connection still stands; the scan has
    // stopped before it.
    QCOMPARE(underBox, QStringList({captionConnected, captionStopScan, "scan stopped"}));
    QCOMPARE(controls(w), atRest(Disconnected));
    QCOMPARE(MainWindowProbe(w).scanAllStep(), 0);
    // The reply came while the box was open: it is only stored.
    if (replies)
        QTRY_COMPARE_WITH_TIMEOUT(MainWindowProbe(w).answer(), QStringLiteral("MODE TCP server"), 2000);
    QTest::qWait(3 * pace);
    // Only the first query went out: nothing while the box was open, nothing
    // after the check at step 2.
    QCOMPARE(sim.received(), QByteArrayList{"MODE TCP"});
    QCOMPARE(boxes.count(), 1);
    // The form shows nothing of a reply.
    QCOMPARE(index(w, "comboBox_mode"), 0);
    QVERIFY(text(w, "lineEdit_version").isEmpty());
    QCOMPARE(styleOf(w, "lineEdit_version"), QString());
}

void tst_FaultsScan::lateReplyTakenForNextCommand()
{
    // Replies 350 ms late at a pace of 300 ms are handled under the next
    // step: the first characters are skipped unseen and the rest goes into
    // the next field. The first step is long enough for the check at step 2.
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    QVERIFY(startAndConnect(w, sim, {"--late", "350"}));
    QTimer *scanTimer = timer(w, "scanAllTimer");
    connect(scanTimer, &QTimer::timeout, &w, [&] {
        const int step = MainWindowProbe(w).scanAllStep();
        if (step == 1)
            scanTimer->setInterval(800);
        else if (step == 2)
            scanTimer->setInterval(300);
    });
    QVERIFY(startScan(w, 300));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 9000);
    QCOMPARE(boxes.count(), 0);
    QCOMPARE(caption(w, "scan_parameters"), captionScan);
    QCOMPARE(sim.received(), scanLines());
    // Step 1 got its own reply in time.
    QCOMPARE(index(w, "comboBox_mode"), 1);
    // Nothing arrived during step 2.
    QCOMPARE(text(w, "lineEdit_version"), QString());
    // "version 2.0.1" read as the MAC reply, from position 4.
    QCOMPARE(text(w, "lineEdit_MAC"), QStringLiteral("ion 2.0.1"));
    // "ip 192.168.0.1" read as the MASK reply, from position 5.
    QCOMPARE(text(w, "lineEdit_mask"), QStringLiteral("2.168.0.1"));
    // "rtu virtual id 1" read as the slave id reply, from position 13.
    QCOMPARE(text(w, "lineEdit_tcp_id"), QStringLiteral("d 1"));
    QVERIFY(!child<QCheckBox>(w, "checkBox")->isChecked());
    // The reply to the last query comes after the scan has ended: stored only.
    QTRY_COMPARE_WITH_TIMEOUT(MainWindowProbe(w).answer(), QStringLiteral("tcp slave id off"), 2000);
    QCOMPARE(text(w, "lineEdit_tcp_id"), QStringLiteral("d 1"));
    // Every reply went out at least the delay after its command.
    const QList<qint64> rx = sim.times(QStringLiteral("RX"));
    const QList<qint64> tx = sim.times(QStringLiteral("TX"));
    QCOMPARE(tx.size(), rx.size());
    for (int i = 0; i < rx.size(); ++i)
        QVERIFY2(tx[i] - rx[i] >= 340, qPrintable(QString::number(tx[i] - rx[i])));
    QVERIFY(MainWindowProbe(w).serial().isOpen());
}

void tst_FaultsScan::splitReply_data()
{
    QTest::addColumn<int>("splitMs");
    QTest::newRow("halves inside the reply gap") << 20;
    QTest::newRow("halves beyond the reply gap") << 100;
}

void tst_FaultsScan::splitReply()
{
    QFETCH(int, splitMs);
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    QVERIFY(startAndConnect(w, sim, {"--split", QString::number(splitMs)}));
    QVERIFY(startScan(w, 250));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 16 * 250 + 3000);
    QCOMPARE(boxes.count(), 0);
    QCOMPARE(sim.received(), scanLines());
    // Every reply went out as two writes.
    QCOMPARE(sim.count(QStringLiteral("TX")), 30);
    if (splitMs < 50) {
        // Halves within the reply gap make one reply again.
        QCOMPARE(formDiffers(w, firstWritten(0)), QString());
    } else {
        // Two replies under one step; the second is cut at the same position:
        // "68.0.1" from position 3 for "ip", "0:00:00:01" from 4 for "MAC".
        QCOMPARE(text(w, "lineEdit_ip"), QStringLiteral("0.1"));
        QCOMPARE(text(w, "lineEdit_MAC"), QStringLiteral(":00:01"));
        // Neither half of "MODE TCP server" holds a value at position 9.
        QCOMPARE(index(w, "comboBox_mode"), 0);
    }
}

void tst_FaultsScan::garbage()
{
    // Every reply: invalid UTF-8, a NUL byte, a line end and random bytes.
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    QStringList stylesAtLastStep;
    connect(timer(w, "scanAllTimer"), &QTimer::timeout, &w, [&] {
        if (MainWindowProbe(w).scanAllStep() == 15)
            for (int i = 0; i < 14; ++i)
                stylesAtLastStep << styleOf(w, scanFields[i]);
    });
    QVERIFY(startAndConnect(w, sim, {"--garbage"}));
    QVERIFY(startScan(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 16 * Pace + 3000);
    // The replies are not empty (two replacement characters before the NUL),
    // so the scan runs to its end and rejects every field on the way.
    QCOMPARE(boxes.count(), 0);
    QCOMPARE(sim.received(), scanLines());
    QCOMPARE(stylesAtLastStep, QVector<QString>(14, styleError).toList());
    QCOMPARE(MainWindowProbe(w).answer(), QString(2, QChar(0xfffd)));
    for (const char *field : scanFields)
        QCOMPARE(shown(w, field), clearedShown(field));
    for (const LogEvent &e : sim.events())
        if (e.kind == QLatin1String("TX"))
            QVERIFY(e.bytes.contains('\0') && e.bytes.contains('\xff'));
    QCOMPARE(caption(w, "scan_parameters"), captionScan);
    QVERIFY(MainWindowProbe(w).serial().isOpen());
}

void tst_FaultsScan::burst64k()
{
    // Every command answered with 64 KiB of random bytes.
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    QVERIFY(startAndConnect(w, sim, {"--burst", "65536"}));
    // The event loop must keep turning while the bursts come in.
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, worstGap = 0;
    QTimer beat;
    beat.setInterval(5);
    connect(&beat, &QTimer::timeout, [&] {
        worstGap = qMax(worstGap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    beat.start();
    QVERIFY(startScan(w, 300));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 16 * 300 + 5000);
    // Every burst went out whole.
    const auto txBytes = [&] {
        int n = 0;
        for (const LogEvent &e : sim.events())
            n += e.kind == QLatin1String("TX") ? e.bytes.size() : 0;
        return n;
    };
    QTRY_COMPARE_WITH_TIMEOUT(txBytes(), 15 * 65536, 2000);
    QCOMPARE(sim.received(), scanLines());
    QCOMPARE(sim.count(QStringLiteral("ERROR")), 0);
    // A burst whose text is empty before its first NUL shows the empty-reply
    // box; no other box may come up.
    for (const Modals::Seen &b : boxes.seen)
        QCOMPARE(b.title, boxEmptyReply);
    QVERIFY(MainWindowProbe(w).answer().size() <= 65536);
    QCOMPARE(caption(w, "scan_parameters"), captionScan);
    QVERIFY(MainWindowProbe(w).serial().isOpen());
    QVERIFY2(worstGap < 500, qPrintable(QString::number(worstGap)));
}

void tst_FaultsScan::vanishDuringScan_data()
{
    QTest::addColumn<int>("after");
    for (int n = 1; n <= 15; ++n)
        QTest::addRow("after query %d (%s)", n, scanLines()[n - 1].constData()) << n;
}

void tst_FaultsScan::vanishDuringScan()
{
    QFETCH(int, after);
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    QVERIFY(startAndConnect(w, sim, {"--vanish-after", QString::number(after)}, 150));
    QVERIFY(startScan(w, FastPace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 16 * FastPace + 3000);
    QCOMPARE(boxes.seen[0].title, boxLost);
    QCOMPARE(boxes.seen[0].text, boxConnectionError);
    QCOMPARE(boxes.seen[0].icon, int(QMessageBox::Critical));
    QCOMPARE(controls(w), atRest(Disconnected));
    QCOMPARE(MainWindowProbe(w).scanAllStep(), 0);
    QTest::qWait(2 * FastPace);
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(sim.received(), scanLines().mid(0, after));
    QCOMPARE(sim.count(QStringLiteral("VANISH")), 1);
    // What came before the loss stays in the form; nothing after it.
    for (int step = 1; step <= 15; ++step) {
        const char *field = scanFields[step - 1];
        if (step < after)
            QCOMPARE(shown(w, field), factoryShown(field));
        else if (step > after)
            QCOMPARE(shown(w, field), clearedShown(field));
    }
    // The loss clears the highlights of the parameter fields.
    for (const char *field : scanFields)
        if (QLatin1String(field) != QLatin1String("lineEdit_version"))
            QCOMPARE(styleOf(w, field), QString());

    reconnectAndScan(w, sim, boxes, firstWritten(0), FastPace);
}

QTEST_MAIN(tst_FaultsScan)
#include "tst_faults_scan.moc"
