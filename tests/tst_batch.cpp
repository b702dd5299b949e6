// gateway-cli batch: several simulated modules commissioned at once from a
// plan, the as-built record, a plan or a report refused before anything is
// sent, modules found by their MAC addresses, and Ctrl+C in the middle with
// the reader of stdout gone.
#include <QtTest>

#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <memory>
#include <vector>

#include "cliprocess.h"
#include "expected.h"
#include "files.h"
#include "plan.h"
#include "simprocess.h"

using namespace support;

namespace {

const QString fast = QStringLiteral("50");

// The template of the plans: the written value of the mask and the speed.
const QByteArray templateFile = "[General]\nMASK=255.0.0.0\nSPEED_RS485=8\n";

// The report as rows of named cells.
QList<QMap<QString, QString>> reportRows(const QString &path, QStringList *header)
{
    const csv::Table table = csv::read(readFile(path));
    QList<QMap<QString, QString>> rows;
    if (table.records.isEmpty())
        return rows;
    *header = table.records[0].fields;
    for (int r = 1; r < table.records.size(); ++r) {
        QMap<QString, QString> row;
        for (int c = 0; c < header->size(); ++c)
            row.insert(header->at(c), table.records[r].fields.value(c));
        rows << row;
    }
    return rows;
}

// Whether every command the module received is one that the program sends
// whole: a query, a change line of the plans' keys, or the reboot.
bool allWhole(const SimProcess &sim, QString *half)
{
    for (const QByteArray &line : sim.received()) {
        const bool whole = scanLines().contains(line) || line == "reset"
            || QRegularExpression(QStringLiteral("^CHANGE (IP:10\\.0\\.0\\.\\d+|MASK:255\\.0\\.0\\.0|SPEED RS485:115200)$"))
                   .match(QString::fromLatin1(line))
                   .hasMatch();
        if (!whole) {
            *half = QString::fromLatin1(line);
            return false;
        }
    }
    return true;
}

} // namespace

class tst_Batch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void fourModules();
    void badPlan();
    void refusedBeforeSending_data();
    void refusedBeforeSending();
    void byMacAddress();
    void interrupted();

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::vector<std::unique_ptr<SimProcess>> sims;
    QString file(const QString &name) const { return dir->filePath(name); }
    // A module started, or nullptr when it did not start: the test fails
    // there (QVERIFY on the result), not later as a row's result.
    SimProcess *startSim(const QStringList &options = {})
    {
        sims.push_back(std::make_unique<SimProcess>(dir->path(), QStringLiteral("m%1").arg(sims.size() + 1)));
        return sims.back()->start(options) ? sims.back().get() : nullptr;
    }
};

void tst_Batch::init()
{
    sims.clear();
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(writeFile(file(QStringLiteral("template.TRset")), templateFile));
}

// Two modules commissioned, one refusing a key, one silent: each row's own
// result, and the report with what each module took, the values asked for,
// read back and those before, and where the record came from.
void tst_Batch::fourModules()
{
    SimProcess *const started[] = {startSim(), startSim(), startSim({QStringLiteral("--refuse"), QStringLiteral("mask")}),
                                   startSim({QStringLiteral("--silent")})};
    for (const SimProcess *s : started)
        QVERIFY2(s, "gateway-sim did not start");
    SimProcess &a = *started[0], &b = *started[1], &refusing = *started[2], &silent = *started[3];
    QByteArray plan = "port,file,ip\n";
    int n = 0;
    for (const SimProcess *s : {&a, &b, &refusing, &silent})
        plan += s->link.toUtf8() + ",template.TRset,10.0.0." + QByteArray::number(11 + n++) + '\n';
    QVERIFY(writeFile(file(QStringLiteral("plan.csv")), plan));

    const QString report = file(QStringLiteral("report.csv"));
    const CliRun run = runCli({QStringLiteral("batch"), file(QStringLiteral("plan.csv")), QStringLiteral("--report"),
                               report, QStringLiteral("--interval"), fast});
    QVERIFY2(run.status == 1, run.err);

    QStringList header;
    const auto rows = reportRows(report, &header);
    QStringList expectedHeader{"line",     "port", "mac",  "version", "result", "detail", "written",
                               "started",  "finished", "plan", "tool", "host"};
    const QStringList keys{"mode", "ip", "mask", "gateway", "port_tcp", "parity", "speed", "stop_bits",
                           "timeout_response", "ip_server_tcp", "timeout_tcp", "rtu_virtual_id", "tcp_slave_id"};
    expectedHeader << keys;
    for (const QString &k : keys)
        expectedHeader << k + QStringLiteral("_asked");
    for (const QString &k : keys)
        expectedHeader << k + QStringLiteral("_before");
    expectedHeader << QStringList{"check", "check_result", "check_ms"};
    QCOMPARE(header, expectedHeader);
    QCOMPARE(rows.size(), 4);
    const QStringList results{rows[0]["result"], rows[1]["result"], rows[2]["result"], rows[3]["result"]};
    QCOMPARE(results, (QStringList{"ok", "ok", "refused", "silent"}));
    // The refused row took the change before the refusal.
    QCOMPARE(rows[2]["detail"], QStringLiteral("mask"));
    QCOMPARE(rows[2]["written"], QStringLiteral("ip"));
    QCOMPARE(rows[3]["written"], QString());
    for (const auto &row : rows) {
        QCOMPARE(row["plan"], QStringLiteral("plan.csv"));
        QCOMPARE(row["tool"], QStringLiteral("gateway-cli 2.0.1"));
        QCOMPARE(row["host"], QSysInfo::machineHostName());
        QCOMPARE(row["mask_asked"], QStringLiteral("255.0.0.0"));
        QCOMPARE(row["mode_asked"], QString());
    }
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(rows[i]["written"], QStringLiteral("ip mask speed"));
        QCOMPARE(rows[i]["ip_asked"], QStringLiteral("10.0.0.%1").arg(11 + i));
        QCOMPARE(rows[i]["line"], QString::number(i + 2));
        QCOMPARE(rows[i]["mac"], moduleMac);
        QCOMPARE(rows[i]["ip"], QStringLiteral("10.0.0.%1").arg(11 + i));
        QCOMPARE(rows[i]["ip_before"], QStringLiteral("192.168.0.1"));
        QCOMPARE(rows[i]["speed"], QStringLiteral("115200"));
        QCOMPARE(rows[i]["speed_before"], QStringLiteral("9600"));
        QCOMPARE(rows[i]["mode"], QStringLiteral("server"));
        QVERIFY(QDateTime::fromString(rows[i]["started"], Qt::ISODate).isValid());
        QVERIFY(rows[i]["finished"] >= rows[i]["started"]);
    }
    // The module that refused read nothing back; the silent one gave nothing.
    QVERIFY(rows[2]["ip"].isEmpty());
    QCOMPARE(rows[2]["ip_before"], QStringLiteral("192.168.0.1"));
    QVERIFY(rows[3]["mac"].isEmpty());
    QCOMPARE(a.state().value(QStringLiteral("ip")), QStringLiteral("10.0.0.11"));
    QCOMPARE(b.state().value(QStringLiteral("ip")), QStringLiteral("10.0.0.12"));
    QCOMPARE(refusing.state().value(QStringLiteral("ip")), QStringLiteral("10.0.0.13"));
    QCOMPARE(refusing.state().value(QStringLiteral("mask")), QStringLiteral("255.255.255.0"));
    // The refusing module got nothing after the refused line.
    QCOMPARE(refusing.received().last(), QByteArray("CHANGE MASK:255.0.0.0"));
    // Each row's end, piped too.
    for (const SimProcess *s : {&a, &b, &refusing, &silent})
        QVERIFY2(run.out.contains(s->link.toUtf8()), run.out);
    QVERIFY2(run.out.contains("ip 10.0.0.11  ok"), run.out);
}

// A plan with faults is refused whole, every fault named with its line, and
// no module hears anything.
void tst_Batch::badPlan()
{
    SimProcess *const started[] = {startSim(), startSim()};
    QVERIFY2(started[0] && started[1], "gateway-sim did not start");
    SimProcess &a = *started[0], &b = *started[1];
    const QByteArray plan = "port;file;ip;colour\n" + a.link.toUtf8() + ";template.TRset;10.0.0.5;red\n"
        + b.link.toUtf8() + ";template.TRset;10.0.0.5;\n" + "COM9;missing.TRset;10.0.0.300;\n";
    QVERIFY(writeFile(file(QStringLiteral("bad.csv")), plan));
    const CliRun run = runCli({QStringLiteral("batch"), file(QStringLiteral("bad.csv")), QStringLiteral("--report"),
                               file(QStringLiteral("r.csv")), QStringLiteral("--interval"), fast});
    QCOMPARE(run.status, 2);
    const QString err = QString::fromUtf8(run.err);
    for (const char *fault : {"line 1, column 4 (colour): no such column", "line 3, column 3 (ip): 10.0.0.5 is the IP address of line 2",
                              "line 4, column 2 (file): ", "missing.TRset: no such file",
                              "line 4, column 3 (ip): ip=\"10.0.0.300\""})
        QVERIFY2(err.contains(QLatin1String(fault)), qPrintable(QLatin1String(fault) + QStringLiteral(" not in:\n") + err));
    QVERIFY(!QFile::exists(file(QStringLiteral("r.csv"))));
    QVERIFY(a.received().isEmpty());
    QVERIFY(b.received().isEmpty());
}

// Nothing is sent, and no report is written, when the report cannot be
// written or the plan names one device twice under two names.
void tst_Batch::refusedBeforeSending_data()
{
    QTest::addColumn<QString>("report"); // REPORT: a file of the test's folder
    QTest::addColumn<QString>("secondPort"); // the second row's port; RELATIVE: the first's, from the working folder (the test's)
    QTest::addColumn<QString>("fault");

    QTest::newRow("a report in a folder that takes no file") << "/proc/report.csv" << "" << "no file can be made in /proc";
    QTest::newRow("a report that is a folder") << "." << "" << "a folder";
    QTest::newRow("a report that is a device") << "/dev/null" << "" << "/dev/null: not a file";
    QTest::newRow("a report that exists") << "REPORT" << "" << "the file exists (--overwrite replaces it)";
    QTest::newRow("one device under two names") << "" << "RELATIVE" << "line 3, column 1 (port): RELATIVE and FIRST of line 2 are one device";
}

void tst_Batch::refusedBeforeSending()
{
    QFETCH(QString, report);
    QFETCH(QString, secondPort);
    QFETCH(QString, fault);
    SimProcess *first = startSim();
    SimProcess *second = startSim();
    QVERIFY2(first && second, "gateway-sim did not start");
    const QString relative = QStringLiteral("./") + QFileInfo(first->link).fileName();
    const QString existing = file(QStringLiteral("report.csv"));
    QVERIFY(writeFile(existing, "kept\n"));
    report.replace(QStringLiteral("REPORT"), existing);
    if (report == QLatin1String("."))
        report = dir->path();
    secondPort.replace(QStringLiteral("RELATIVE"), relative);
    fault.replace(QStringLiteral("RELATIVE"), relative).replace(QStringLiteral("FIRST"), first->link);
    QVERIFY(writeFile(file(QStringLiteral("plan.csv")),
                      "port,ip\n" + first->link.toUtf8() + ",10.0.0.41\n"
                          + (secondPort.isEmpty() ? second->link : secondPort).toUtf8() + ",10.0.0.42\n"));
    QStringList args{QStringLiteral("batch"), file(QStringLiteral("plan.csv")), QStringLiteral("--interval"), fast};
    if (!report.isEmpty())
        args << QStringLiteral("--report") << report;
    const CliRun run = runCli(args, 120000, dir->path());
    QCOMPARE(run.status, 2);
    QVERIFY2(QString::fromUtf8(run.err).contains(fault), run.err);
    QVERIFY(first->received().isEmpty());
    QVERIFY(second->received().isEmpty());
    QCOMPARE(readFile(existing), QByteArray("kept\n"));
}

// Rows found by MAC address: each module gets its own row's values, whatever
// the order of the ports; a row whose module is on no port says so, piped
// too.
void tst_Batch::byMacAddress()
{
    SimProcess *const started[] = {startSim({QStringLiteral("--mac"), QStringLiteral("02:00:00:00:00:0a")}),
                                   startSim({QStringLiteral("--mac"), QStringLiteral("02:00:00:00:00:0b")})};
    QVERIFY2(started[0] && started[1], "gateway-sim did not start");
    SimProcess &a = *started[0], &b = *started[1];
    QVERIFY(writeFile(file(QStringLiteral("mac.csv")),
                      "mac,ip\n02-00-00-00-00-0B,10.0.0.22\n02:00:00:00:00:0A,10.0.0.21\n02:00:00:00:00:0C,10.0.0.23\n"));
    const QStringList args{QStringLiteral("batch"), file(QStringLiteral("mac.csv")), QStringLiteral("--ports"),
                           a.link + QLatin1Char(',') + b.link, QStringLiteral("--interval"), fast};
    CliRun run = runCli(args + QStringList{QStringLiteral("--json")});
    QVERIFY2(run.status == 1, run.err);
    QCOMPARE(a.state().value(QStringLiteral("ip")), QStringLiteral("10.0.0.21"));
    QCOMPARE(b.state().value(QStringLiteral("ip")), QStringLiteral("10.0.0.22"));
    const QJsonArray rows = run.json().value(QStringLiteral("rows")).toArray();
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0].toObject().value(QStringLiteral("port")).toString(), b.link);
    QCOMPARE(rows[1].toObject().value(QStringLiteral("port")).toString(), a.link);
    QCOMPARE(rows[2].toObject().value(QStringLiteral("result")).toString(), QStringLiteral("no-port"));
    run = runCli(args);
    QVERIFY2(run.status == 1, run.err);
    QVERIFY2(run.out.contains("line 4 -: no-port: no module with the MAC address 02:00:00:00:00:0C"), run.out);
}

// Ctrl+C with stdout through a pipe whose reader has gone (as with tee,
// which Ctrl+C ends too): no new command on any port, no half line, the
// unfinished rows interrupted with the keys their modules took, and the
// report whole.
void tst_Batch::interrupted()
{
    SimProcess *const started[] = {startSim(), startSim()};
    QVERIFY2(started[0] && started[1], "gateway-sim did not start");
    SimProcess &a = *started[0], &b = *started[1];
    QByteArray plan = "port,file,ip\n";
    plan += a.link.toUtf8() + ",template.TRset,10.0.0.31\n" + b.link.toUtf8() + ",template.TRset,10.0.0.32\n";
    QVERIFY(writeFile(file(QStringLiteral("plan.csv")), plan));
    const QString report = file(QStringLiteral("report.csv"));
    // stdout into a pipe of the test's, whose reader goes after the first
    // byte (neither end is the program's besides its stdout).
    int pipe[2] = {-1, -1};
    QVERIFY(::pipe2(pipe, O_CLOEXEC) == 0);
    QProcess p;
    p.setStandardOutputFile(QStringLiteral("/proc/self/fd/%1").arg(pipe[1]));
    p.setProgram(QStringLiteral(GATEWAY_CLI_PATH));
    p.setArguments({QStringLiteral("batch"), file(QStringLiteral("plan.csv")), QStringLiteral("--report"), report,
                    QStringLiteral("--interval"), QStringLiteral("500")});
    p.start();
    QVERIFY(p.waitForStarted());
    ::close(pipe[1]);
    pollfd first{pipe[0], POLLIN, 0};
    char byte = 0;
    QVERIFY(::poll(&first, 1, 30000) == 1 && ::read(pipe[0], &byte, 1) == 1);
    ::close(pipe[0]);
    // Once both have had a change taken, a Ctrl+C.
    QTRY_VERIFY_WITH_TIMEOUT((a.count(QStringLiteral("CHANGED")) >= 1 && b.count(QStringLiteral("CHANGED")) >= 1)
                                 || p.state() == QProcess::NotRunning,
                             60000);
    QVERIFY(p.state() == QProcess::Running && p.processId() > 0);
    ::kill(pid_t(p.processId()), SIGINT);
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 130);

    QStringList header;
    const auto rows = reportRows(report, &header);
    QCOMPARE(rows.size(), 2);
    const SimProcess *const modules[] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        const auto &row = rows[i];
        QCOMPARE(row["result"], QStringLiteral("interrupted"));
        QVERIFY2(row["detail"].startsWith(QStringLiteral("stopped at \"write ")), qPrintable(row["detail"]));
        QCOMPARE(row["mac"], moduleMac);
        QCOMPARE(row["ip_asked"], QStringLiteral("10.0.0.3%1").arg(i + 1));
        // What the module took, every key of it, as its own log says.
        QStringList changed;
        for (const LogEvent &e : modules[i]->events())
            if (e.kind == QLatin1String("CHANGED"))
                changed << e.rest.section(QLatin1Char(' '), 0, 0);
        QCOMPARE(row["written"], changed.join(QLatin1Char(' ')));
    }
    for (const SimProcess *s : {&a, &b}) {
        QString half;
        QVERIFY2(allWhole(*s, &half), qPrintable(half));
        // It had begun to write, and it stopped before the end.
        QVERIFY(s->received().contains("CHANGE IP:" + s->state().value(QStringLiteral("ip")).toLatin1()));
        QVERIFY(!s->received().contains("reset"));
    }
}

QTEST_MAIN(tst_Batch)
#include "tst_batch.moc"
