// The module's device going away, end to end: during a write, at every
// change, and on the reboot commands; each time the window must come to
// rest disconnected, connect again once the device is back and complete a
// scan that shows what the module holds. The window's own code against the
// gateway-sim program on a pseudo-terminal, driven through the buttons.
#include <QtTest>

#include <QMessageBox>

#include "modals.h"
#include "probe.h"
#include "simprocess.h"
#include "window.h"

using namespace support;

namespace {
constexpr int Pace = 150;
constexpr int RestartDelay = 150;
} // namespace

class tst_FaultsLoss : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("gateway.*.debug=false")); }
    void vanishDuringWrite_data();
    void vanishDuringWrite();
    void reboot_data();
    void reboot();
};

void tst_FaultsLoss::vanishDuringWrite_data()
{
    QTest::addColumn<int>("after");
    const QByteArrayList lines = filledWriteLines();
    for (int n = 1; n <= 13; ++n)
        QTest::addRow("after change %d (%s)", n, lines[n - 1].constData()) << n;
}

void tst_FaultsLoss::vanishDuringWrite()
{
    QFETCH(int, after);
    SimProcess sim;
    Modals boxes;
    MainWindow w;
    QVERIFY(startAndConnect(w, sim, {"--vanish-after", QString::number(after)}, RestartDelay));
    SequenceWatch write(w, "writeAllTimer");
    write.paceByReplies(Pace);
    // The step after the last change waits long enough for the loss to be
    // noticed first, however busy the machine: otherwise the check for its
    // reply may fail the write before.
    write.holdAfter(2 * after - 1, 3000);
    QVERIFY(startWrite(w, Pace));
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 27 * Pace + 10000);
    QCOMPARE(boxes.seen[0].title, boxLost);
    QCOMPARE(boxes.seen[0].text, boxConnectionError);
    QCOMPARE(boxes.seen[0].icon, int(QMessageBox::Critical));
    QCOMPARE(controls(w), atRest(Disconnected));
    QCOMPARE(MainWindowProbe(w).writeAllStep(), 0);
    for (const Param &p : params())
        QCOMPARE(styleOf(w, QLatin1String(p.field)), QString());
    QVERIFY(!MainWindowProbe(w).resetPending());
    QTest::qWait(2 * Pace);
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(sim.received(), filledWriteLines().mid(0, after));
    QCOMPARE(sim.count(QStringLiteral("VANISH")), 1);
    QCOMPARE(sim.count(QStringLiteral("CHANGED")), after);

    // Back again: a scan shows the changes made before the loss and the
    // factory values of the rest.
    reconnectAndScan(w, sim, boxes, firstWritten(after), Pace);
}

void tst_FaultsLoss::reboot_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("preloaded"); // the module starts with the written values
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<bool>("writtenAfter");
    QTest::addColumn<QStringList>("boxesShown");
    QTest::newRow("reboot button") << "Reset" << true << QByteArrayList{"RESET"} << true << QStringList();
    QTest::newRow("factory reset") << "reset_allparameters" << true << QByteArrayList{"LOAD SETTING:DEFAULT"}
                                   << false << QStringList{boxFactoryReset};
    QTest::newRow("end of a write") << "applyButton" << false << filledWriteLines() << true
                                    << QStringList{boxWriteResult};
}

void tst_FaultsLoss::reboot()
{
    QFETCH(QString, how);
    QFETCH(bool, preloaded);
    QFETCH(QByteArrayList, sent);
    QFETCH(bool, writtenAfter);
    QFETCH(QStringList, boxesShown);
    SimProcess sim;
    if (preloaded)
        QVERIFY(writeState(sim.statePath, firstWritten(params().size())));
    Modals boxes;
    boxes.answer = answerYes;
    MainWindow w;
    QVERIFY(startAndConnect(w, sim, {}, RestartDelay));
    QVERIFY(!MainWindowProbe(w).resetPending());
    SequenceWatch write(w, "writeAllTimer");
    write.paceByReplies(Pace);
    if (how == QLatin1String("applyButton"))
        QVERIFY(startWrite(w, Pace));
    else
        button(w, how)->click();
    QTRY_COMPARE_WITH_TIMEOUT(sim.count(QStringLiteral("VANISH")), 1, 27 * Pace + 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!MainWindowProbe(w).serial().isOpen(), 2000);
    QTest::qWait(2 * Pace);
    // A reboot command was sent: the loss is quiet; the box is the
    // command's own, if any.
    QCOMPARE(boxes.titles(), boxesShown);
    QCOMPARE(controls(w), atRest(Disconnected));
    QCOMPARE(sim.received(), sent);
    // The reboot stays pending while the port is closed.
    QVERIFY(MainWindowProbe(w).resetPending());

    // The connection made afterwards clears the pending reboot: its loss is
    // reported again.
    reconnectAndScan(w, sim, boxes, QVector<bool>(params().size(), writtenAfter), Pace);
}

QTEST_MAIN(tst_FaultsLoss)
#include "tst_faults_loss.moc"
