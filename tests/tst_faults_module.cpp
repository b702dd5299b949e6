// Faults of the module during a scan or a write, end to end: the window's
// own code against the gateway-sim program on a pseudo-terminal, driven
// through the buttons. Each case checks the form, the captions, the boxes,
// the bytes that the module received (its log) and what it stored (its
// state file). The sequence timers are sped up once started.
#include <QtTest>

#include <QMessageBox>

#include "modals.h"
#include "probe.h"
#include "simprocess.h"
#include "window.h"

using namespace support;

namespace {
constexpr int Pace = 200;     // ms per step of the scans
constexpr int FastPace = 150; // the writes, and the rescans after a loss
} // namespace

class tst_FaultsModule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("gateway.*.debug=false")); }
    void silentModule_data();
    void silentModule();
    void lateReplyTakenForNextCommand();
    void lateAcknowledgementTakenForNextChange();
    void splitReply_data();
    void splitReply();
    void splitAcknowledgement_data();
    void splitAcknowledgement();
    void refused_data();
    void refused();
    void garbage();
    void burst64k();
    void garbageAndBurstsInWrite_data();
    void garbageAndBurstsInWrite();
    void vanishDuringScan_data();
    void vanishDuringScan();
};

void tst_FaultsModule::silentModule_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("pace");
    QTest::addColumn<QString>("late");          // the reply that comes while the box is open
    QTest::addColumn<QByteArrayList>("sent");   // before the check, and nothing after
    QTest::addColumn<int>("stored");            // leading parameters of params() stored
    QTest::addColumn<QString>("modeShown");     // the mode's list as the sequence left it
    QTest::newRow("scan, never answers") << false << QStringList{"--silent"} << Pace << QString()
                                         << scanLines().mid(0, 1) << 0 << "0";
    // A reply that comes after the second tick counts as no reply at all:
    // 650 ms late at 300 ms a step, it arrives while the box is open (750 ms
    // from the second tick on), some 350 ms from either end.
    QTest::newRow("scan, answers after the check") << false << QStringList{"--late", "650"} << 300
                                                   << "MODE TCP server" << scanLines().mid(0, 1) << 0 << "0";
    // The mode and the IP go out before the check at step 4, and the module
    // takes them all the same.
    QTest::newRow("write, never answers") << true << QStringList{"--silent"} << FastPace << QString()
                                          << filledWriteLines().mid(0, 2) << 2 << "2";
    // 800 ms late: no acknowledgement of the mode or the IP by the check at
    // step 4; the mode's comes while the box is open, some 350 ms from
    // either end.
    QTest::newRow("write, acknowledges after the check") << true << QStringList{"--late", "800"} << FastPace << "ok"
                                                         << filledWriteLines().mid(0, 2) << 2 << "2";
}

void tst_FaultsModule::silentModule()
{
    QFETCH(bool, write);
    QFETCH(QStringList, args);
    QFETCH(int, pace);
    QFETCH(QString, late);
    QFETCH(QByteArrayList, sent);
    QFETCH(int, stored);
    QFETCH(QString, modeShown);
    SimProcess sim;
    Modals boxes;
    boxes.holdMs = 750; // the user reads the box for a while
    MainWindow w;
    const char *sequenceButton = write ? "applyButton" : "scan_parameters";
    QStringList underBox;
    boxes.onModal = [&] {
        underBox << caption(w, "connect") << caption(w, sequenceButton) << running(w) << styleOf(w, "comboBox_mode")
                 << styleOf(w, "lineEdit_ip");
    };
    w.show();
    QVERIFY(startAndConnect(w, sim, args));
    QVERIFY(write ? startWrite(w, pace) : startScan(w, pace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 3000);
    QCOMPARE(boxes.seen[0].title, boxConnectionError);
    QCOMPARE(boxes.seen[0].text, boxNoModule);
    QCOMPARE(boxes.seen[0].icon, int(QMessageBox::Critical));
    // The box comes up while the connection still stands; the sequence has
    // stopped before it, so a late reply judges nothing.
    QCOMPARE(underBox, QStringList({captionConnected, write ? captionStopWrite : captionStopScan, QString(), QString(),
                                    QString()}));
    QCOMPARE(controls(w), atRest(Disconnected));
    QCOMPARE(MainWindowProbe(w).scanAllStep(), 0);
    QCOMPARE(MainWindowProbe(w).writeAllStep(), 0);
    // A reply that came while the box was open is only stored.
    QTRY_COMPARE_WITH_TIMEOUT(MainWindowProbe(w).answer(), late, 2000);
    QTest::qWait(3 * pace);
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(sim.received(), sent);
    QCOMPARE(stateDiffers(sim, firstWritten(stored)), QString());
    QVERIFY(!MainWindowProbe(w).resetPending());
    // The form shows nothing of a reply.
    QCOMPARE(shown(w, "comboBox_mode"), modeShown);
    QVERIFY(text(w, "lineEdit_version").isEmpty());
    QCOMPARE(styleOf(w, "lineEdit_version"), QString());
}

void tst_FaultsModule::lateReplyTakenForNextCommand()
{
    // Replies a step and a half late (the module's 20 ms command gap and
    // 580 ms, at 400 ms a step) are handled under the next step, some 200 ms
    // from either of its ends: the first characters are skipped unseen and
    // the rest goes into the next field. The first step is long enough for
    // its own reply and the check at step 2.
    const int late = 580;
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    QVERIFY(startAndConnect(w, sim, {"--late", QString::number(late)}));
    paceAfterStep(w, "scanAllTimer", 1, 1000);
    paceAfterStep(w, "scanAllTimer", 2, 400);
    QVERIFY(startScan(w, 400));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 20000);
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
        QVERIFY2(tx[i] - rx[i] >= late - 1, qPrintable(QString::number(tx[i] - rx[i])));
    QVERIFY(MainWindowProbe(w).serial().isOpen());
}

void tst_FaultsModule::lateAcknowledgementTakenForNextChange()
{
    // At 400 ms a step, 980 ms late (and the module's 20 ms command gap)
    // lands in the step after the next change went out, 200 ms from either
    // of its ends: every "ok" is taken for the next change.
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    QVERIFY(startAndConnect(w, sim, {"--late", "980"}));
    QVERIFY(startWrite(w, 400));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 27 * 400 + 5000);
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

void tst_FaultsModule::splitReply_data()
{
    QTest::addColumn<int>("splitMs");
    // The window's reply gap is 50 ms: the halves 45 ms inside it, or 150 ms
    // beyond it and 180 ms before the next step of the scan.
    QTest::newRow("halves inside the reply gap") << 5;
    QTest::newRow("halves beyond the reply gap") << 200;
}

void tst_FaultsModule::splitReply()
{
    QFETCH(int, splitMs);
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    QVERIFY(startAndConnect(w, sim, {"--split", QString::number(splitMs)}));
    QVERIFY(startScan(w, 400));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 16 * 400 + 5000);
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

void tst_FaultsModule::splitAcknowledgement_data()
{
    splitReply_data();
}

void tst_FaultsModule::splitAcknowledgement()
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

void tst_FaultsModule::refused_data()
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

void tst_FaultsModule::refused()
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
    SequenceWatch write(w, "writeAllTimer");
    write.paceByReplies(FastPace);
    QVERIFY(startWrite(w, FastPace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 27 * FastPace + 10000);
    QCOMPARE(boxes.seen[0].title, boxError);
    QCOMPARE(boxes.seen[0].text, message);
    QCOMPARE(boxes.seen[0].icon, int(QMessageBox::Critical));
    QCOMPARE(fieldStyleUnderBox, styleError);
    QTest::qWait(3 * FastPace);
    QCOMPARE(boxes.count(), 1);
    // Nothing after the failing change, no reboot; the link stays up.
    QCOMPARE(sim.received(), filledWriteLines().mid(0, failing + 1));
    QCOMPARE(controls(w), atRest(Connected));
    for (const QString &name : paramFields)
        QCOMPARE(styleOf(w, name), QString());
    QVERIFY(!MainWindowProbe(w).resetPending());
    QCOMPARE(stateDiffers(sim, firstWritten(stored)), QString());
}

void tst_FaultsModule::garbage()
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
    SequenceWatch scan(w, "scanAllTimer");
    scan.paceByReplies(Pace);
    QVERIFY(startScan(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 16 * Pace + 10000);
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

void tst_FaultsModule::burst64k()
{
    // Every command answered with 64 KiB of random bytes. (How long the
    // event loop stalls under such bursts the benchmark measures.)
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    QVERIFY(startAndConnect(w, sim, {"--burst", "65536"}));
    QVERIFY(startScan(w, 300));
    QTRY_COMPARE_WITH_TIMEOUT(running(w), QString(), 16 * 300 + 5000);
    // The reads cut a burst where they fall, and a piece that begins with a
    // NUL leaves the answer empty (the empty-reply box): when that is the
    // last piece of the first burst, the scan stops at its check of the first
    // reply with the silent-module box, as for a module that said nothing.
    // How often depends on the machine's speed, not on the program.
    bool stoppedAtCheck = false;
    for (const Modals::Seen &b : boxes.seen) {
        stoppedAtCheck = stoppedAtCheck || b.title == boxConnectionError;
        QVERIFY2(b.title == boxEmptyReply || b.title == boxConnectionError, qPrintable(b.title));
    }
    const QByteArrayList sent = stoppedAtCheck ? scanLines().mid(0, 1) : scanLines();
    QCOMPARE(sim.received(), sent);
    // Every command was answered by a whole burst.
    const auto txBytes = [&] {
        int n = 0;
        for (const LogEvent &e : sim.events())
            n += e.kind == QLatin1String("TX") ? e.bytes.size() : 0;
        return n;
    };
    QTRY_COMPARE_WITH_TIMEOUT(txBytes(), int(sent.size()) * 65536, 2000);
    QCOMPARE(sim.count(QStringLiteral("ERROR")), 0);
    QVERIFY(MainWindowProbe(w).answer().size() <= 65536);
    QCOMPARE(caption(w, "scan_parameters"), captionScan);
    QCOMPARE(MainWindowProbe(w).serial().isOpen(), !stoppedAtCheck);
}

void tst_FaultsModule::garbageAndBurstsInWrite_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("garbage") << QStringList{"--garbage"};
    QTest::newRow("64 KiB bursts") << QStringList{"--burst", "65536"};
}

void tst_FaultsModule::garbageAndBurstsInWrite()
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

void tst_FaultsModule::vanishDuringScan_data()
{
    QTest::addColumn<int>("after");
    for (int n = 1; n <= 15; ++n)
        QTest::addRow("after query %d (%s)", n, scanLines()[n - 1].constData()) << n;
}

void tst_FaultsModule::vanishDuringScan()
{
    QFETCH(int, after);
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    QVERIFY(startAndConnect(w, sim, {"--vanish-after", QString::number(after)}, 150));
    SequenceWatch scan(w, "scanAllTimer");
    scan.paceByReplies(FastPace);
    // The step after the last query waits long enough for the loss to be
    // noticed first, however busy the machine (after the first query, the
    // check for a silent module would come before it).
    scan.holdAfter(after, 3000);
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

QTEST_MAIN(tst_FaultsModule)
#include "tst_faults_module.moc"
