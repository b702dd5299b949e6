// Faults of the module during a write, end to end: the window's own code
// against the gateway-sim program on a pseudo-terminal, driven through the
// buttons. Each case checks the form, the captions, the boxes, the bytes
// that the module received (its log) and what it stored (its state file).
// The write timer is sped up once the write has started.
#include <QtTest>

#include <QMessageBox>

#include "modals.h"
#include "probe.h"
#include "simprocess.h"
#include "window.h"

using namespace support;

namespace {
constexpr int Pace = 150;
} // namespace

class tst_FaultsWrite : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("gateway.*.debug=false")); }
    void silentModule_data();
    void silentModule();
    void refused_data();
    void refused();
    void lateAcknowledgementTakenForNextChange();
    void splitAcknowledgement_data();
    void splitAcknowledgement();
    void garbageAndBursts_data();
    void garbageAndBursts();
};

void tst_FaultsWrite::silentModule_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("replies");
    QTest::newRow("never answers") << QStringList{"--silent"} << false;
    // 600 ms late: no acknowledgement of the mode or the IP by the check at
    // step 4; both come while the box is open.
    QTest::newRow("acknowledges after the check") << QStringList{"--late", "600"} << true;
}

void tst_FaultsWrite::silentModule()
{
    QFETCH(QStringList, args);
    QFETCH(bool, replies);
    SimProcess sim;
    Modals boxes;
    boxes.holdMs = 5 * Pace; // the user reads the box for a while
    MainWindow w;
    QStringList underBox;
    boxes.onModal = [&] {
        underBox << (timer(w, "writeAllTimer")->isActive() ? "write running" : "write stopped")
                 << styleOf(w, "comboBox_mode") << styleOf(w, "lineEdit_ip");
    };
    QVERIFY(startAndConnect(w, sim, args));
    QVERIFY(startWrite(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 3000);
    QCOMPARE(boxes.seen[0].title, boxConnectionError);
    QCOMPARE(boxes.seen[0].text, boxNoModule);
    QCOMPARE(boxes.seen[0].icon, int(QMessageBox::Critical));
    // The write stopped before the box, so a late "ok" judges nothing.
    QCOMPARE(underBox, QStringList({"write stopped", QString(), QString()}));
    QCOMPARE(controls(w), atRest(Disconnected));
    QCOMPARE(MainWindowProbe(w).writeAllStep(), 0);
    if (replies)
        QCOMPARE(MainWindowProbe(w).answer(), QStringLiteral("ok"));
    QTest::qWait(3 * Pace);
    QCOMPARE(boxes.count(), 1);
    // The mode and the IP went out before the check at step 4, nothing
    // while the box was open; the module took them all the same.
    QCOMPARE(sim.received(), filledWriteLines().mid(0, 2));
    QCOMPARE(stateDiffers(sim, firstWritten(2)), QString());
    QVERIFY(!MainWindowProbe(w).resetPending());
}

void tst_FaultsWrite::refused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("failing");  // index in params() of the change that fails
    QTest::addColumn<int>("stored");   // leading changes that the module stored
    QTest::addColumn<QString>("message");
    QTest::newRow("ip refused") << QStringList{"--refuse", "ip"} << 1 << 1 << boxWriteFailA;
    QTest::newRow("port refused") << QStringList{"--refuse", "port_tcp"} << 4 << 4 << boxWriteFailB;
    QTest::newRow("stop bits refused") << QStringList{"--refuse", "CHANGE STOP BIT:"} << 7 << 7 << boxWriteFailB;
    QTest::newRow("rtu id refused") << QStringList{"--refuse", "rtu_virtual_id"} << 11 << 11 << boxWriteFailA;
    QTest::newRow("slave id refused") << QStringList{"--refuse", "tcp_slave_id"} << 12 << 12 << boxWriteFailA;
    // The module takes the mode, but its upper-case word is no acknowledgement.
    QTest::newRow("acknowledged OK") << QStringList{"--ack", "OK"} << 0 << 1 << boxWriteFailA;
}

void tst_FaultsWrite::refused()
{
    QFETCH(QStringList, args);
    QFETCH(int, failing);
    QFETCH(int, stored);
    QFETCH(QString, message);
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    const QString field = QLatin1String(params()[failing].field);
    QString fieldStyleUnderBox;
    boxes.onModal = [&] { fieldStyleUnderBox = styleOf(w, field); };
    QVERIFY(startAndConnect(w, sim, args));
    QVERIFY(startWrite(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 27 * Pace + 3000);
    QCOMPARE(boxes.seen[0].title, boxError);
    QCOMPARE(boxes.seen[0].text, message);
    QCOMPARE(boxes.seen[0].icon, int(QMessageBox::Critical));
    QCOMPARE(fieldStyleUnderBox, styleError);
    QTest::qWait(3 * Pace);
    QCOMPARE(boxes.count(), 1);
    // Nothing after the failing change, no reboot; the link stays up.
    QCOMPARE(sim.received(), filledWriteLines().mid(0, failing + 1));
    QCOMPARE(controls(w), atRest(Connected));
    for (const QString &name : paramFields)
        QCOMPARE(styleOf(w, name), QString());
    QVERIFY(!MainWindowProbe(w).resetPending());
    QCOMPARE(stateDiffers(sim, firstWritten(stored)), QString());
}

void tst_FaultsWrite::lateAcknowledgementTakenForNextChange()
{
    // At 250 ms a step, 550 ms late lands in the step after the next change
    // went out: every "ok" is taken for the next change.
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    QVERIFY(startAndConnect(w, sim, {"--late", "550"}));
    QVERIFY(startWrite(w, 250));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 27 * 250 + 3000);
    QCOMPARE(boxes.seen[0].title, boxWriteResult);
    QCOMPARE(boxes.seen[0].text, boxWriteDone);
    // The module reboots on "reset": the link goes without a box.
    QTRY_COMPARE_WITH_TIMEOUT(sim.count(QStringLiteral("VANISH")), 1, 2000);
    QCOMPARE(sim.received(), filledWriteLines());
    QTRY_VERIFY_WITH_TIMEOUT(!MainWindowProbe(w).serial().isOpen(), 2000);
    QCOMPARE(controls(w), atRest(Disconnected));
    QVERIFY(MainWindowProbe(w).resetPending());
    QCOMPARE(stateDiffers(sim, firstWritten(13)), QString());
    QTest::qWait(500);
    QCOMPARE(boxes.count(), 1);
}

void tst_FaultsWrite::splitAcknowledgement_data()
{
    QTest::addColumn<int>("splitMs");
    QTest::newRow("halves inside the reply gap") << 20;
    QTest::newRow("halves beyond the reply gap") << 100;
}

void tst_FaultsWrite::splitAcknowledgement()
{
    QFETCH(int, splitMs);
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    QVERIFY(startAndConnect(w, sim, {"--split", QString::number(splitMs)}));
    QVERIFY(startWrite(w, 200));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 27 * 200 + 3000);
    if (splitMs < 50) {
        // "o" and "k" within the gap make one "ok".
        QCOMPARE(boxes.seen[0].title, boxWriteResult);
        QTRY_COMPARE_WITH_TIMEOUT(sim.count(QStringLiteral("VANISH")), 1, 2000);
        QCOMPARE(sim.received(), filledWriteLines());
    } else {
        // "o" alone answers the mode change: the write fails there.
        QCOMPARE(boxes.seen[0].title, boxError);
        QCOMPARE(boxes.seen[0].text, boxWriteFailA);
        QCOMPARE(sim.received(), filledWriteLines().mid(0, 1));
        QCOMPARE(controls(w), atRest(Connected));
    }
    QTest::qWait(3 * 200);
    QCOMPARE(boxes.count(), 1);
}

void tst_FaultsWrite::garbageAndBursts_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("garbage") << QStringList{"--garbage"};
    QTest::newRow("64 KiB bursts") << QStringList{"--burst", "65536"};
}

void tst_FaultsWrite::garbageAndBursts()
{
    QFETCH(QStringList, args);
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    QVERIFY(startAndConnect(w, sim, args));
    QVERIFY(startWrite(w, 200));
    // The first reply that is not empty before its first NUL fails the
    // write at the mode; an empty one shows the empty-reply box and the
    // write goes on to the next reply.
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 27 * 200 + 3000);
    QTRY_VERIFY_WITH_TIMEOUT(boxes.count() >= 1, 2000);
    QTest::qWait(3 * 200);
    const Modals::Seen last = boxes.seen.last();
    QCOMPARE(last.title, boxError);
    QCOMPARE(last.text, boxWriteFailA);
    for (int i = 0; i + 1 < boxes.count(); ++i)
        QCOMPARE(boxes.seen[i].title, boxEmptyReply);
    QCOMPARE(controls(w), atRest(Connected));
    QVERIFY(!sim.received().contains("reset"));
    QCOMPARE(sim.received().first(), filledWriteLines().first());
    QCOMPARE(sim.count(QStringLiteral("ERROR")), 0);
    // The module stored what it received although its answers were noise.
    QCOMPARE(stateDiffers(sim, firstWritten(sim.received().size())), QString());
}

QTEST_MAIN(tst_FaultsWrite)
#include "tst_faults_write.moc"
