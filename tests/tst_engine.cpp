// The engine in this process, without a device: Commissioning and its
// ModuleSession driven against a module scripted behind their link
// (scriptedlink.h), so that it runs wherever the program does, under Wine
// too. What each kind of plan steps through and the milestones it tells,
// and how each way a module fails ends the job: its outcome, the detail
// given, the keys the module took, and the result word and exit status
// gateway-cli makes of it.
#include <QtTest>

#include "commissioning.h"
#include "exitcode.h"
#include "netrules.h"
#include "scriptedlink.h"
#include "words.h"

using namespace support;
using Outcome = Commissioning::Outcome;
using Faults = ScriptedLink::Faults;

Q_DECLARE_METATYPE(Faults)
Q_DECLARE_METATYPE(Commissioning::Plan)

namespace {

// The scripted module answers at once: the pace need not wait for it.
constexpr int Pace = 1;

QVector<proto::Param> scanOrder()
{
    return QVector<proto::Param>(std::begin(proto::order::scan), std::end(proto::order::scan));
}

Commissioning::Plan writePlan(QVector<proto::Param> before, bool onlyChanged)
{
    Commissioning::Plan plan;
    plan.before = std::move(before);
    plan.onlyChanged = onlyChanged;
    plan.changes.set(proto::Param::Ip, QStringLiteral("10.0.0.5"));
    // The factory mask: unchanged, dropped when only the changed are written.
    plan.changes.set(proto::Param::Mask, QString::fromStdString(GatewayModule::factoryValue(proto::Param::Mask)));
    plan.changes.set(proto::Param::Speed, QStringLiteral("115200"));
    plan.action = proto::RebootUniversal;
    plan.readBack = true;
    return plan;
}

// Runs a job to its end; false when it did not end in time.
bool runToEnd(Commissioning &job)
{
    job.start();
    return QTest::qWaitFor([&job] { return job.isFinished(); }, 30000);
}

} // namespace

class tst_Engine : public QObject
{
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void failures_data();
    void failures();
};

void tst_Engine::steps_data()
{
    QTest::addColumn<Commissioning::Plan>("plan");
    // The steps announced, a run of steps of one kind as "kind xN".
    QTest::addColumn<QString>("steps");
    // Every total announced, in order.
    QTest::addColumn<QList<int>>("totals");
    // The milestones reached, in order.
    QTest::addColumn<QString>("milestones");

    Commissioning::Plan identity;
    identity.before = {proto::Param::Mac, proto::Param::Version};
    QTest::newRow("find") << identity << "open | scan x2" << QList<int>{3} << "Opened Scanned";
    Commissioning::Plan scan;
    scan.before = scanOrder();
    QTest::newRow("scan") << scan << "open | scan x15" << QList<int>{16} << "Opened Scanned";
    // Without the wait, the job ends once the line has left the port.
    Commissioning::Plan factory = identity;
    factory.action = proto::FactoryReset;
    QTest::newRow("factory reset, no wait") << factory << "open | scan x2 | LOAD SETTING:DEFAULT" << QList<int>{4}
                                            << "Opened Scanned ActionSent";
    // The device goes with the restart and comes back; the module answers
    // again, and a factory reset is read back.
    Commissioning::Plan reboot = identity;
    reboot.action = proto::Reboot;
    reboot.waitBack = true;
    QTest::newRow("reboot, back") << reboot << "open | scan x2 | RESET | wait for the module" << QList<int>{5}
                                  << "Opened Scanned ActionSent Left Reopened Back";
    factory.readBack = true;
    QTest::newRow("factory reset, back, read") << factory
                                               << "open | scan x2 | LOAD SETTING:DEFAULT | wait for the module | read x15"
                                               << QList<int>{20} << "Opened Scanned ActionSent Left Reopened Back ReadBack";
    Commissioning::Plan noReboot = writePlan(identity.before, false);
    noReboot.action.clear();
    noReboot.readBack = false;
    QTest::newRow("write without reboot") << noReboot << "open | scan x2 | write x3" << QList<int>{6}
                                          << "Opened Scanned Written";
    // The unchanged mask is dropped once the values before are known: the
    // total shrinks from the first change on.
    QTest::newRow("write only the changed, reboot, read back")
        << writePlan(scanOrder(), true) << "open | scan x15 | write x2 | reset | wait for the module | read x15"
        << QList<int>{36, 35} << "Opened Scanned Written ActionSent Left Reopened Back ReadBack";
}

void tst_Engine::steps()
{
    QFETCH(Commissioning::Plan, plan);
    QFETCH(QString, steps);
    QFETCH(QList<int>, totals);
    QFETCH(QString, milestones);
    Commissioning job(new ScriptedLink(Faults()), plan, Pace);
    QStringList reached;
    connect(&job, &Commissioning::reached, this, [&](Commissioning::Milestone m) {
        reached << QLatin1String(QMetaEnum::fromType<Commissioning::Milestone>().valueToKey(int(m)));
    });
    QStringList kinds;
    QList<int> counts;
    QList<int> seenTotals;
    int last = 0;
    connect(&job, &Commissioning::stepStarted, this, [&](int step, int total, const QString &what) {
        QVERIFY2(step == last + 1, qPrintable(QStringLiteral("step %1 after %2").arg(step).arg(last)));
        last = step;
        if (seenTotals.isEmpty() || seenTotals.last() != total)
            seenTotals << total;
        const QString kind = what.section(QLatin1Char(' '), 0, 0);
        if (!kinds.isEmpty() && kinds.last().section(QLatin1Char(' '), 0, 0) == kind) {
            ++counts.last();
            kinds.last() = kind;
        } else {
            kinds << what;
            counts << 1;
        }
    });
    QVERIFY(runToEnd(job));
    QCOMPARE(job.result().outcome, Outcome::Ok);
    for (int i = 0; i < kinds.size(); ++i)
        if (counts[i] > 1)
            kinds[i] += QStringLiteral(" x%1").arg(counts[i]);
    QCOMPARE(kinds.join(QStringLiteral(" | ")), steps);
    QCOMPARE(seenTotals, totals);
    QCOMPARE(last, totals.last());
    QCOMPARE(reached.join(QLatin1Char(' ')), milestones);
    QVERIFY(plan.action.isEmpty() || !plan.waitBack || job.result().backAfterMs >= 0);
}

void tst_Engine::failures_data()
{
    QTest::addColumn<Faults>("faults");
    QTest::addColumn<int>("rebootTimeoutMs");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("detail"); // its beginning
    QTest::addColumn<QString>("word");   // gateway-cli's result word
    QTest::addColumn<int>("exit");       // and exit status
    QTest::addColumn<QByteArray>("lastLine"); // the last line the module received
    QTest::addColumn<QString>("written");     // the keys the module took, in order

    const QByteArray mask = "CHANGE MASK:" + QByteArray::fromStdString(GatewayModule::factoryValue(proto::Param::Mask));
    Faults f;
    f.busyOpens = 1;
    QTest::newRow("port held") << f << 30000 << Outcome::Busy << "cannot open the port: Permission denied"
                               << "busy" << 3 << QByteArray() << "";
    f = Faults();
    f.missing = true;
    QTest::newRow("no such port") << f << 30000 << Outcome::NoPort << "cannot open the port: No such file or directory"
                                  << "no-port" << 3 << QByteArray() << "";
    f = Faults();
    f.notSerial = true;
    QTest::newRow("no serial device") << f << 30000 << Outcome::NotSerial
                                      << "cannot open the port: Inappropriate ioctl" << "not-serial" << 3
                                      << QByteArray() << "";
    f = Faults();
    f.replyOn = "version";
    f.reply = "version\r\n";
    QTest::newRow("no value") << f << 30000 << Outcome::BadValue << "version: " << "mismatch" << 1
                              << QByteArray("version") << "";
    // Bytes that are no reply of the protocol's, shown escaped.
    f = Faults();
    f.replyOn = "version";
    f.reply = QByteArray("\xff\xfe\x00g\r\n", 6);
    QTest::newRow("garbage for a query") << f << 30000 << Outcome::Garbled
                                         << "version: the reply \"\\xff\\xfe\\x00g\\r\\n\" is not the module's"
                                         << "garbled" << 3 << QByteArray("version") << "";
    f = Faults();
    f.ack = "OK";
    QTest::newRow("acknowledged with another word") << f << 30000 << Outcome::Garbled
                                                    << "ip: the reply \"OK\" is neither \"ok\" nor \"?\""
                                                    << "garbled" << 3 << QByteArray("CHANGE IP:10.0.0.5") << "";
    f = Faults();
    f.silentOn = mask;
    QTest::newRow("silent at a change") << f << 30000 << Outcome::Silent << "no reply (write mask)" << "silent" << 3
                                        << f.silentOn << "ip";
    f = Faults();
    f.lostOn = "CHANGE IP:10.0.0.5";
    QTest::newRow("lost at a change") << f << 30000 << Outcome::Lost << "the port went away (write ip): device gone"
                                      << "lost" << 3 << f.lostOn << "";
    // The acknowledgement came, and the device went within its gap: the
    // module took the change all the same.
    f = Faults();
    f.lostAfterReplyOn = mask;
    QTest::newRow("lost right after an acknowledgement")
        << f << 30000 << Outcome::Lost << "the port went away (write speed)" << "lost" << 3 << mask << "ip mask";
    // Stopped while a change is on the wire: its acknowledgement is awaited,
    // and nothing is sent after it.
    f = Faults();
    f.stopOn = mask;
    QTest::newRow("interrupted at a change") << f << 30000 << Outcome::Interrupted << "stopped at \"write mask\""
                                             << "interrupted" << 130 << mask << "ip mask";
    // The module's gateway lies outside the subnet the changes make: nothing
    // is written.
    f = Faults();
    f.gateway = "192.168.7.1";
    QTest::newRow("values that cannot work with the module's own")
        << f << 30000 << Outcome::Invalid << "gateway=192.168.7.1: outside the module's subnet 10.0.0.0/24"
        << "invalid" << 2 << QByteArray("GATEWAY") << "";
    // The module restarts at once: its device goes while the reboot is
    // written, and is away for one try.
    f = Faults();
    f.writeFailsOnReboot = true;
    f.awayAfterReboot = 1;
    QTest::newRow("lost during the reboot, back") << f << 30000 << Outcome::Ok << "" << "ok" << 0
                                                  << QByteArray("tcp slave id") << "ip mask speed";
    f = Faults();
    f.awayAfterReboot = -1;
    QTest::newRow("not back") << f << 1500 << Outcome::NotBack << "the module did not come back within 1.5 s"
                              << "lost" << 3 << QByteArray("reset") << "ip mask speed";
    f = Faults();
    f.forgetsIp = true;
    QTest::newRow("reads back another value") << f << 30000 << Outcome::Mismatch
                                              << "ip: wrote \"10.0.0.5\", reads \"192.168.0.1\"" << "mismatch" << 1
                                              << QByteArray("tcp slave id") << "ip mask speed";
}

void tst_Engine::failures()
{
    QFETCH(Faults, faults);
    QFETCH(int, rebootTimeoutMs);
    QFETCH(Outcome, outcome);
    QFETCH(QString, detail);
    QFETCH(QString, word);
    QFETCH(int, exit);
    QFETCH(QByteArray, lastLine);
    QFETCH(QString, written);
    auto *link = new ScriptedLink(faults);
    // The network's rules judged as gateway-cli judges them, with the
    // module's gateway read first.
    Commissioning::Plan plan = writePlan({proto::Param::Mac, proto::Param::Version, proto::Param::Gateway}, false);
    plan.rebootTimeoutMs = rebootTimeoutMs;
    plan.judge = NetRules::jointFaults;
    Commissioning job(link, plan, Pace);
    // As Ctrl+C comes: from the event loop, the line written, its reply
    // not yet in.
    connect(link, &ScriptedLink::lineWritten, this, [&](const QByteArray &line) {
        if (line == faults.stopOn)
            job.stop();
    }, Qt::QueuedConnection);
    QVERIFY(runToEnd(job));
    const Commissioning::Result &r = job.result();
    QCOMPARE(r.outcome, outcome);
    QVERIFY2(detail.isEmpty() ? r.detail.isEmpty() : r.detail.startsWith(detail), qPrintable(r.detail));
    QCOMPARE(cli::resultWord(r.outcome), word);
    QCOMPARE(cli::exitCodeOf(r.outcome), exit);
    // Nothing is sent after the line that failed.
    QCOMPARE(link->received.value(link->received.size() - 1), lastLine);
    QVERIFY(!link->device()->isOpen());
    QStringList keys;
    for (const proto::Param p : r.written)
        keys << proto::nameOf(p);
    QCOMPARE(keys.join(QLatin1Char(' ')), written);
}

QTEST_GUILESS_MAIN(tst_Engine)
#include "tst_engine.moc"
