// The bridge proven over this machine's loopback: gateway-cli check through
// gateway-sim's network side to its simulated field devices, the faults of
// the connection, a restart that applies new line settings, serve with a
// module in client mode, the check that ends a write and a batch's rows, and
// bad input refused before anything is sent. Every address is 127.0.0.1 and
// every port one the system picked.
#include <QtTest>

#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>

#include <memory>
#include <vector>

#include <csignal>
#include <sys/ioctl.h>

#include "cliprocess.h"
#include "files.h"
#include "plan.h"
#include "ptyhelper.h"
#include "simprocess.h"
#include "terminal.h"

using namespace support;

namespace {

// The module's state for these tests: a short response time-out, so that a
// 0x0B comes soon.
QByteArray state(const QByteArray &extra = QByteArray())
{
    return "timeout_response=200\n" + extra;
}

QVector<int> valuesOf(const QJsonObject &request)
{
    QVector<int> out;
    for (const QJsonValue &v : request.value(QStringLiteral("values")).toArray())
        out << v.toInt();
    return out;
}

} // namespace

class tst_Bridge : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void refused();
    void interruptedRepeat_data();
    void interruptedRepeat();
    void restartAppliesLineSettings();
    void writeCheck();
    void writeCheckRefusesClientMode_data();
    void writeCheckRefusesClientMode();
    void batchChecks();
    void serveClientMode_data();
    void serveClientMode();
    void badInputSendsNothing_data();
    void badInputSendsNothing();

private:
    QTemporaryDir dir;
};

void tst_Bridge::check_data()
{
    QTest::addColumn<QByteArray>("moduleState");
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QStringList>("checkOptions");
    QTest::addColumn<int>("status");
    // Per read: its values joined by blanks, or "exception N", or the error.
    QTest::addColumn<QStringList>("answers");
    // What the hints must name, "" when nothing.
    QTest::addColumn<QStringList>("hints");

    const QStringList field{QStringLiteral("--field"), QStringLiteral("1@9600/none/1"), QStringLiteral("--field"),
                            QStringLiteral("3@19200/odd/2")};
    QTest::newRow("matching devices") << state("speed=19200\nparity=odd\nstop_bits=2\n") << field
                                      << QStringList{"--unit",  "3",      "--read",   "hr:0:2", "--read",
                                                     "ir:10:1", "--read", "coil:0:5", "--read", "di:1:2"}
                                      << 0 << QStringList{"3000 3001", "3510", "1 0 1 0 1", "1 0"}
                                      << QStringList{"", "", "", ""};
    // The device's own exception proves the path: said so, with the read.
    QTest::newRow("device refuses an address")
        << state() << field << QStringList{"--read", "hr:0:2", "--read", "hr:999:2"} << 4
        << QStringList{"1000 1001", "exception 2"} << QStringList{"", "path through the gateway works.*hr:999:2"};
    // The settings file names the module's values in the hint.
    QTest::newRow("parity differs") << state("parity=even\n") << field
                                    << QStringList{"--read", "hr:0:2", "--file", "module.TRset"} << 1
                                    << QStringList{"exception 11"}
                                    << QStringList{"unit 1 .*speed 9600, parity even, stop_bits 1.*timeout_response"};
    QTest::newRow("no device for the unit")
        << state() << field << QStringList{"--unit", "7", "--read", "hr:0:1"} << 1 << QStringList{"exception 11"}
        << QStringList{"unit 7 .*speed, parity and stop bits"};
    QTest::newRow("stalled") << state() << QStringList{"--tcp-stall"}
                             << QStringList{"--read", "hr:0:1", "--timeout", "300"} << 1 << QStringList{"timeout"}
                             << QStringList{"No reply within 300 ms"};
    // Closed after the first reply: the rest unanswered, never reopened.
    QTest::newRow("dropped") << state() << (field + QStringList{"--tcp-drop-after", "1"})
                             << QStringList{"--read", "hr:0:1", "--read", "hr:1:1", "--read", "hr:2:1"} << 1
                             << QStringList{"1000", "closed", "closed"} << QStringList{"", "", ""};
}

void tst_Bridge::check()
{
    QFETCH(QByteArray, moduleState);
    QFETCH(QStringList, simOptions);
    QFETCH(QStringList, checkOptions);
    QFETCH(int, status);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, hints);

    SimProcess sim;
    QVERIFY(writeFile(sim.statePath, moduleState));
    QVERIFY(sim.start(QStringList{"--tcp-listen", "127.0.0.1:0"} + simOptions));
    QTRY_VERIFY(tcpPort(sim) > 0);
    const QString settings = dir.filePath(QStringLiteral("module.TRset"));
    QVERIFY(writeFile(settings, "[General]\nPARITY=3\nSPEED_RS485=4\nSTOP_BIT=1\nTIMEOUT_RESPONSE=200\n"));
    checkOptions.replaceInStrings(QRegularExpression(QStringLiteral("^module\\.TRset$")), settings);

    const CliRun run =
        runCli(QStringList{"check", QStringLiteral("127.0.0.1:%1").arg(tcpPort(sim)), "--json"} + checkOptions);
    QVERIFY2(run.status == status, run.out + run.err);
    const QJsonObject doc = run.json();
    QCOMPARE(doc.value(QStringLiteral("connected")).toBool(), true);
    const QJsonArray requests = doc.value(QStringLiteral("requests")).toArray();
    QCOMPARE(requests.size(), answers.size());
    for (int i = 0; i < answers.size(); ++i) {
        const QJsonObject r = requests[i].toObject();
        QString got;
        if (r.value(QStringLiteral("exception")).isDouble())
            got = QStringLiteral("exception %1").arg(r.value(QStringLiteral("exception")).toInt());
        else if (r.value(QStringLiteral("values")).isArray()) {
            QStringList values;
            for (const int v : valuesOf(r))
                values << QString::number(v);
            got = values.join(QLatin1Char(' '));
        } else
            got = r.value(QStringLiteral("error")).toString();
        QCOMPARE(got, answers[i]);
        const QString hint = r.value(QStringLiteral("hint")).toString();
        if (hints[i].isEmpty())
            QVERIFY2(hint.isEmpty(), qPrintable(hint));
        else
            QVERIFY2(hint.contains(QRegularExpression(hints[i])), qPrintable(hint));
    }
    // Every read went over one connection, in the order given, and none was
    // sent again; after a close nothing more came.
    QCOMPARE(sim.count(QStringLiteral("TCP-ACCEPT")), 1);
    const int sent = QTest::currentDataTag() == QByteArray("dropped") ? 1 : answers.size();
    QVERIFY(sim.count(QStringLiteral("TCP-RX")) >= sent && sim.count(QStringLiteral("TCP-RX")) <= answers.size());
    if (QTest::currentDataTag() == QByteArray("dropped"))
        QVERIFY(doc.value(QStringLiteral("closed_by_gateway")).toBool());
}

// A module whose port refuses: no connection (exit status 3), the hint
// naming the settings that decide it; and a port where nothing is at all.
void tst_Bridge::refused()
{
    SimProcess sim;
    QVERIFY(sim.start({"--tcp-listen", "127.0.0.1:0", "--tcp-refuse"}));
    QTRY_VERIFY(tcpPort(sim, QStringLiteral("TCP-REFUSE")) > 0);
    for (const int port : {tcpPort(sim, QStringLiteral("TCP-REFUSE")), freePort()}) {
        const CliRun run = runCli({"check", QStringLiteral("127.0.0.1:%1").arg(port), "--json"});
        QVERIFY2(run.status == 3, run.out + run.err);
        const QJsonObject doc = run.json();
        QCOMPARE(doc.value(QStringLiteral("connected")).toBool(), false);
        QCOMPARE(doc.value(QStringLiteral("failure")).toString(), QStringLiteral("refused"));
        QVERIFY(doc.value(QStringLiteral("requests"))
                    .toArray()
                    .first()
                    .toObject()
                    .value(QStringLiteral("values"))
                    .isNull());
        const QString hint = doc.value(QStringLiteral("hint")).toString();
        QVERIFY2(hint.contains(QStringLiteral("mode server"))
                     && hint.contains(QStringLiteral("port_tcp is %1").arg(port)),
                 qPrintable(hint));
    }
    QCOMPARE(sim.count(QStringLiteral("TCP-ACCEPT")), 0);
}

void tst_Bridge::interruptedRepeat_data()
{
    QTest::addColumn<bool>("json");
    QTest::newRow("text") << false;
    QTest::newRow("json") << true;
}

// Ctrl+C in a long --repeat prints what was read by then (with --json one
// whole document) and exits 130.
void tst_Bridge::interruptedRepeat()
{
    QFETCH(bool, json);
    SimProcess sim;
    QVERIFY(writeFile(sim.statePath, state()));
    QVERIFY(sim.start({"--tcp-listen", "127.0.0.1:0", "--field", "1@9600/none/1"}));
    QTRY_VERIFY(tcpPort(sim) > 0);
    QProcess check;
    check.setProgram(QStringLiteral(GATEWAY_CLI_PATH));
    check.setArguments(QStringList{"check", QStringLiteral("127.0.0.1:%1").arg(tcpPort(sim)), "--repeat", "100000"}
                       + (json ? QStringList{"--json"} : QStringList()));
    check.start();
    QVERIFY(check.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(sim.count(QStringLiteral("TCP-RX")) >= 3, 20000);
    ::kill(pid_t(check.processId()), SIGINT);
    QVERIFY(check.waitForFinished(20000));
    QCOMPARE(check.exitStatus(), QProcess::NormalExit);
    QCOMPARE(check.exitCode(), 130);
    const QByteArray out = check.readAllStandardOutput();
    if (json) {
        QJsonParseError error;
        const QJsonObject doc = QJsonDocument::fromJson(out, &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, out);
        QCOMPARE(doc.value(QStringLiteral("interrupted")).toBool(), true);
        const QJsonObject r = doc.value(QStringLiteral("requests")).toArray().first().toObject();
        QVERIFY2(r.value(QStringLiteral("round_trips")).toInt() >= 2, out);
        QCOMPARE(valuesOf(r), QVector<int>{1000});
    } else {
        QVERIFY2(out.contains("unit 1 hr:0:1: ") && out.contains("1000 (median") && out.contains("interrupted in round"),
                 out);
    }
}

// The line settings written through the configuration port take effect
// with the module's restart, as the module's do: a check that passed before
// a parity change gets 0x0B after it.
void tst_Bridge::restartAppliesLineSettings()
{
    SimProcess sim;
    QVERIFY(writeFile(sim.statePath, state()));
    QVERIFY(sim.start({"--tcp-listen", "127.0.0.1:0", "--field", "1@9600/none/1"}));
    QTRY_VERIFY(tcpPort(sim) > 0);
    const QStringList read{"--read", "hr:0:2", "--json"};
    CliRun run = runCli(QStringList{"check", QStringLiteral("127.0.0.1:%1").arg(tcpPort(sim))} + read);
    QVERIFY2(run.status == 0, run.out + run.err);

    // Stored, not yet applied: the line keeps its settings until the restart.
    run = runCli({"write", sim.link, "--set", "parity=even", "--no-reboot", "--interval", "50"});
    QVERIFY2(run.status == 0, run.err);
    run = runCli(QStringList{"check", QStringLiteral("127.0.0.1:%1").arg(tcpPort(sim))} + read);
    QVERIFY2(run.status == 0, run.out + run.err);

    const int listens = sim.count(QStringLiteral("TCP-LISTEN"));
    run = runCli({"reboot", sim.link, "--interval", "50"});
    QVERIFY2(run.status == 0, run.err);
    QTRY_COMPARE(sim.count(QStringLiteral("TCP-LISTEN")), listens + 1);
    QVERIFY(sim.count(QStringLiteral("TCP-DOWN")) >= 1);

    run = runCli(QStringList{"check", QStringLiteral("127.0.0.1:%1").arg(tcpPort(sim))} + read);
    QVERIFY2(run.status == 1, run.out + run.err);
    const QJsonObject r = run.json().value(QStringLiteral("requests")).toArray().first().toObject();
    QCOMPARE(r.value(QStringLiteral("exception")).toInt(), 11);
    QCOMPARE(r.value(QStringLiteral("exception_name")).toString(),
             QStringLiteral("Gateway target device failed to respond"));
}

// write --check proves the write's new line settings: a field device at
// 19200 baud is out of reach before the speed is written and answers after
// the module's restart, checked at the same port (given, so that it stays
// the module's across the restart).
void tst_Bridge::writeCheck()
{
    SimProcess sim;
    QVERIFY(writeFile(sim.statePath, state()));
    const int port = freePort();
    QVERIFY(sim.start({"--tcp-listen", QStringLiteral("127.0.0.1:%1").arg(port), "--field", "1@19200/none/1"}));
    QTRY_VERIFY(tcpPort(sim) == port);
    const QString via = QStringLiteral("127.0.0.1:%1").arg(port);
    CliRun run = runCli({"check", via, "--read", "hr:0:2"});
    QVERIFY2(run.status == 1, run.out + run.err);

    run = runCli({"write", sim.link, "--set", "speed=19200", "--check", "hr:0:2", "--via", via, "--json",
                  "--interval", "50"});
    QVERIFY2(run.status == 0, run.out + run.err);
    const QJsonObject doc = run.json();
    QCOMPARE(doc.value(QStringLiteral("result")).toString(), QStringLiteral("ok"));
    const QJsonObject check = doc.value(QStringLiteral("check")).toObject();
    QCOMPARE(check.value(QStringLiteral("port")).toInt(), port);
    // The module's timeout_response + 1000.
    QCOMPARE(check.value(QStringLiteral("timeout_ms")).toInt(), 1200);
    const QJsonArray requests = check.value(QStringLiteral("requests")).toArray();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(valuesOf(requests.first().toObject()), (QVector<int>{1000, 1001}));
    // The check came after the restart: its request after the last listen.
    QVERIFY(sim.times(QStringLiteral("TCP-RX")).last() > sim.times(QStringLiteral("TCP-LISTEN")).last());
}

void tst_Bridge::writeCheckRefusesClientMode_data()
{
    QTest::addColumn<QByteArray>("moduleState");
    QTest::addColumn<QStringList>("set");
    QTest::addColumn<bool>("scanned"); // whether the module was asked its mode
    QTest::newRow("client mode written") << QByteArray() << QStringList{"--set", "mode=client"} << false;
    QTest::newRow("client mode scanned") << QByteArray("mode=client\n") << QStringList{"--set", "parity=even"}
                                         << true;
}

// A module that will be in client mode listens for no check: write --check
// says so and points to serve, before any change is sent.
void tst_Bridge::writeCheckRefusesClientMode()
{
    QFETCH(QByteArray, moduleState);
    QFETCH(QStringList, set);
    QFETCH(bool, scanned);
    SimProcess sim;
    QVERIFY(writeFile(sim.statePath, moduleState));
    QVERIFY(sim.start());
    const CliRun run = runCli(QStringList{"write", sim.link, "--check", "hr:0:2", "--via", "127.0.0.1:502",
                                          "--interval", "50"}
                              + set);
    QVERIFY2(run.status == 2, run.out + run.err);
    QVERIFY2(run.err.contains("client mode") && run.err.contains("serve"), run.err);
    for (const QByteArray &line : sim.received())
        QVERIFY2(!line.toLower().startsWith("change") && !line.startsWith("reset"), line);
    QCOMPARE(sim.received().isEmpty(), !scanned);
    QCOMPARE(sim.state().value(QStringLiteral("parity"), QStringLiteral("none")), QStringLiteral("none"));
}

// A batch of four modules with a check per row, on a terminal: one whose
// field device answers, one whose device refuses the read (its own
// exception: the path works, the row is ok), one whose device runs at
// another speed (0x0B) and one whose port refuses connections. Each failing
// check fails its own row only, the batch exits 1, and the screen tells
// each check running and each row's end as the report does.
void tst_Bridge::batchChecks()
{
    struct Module {
        QStringList options;
        QString check;
        QString result;
        QString checkResult;
    };
    const QList<Module> modules{
        {{"--field", "1@9600/none/1", "--field", "2@9600/none/1"}, "1:hr:0:2 2:ir:0:1", "ok", "ok"},
        {{"--field", "3@9600/none/1"}, "3:hr:999:2", "ok", "exception 0x02"},
        {{"--field", "1@19200/none/1"}, "1:hr:0:2", "no-field-reply", "exception 0x0B"},
        {{"--field", "1@9600/none/1", "--tcp-refuse"}, "1:hr:0:2", "unreachable", "unreachable"},
    };
    std::vector<std::unique_ptr<SimProcess>> sims;
    QString plan = QStringLiteral("port,timeout_response,check,via\n");
    for (int i = 0; i < modules.size(); ++i) {
        sims.push_back(std::make_unique<SimProcess>(QString(), QStringLiteral("gw%1").arg(i)));
        SimProcess &sim = *sims.back();
        QVERIFY(writeFile(sim.statePath, state()));
        const int port = freePort();
        QVERIFY(sim.start(QStringList{"--tcp-listen", QStringLiteral("127.0.0.1:%1").arg(port), "--mac",
                                      QStringLiteral("02:00:00:00:00:1%1").arg(i)}
                          + modules[i].options));
        plan += QStringLiteral("%1,300,%2,127.0.0.1:%3\n").arg(sim.link, modules[i].check).arg(port);
    }
    const QString planPath = dir.filePath(QStringLiteral("checks.csv"));
    const QString reportPath = dir.filePath(QStringLiteral("checks-report.csv"));
    QVERIFY(writeFile(planPath, plan.toUtf8()));
    const CliRun run =
        runCliOnTerminal({"batch", planPath, "--report", reportPath, "--overwrite", "--interval", "50"});
    QVERIFY2(run.status == 1, run.out);
    const csv::Table report = csv::read(readFile(reportPath));
    QCOMPARE(report.records.size(), modules.size() + 1);
    const QStringList header = report.records[0].fields;
    const QStringList screen = screenOf(run.out);
    for (int i = 0; i < modules.size(); ++i) {
        const QStringList fields = report.records[i + 1].fields;
        const auto cell = [&](const char *name) { return fields.value(header.indexOf(QLatin1String(name))); };
        QCOMPARE(cell("result"), modules[i].result);
        QCOMPARE(cell("check"), modules[i].check);
        QCOMPARE(cell("check_result"), modules[i].checkResult);
        QVERIFY(cell("check_ms").toDouble() > 0);
        // Every module was written and read back, whatever its check.
        QCOMPARE(cell("timeout_response"), QStringLiteral("300"));
        // The live row showed the check running; it and the final table end
        // with the row's own result, the check's after it.
        const QString link = sims[std::size_t(i)]->link;
        QVERIFY2(run.out.contains(QStringLiteral("checking %1 at").arg(modules[i].check).toUtf8()), run.out);
        const QString end = QStringLiteral("  %1; the check %2: %3").arg(modules[i].result, modules[i].check,
                                                                        modules[i].checkResult);
        int rows = 0;
        for (const QString &line : screen)
            rows += line.contains(link) && line.trimmed().endsWith(end.trimmed()) && line.contains(end);
        QVERIFY2(rows == 2, qPrintable(screen.join(QLatin1Char('\n'))));
    }
    QVERIFY2(screen.join(QLatin1Char('\n')).contains(QStringLiteral("2 of 4 modules ok")),
             qPrintable(screen.join(QLatin1Char('\n'))));
}

void tst_Bridge::serveClientMode_data()
{
    QTest::addColumn<QByteArray>("slaveId");
    QTest::addColumn<int>("unit");
    // "off": the RTU master's unit (rtu_virtual_id) goes on as it is.
    QTest::newRow("tcp_slave_id off") << QByteArray("off") << 5;
    QTest::newRow("tcp_slave_id 9") << QByteArray("9") << 9;
}

// A module in client mode connects to serve and forwards its RTU master's
// requests with tcp_slave_id; serve answers that unit from its tables
// (each input register its own address) and reports each.
void tst_Bridge::serveClientMode()
{
    QFETCH(QByteArray, slaveId);
    QFETCH(int, unit);

    QProcess serve;
    serve.setProgram(QStringLiteral(GATEWAY_CLI_PATH));
    serve.setArguments({"serve", "127.0.0.1:0", "--for", "4", "--json"});
    serve.start();
    QVERIFY(serve.waitForStarted(10000));
    // Its first line names the port the system picked.
    QByteArray err;
    int port = 0;
    const auto listening = [&] {
        static const QRegularExpression line(QStringLiteral("listening at 127\\.0\\.0\\.1:(\\d+)"));
        err += serve.readAllStandardError();
        port = line.match(QString::fromUtf8(err)).captured(1).toInt();
        return port > 0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(listening(), 10000);

    SimProcess sim;
    QVERIFY(writeFile(sim.statePath, "mode=client\nrtu_virtual_id=5\ntcp_slave_id=" + slaveId + "\n"));
    QVERIFY(sim.start({"--tcp-server", QStringLiteral("127.0.0.1:%1").arg(port), "--rtu-master", "ir:3:4@200"}));

    QVERIFY(serve.waitForFinished(30000));
    QCOMPARE(serve.exitStatus(), QProcess::NormalExit);
    QVERIFY2(serve.exitCode() == 0, err + serve.readAllStandardError());
    const QJsonObject doc = QJsonDocument::fromJson(serve.readAllStandardOutput()).object();
    const QJsonArray requests = doc.value(QStringLiteral("requests")).toArray();
    QVERIFY(!requests.isEmpty());
    for (const QJsonValue &v : requests) {
        const QJsonObject r = v.toObject();
        QCOMPARE(r.value(QStringLiteral("unit")).toInt(), unit);
        QCOMPARE(r.value(QStringLiteral("function")).toInt(), 4);
        QCOMPARE(r.value(QStringLiteral("address")).toInt(), 3);
        QCOMPARE(r.value(QStringLiteral("count")).toInt(), 4);
    }
    QVERIFY(doc.value(QStringLiteral("connections"))
                .toArray()
                .first()
                .toObject()
                .value(QStringLiteral("peer"))
                .toString()
                .startsWith(QStringLiteral("127.0.0.1:")));
    // What came back to the RTU master: input registers 3 to 6 hold 3 to 6.
    int replies = 0;
    for (const LogEvent &e : sim.events()) {
        if (e.kind != QLatin1String("RTU-REPLY") || !e.rest.contains(QStringLiteral(" tid ")))
            continue;
        ++replies;
        QVERIFY2(e.rest.endsWith(QStringLiteral("unit %1 pdu 04 08 00 03 00 04 00 05 00 06").arg(unit)),
                 qPrintable(e.rest));
    }
    QVERIFY(replies >= 1);
}

void tst_Bridge::badInputSendsNothing_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("named"); // what the refusal names

    QTest::newRow("no kind") << QStringList{"--read", "0:2"} << "KIND \"0\"";
    QTest::newRow("unknown kind") << QStringList{"--read", "reg:0"} << "KIND \"reg\"";
    QTest::newRow("address too big") << QStringList{"--read", "hr:65536"} << "ADDRESS \"65536\"";
    QTest::newRow("negative address") << QStringList{"--read", "hr:-1:2"} << "ADDRESS \"-1\"";
    QTest::newRow("too many registers") << QStringList{"--read", "ir:0:126"} << "COUNT \"126\"";
    QTest::newRow("too many bits") << QStringList{"--read", "coil:0:2001"} << "COUNT \"2001\"";
    QTest::newRow("no count") << QStringList{"--read", "hr:0:0"} << "COUNT \"0\"";
    QTest::newRow("past the end") << QStringList{"--read", "hr:65535:2"} << "beyond address 65535";
    QTest::newRow("too many parts") << QStringList{"--read", "hr:0:1:2"} << "not KIND:ADDRESS";
    QTest::newRow("unit 0") << QStringList{"--unit", "0"} << "unit \"0\"";
    QTest::newRow("unit 248") << QStringList{"--unit", "248"} << "unit \"248\"";
    QTest::newRow("one bad of two") << QStringList{"--read", "hr:0:2", "--read", "di:x"} << "ADDRESS \"x\"";
}

// A malformed read or unit is refused with exit status 2 and a message
// naming the part that is wrong, before any connection is made.
void tst_Bridge::badInputSendsNothing()
{
    QFETCH(QStringList, args);
    QFETCH(QString, named);
    SimProcess sim;
    QVERIFY(sim.start({"--tcp-listen", "127.0.0.1:0", "--field", "1@9600/none/1"}));
    QTRY_VERIFY(tcpPort(sim) > 0);
    const CliRun run = runCli(QStringList{"check", QStringLiteral("127.0.0.1:%1").arg(tcpPort(sim))} + args);
    QCOMPARE(run.status, 2);
    QVERIFY2(QString::fromUtf8(run.err).contains(named), run.err);
    QVERIFY2(run.err.contains("nothing was sent"), run.err);
    QVERIFY(run.out.isEmpty());
    // A bad host or port, likewise.
    for (const QString &host :
         {QStringLiteral("127.0.0.300:%1"), QStringLiteral("127.0.0.1:%1x"), QStringLiteral("[::1]:%1")}) {
        const CliRun bad = runCli({"check", host.arg(tcpPort(sim))});
        QVERIFY2(bad.status == 2, bad.err);
    }
    QCOMPARE(sim.count(QStringLiteral("TCP-ACCEPT")), 0);
}

QTEST_GUILESS_MAIN(tst_Bridge)
#include "tst_bridge.moc"
