// The module's device going away, end to end: during a write, at every
// change, and on the reboot commands; each time the window must come to
// rest disconnected, connect again once the device is back and complete a
// scan that shows what the module holds. The window's own code against the
// gateway-sim program on a pseudo-terminal, driven through the buttons.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include "boxwatcher.h"
#include "probe.h"
#include "simharness.h"

using namespace simharness;

namespace {
constexpr int Pace = 150;
constexpr int RestartDelay = 150;

QVector<bool> firstWritten(int n)
{
    QVector<bool> v(params().size(), false);
    for (int i = 0; i < n && i < v.size(); ++i)
        v[i] = true;
    return v;
}

// A state file that holds the written value of every parameter.
bool writeState(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write("mode=client\nip=10.0.0.2\nmask=255.0.0.0\ngateway=10.0.0.1\nport_tcp=10502\nparity=odd\n"
            "speed=115200\nstop_bits=2\ntimeout_response=2500\nip_server_tcp=10.0.0.9\ntimeout_tcp=120\n"
            "rtu_virtual_id=17\ntcp_slave_id=5\n");
    return f.error() == QFile::NoError;
}
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
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Critical Error"));
    QCOMPARE(boxes.boxes[0].text, QStringLiteral("Ошибка соединения"));
    QCOMPARE(boxes.boxes[0].icon, int(QMessageBox::Critical));
    verifyDisconnected(w, MainWindowProbe(w).serial().isOpen());
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
        QVERIFY(writeState(sim.statePath));
    QVERIFY(sim.start({}, RestartDelay));
    BoxWatcher boxes;
    boxes.answer = QStringLiteral("Да");
    MainWindow w;
    QVERIFY(connectTo(w, sim.link));
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
        QVERIFY2(b.title != QLatin1String("Critical Error"), qPrintable(b.text));
    if (how == QLatin1String("applyButton")) {
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.boxes[0].title, QStringLiteral("Результы изменения"));
    } else if (how == QLatin1String("reset_allparameters")) {
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.boxes[0].title, QStringLiteral("Сброс"));
    } else {
        QCOMPARE(boxes.count(), 0);
    }
    verifyDisconnected(w, MainWindowProbe(w).serial().isOpen());
    QCOMPARE(sim.received(), sent);

    // The connection made afterwards clears the pending reboot: its loss is
    // reported again.
    reconnectAndScan(w, sim, boxes, QVector<bool>(params().size(), writtenAfter), Pace);
    QVERIFY(!MainWindowProbe(w).resetPending());
}

QTEST_MAIN(tst_FaultsLoss)
#include "tst_faults_loss.moc"
