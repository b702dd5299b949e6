// The module's device going away, end to end: during a write, at every
// change, and on the reboot commands; each time the window must come to
// rest disconnected, connect again once the device is back and complete a
// scan that shows what the module holds. The window's own code against the
// gateway-sim program on a pseudo-terminal, driven through the buttons.
#include <QtTest>

#include <QMessageBox>
#include <QTemporaryDir>

#include "boxwatcher.h"
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
    QTemporaryDir dir;
    SimProcess sim(dir.path());
    QVERIFY(sim.start({"--vanish-after", QString::number(after)}, RestartDelay));
    BoxWatcher boxes;
    MainWindow w;
    QVERIFY(connectTo(w, sim.link));
    fillForm(w);
    startSequence(w, "applyButton", "writeAllTimer", Pace);
    QVERIFY(boxes.waitForCount(1, 27 * Pace + 3000));
    QCOMPARE(boxes.boxes[0].title, boxLost);
    QCOMPARE(boxes.boxes[0].text, boxConnectionError);
    QCOMPARE(boxes.boxes[0].icon, int(QMessageBox::Critical));
    verifyDisconnected(w);
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
    QTest::newRow("reboot button") << "Reset" << true << QByteArrayList{"RESET"} << true;
    QTest::newRow("factory reset") << "reset_allparameters" << true << QByteArrayList{"LOAD SETTING:DEFAULT"}
                                   << false;
    QTest::newRow("end of a write") << "applyButton" << false << filledWriteLines() << true;
}

void tst_FaultsLoss::reboot()
{
    QFETCH(QString, how);
    QFETCH(bool, preloaded);
    QFETCH(QByteArrayList, sent);
    QFETCH(bool, writtenAfter);
    QTemporaryDir dir;
    SimProcess sim(dir.path());
    if (preloaded)
        QVERIFY(writeState(sim.statePath, firstWritten(params().size())));
    QVERIFY(sim.start({}, RestartDelay));
    BoxWatcher boxes;
    boxes.answer = answerYes;
    MainWindow w;
    QVERIFY(connectTo(w, sim.link));
    QVERIFY(!MainWindowProbe(w).resetPending());
    if (how == QLatin1String("applyButton")) {
        fillForm(w);
        startSequence(w, "applyButton", "writeAllTimer", Pace);
    } else {
        button(w, how.toLatin1().constData())->click();
    }
    QVERIFY(sim.waitFor(QStringLiteral("VANISH"), 1, 27 * Pace + 3000));
    QVERIFY(QTest::qWaitFor([&] { return !MainWindowProbe(w).serial().isOpen(); }, 2000));
    QTest::qWait(2 * Pace);
    // A reboot command was sent: the loss is quiet.
    for (const BoxWatcher::Box &b : boxes.boxes)
        QVERIFY2(b.title != boxLost, qPrintable(b.text));
    if (how == QLatin1String("applyButton")) {
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.boxes[0].title, boxWriteResult);
    } else if (how == QLatin1String("reset_allparameters")) {
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.boxes[0].title, boxFactoryReset);
    } else {
        QCOMPARE(boxes.count(), 0);
    }
    verifyDisconnected(w);
    QCOMPARE(sim.received(), sent);
    // The reboot stays pending while the port is closed.
    QVERIFY(MainWindowProbe(w).resetPending());

    // The connection made afterwards clears the pending reboot: its loss is
    // reported again.
    reconnectAndScan(w, sim, boxes, QVector<bool>(params().size(), writtenAfter), Pace);
    QVERIFY(!MainWindowProbe(w).resetPending());
}

QTEST_MAIN(tst_FaultsLoss)
#include "tst_faults_loss.moc"
