// gateway-cli plan and batch: many modules at once, from a plan.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "batchchecks.h"
#include "batchrun.h"
#include "commands.h"
#include "console.h"
#include "discovery.h"
#include "exitcode.h"
#include "messages.h"
#include "options.h"
#include "plan.h"
#include "portnames.h"
#include "progressview.h"
#include "report.h"
#include "valueargs.h"

namespace cli {

namespace {

using Outcome = Commissioning::Outcome;

// The ports of a --ports option, in their order.
QStringList portList(const QString &value)
{
    return value.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

// ---- plan ----

struct PlanOptions {
    QCommandLineOption templ{QStringLiteral("template"), tr("the settings file each row starts from"),
                             QStringLiteral("FILE")};
    QCommandLineOption ports{QStringLiteral("ports"),
                             tr("the ports, a row each in this order; \"found\": those where find sees a module"),
                             QStringLiteral("PORT,...")};
    QCommandLineOption ipFrom{QStringLiteral("ip-from"), tr("the first row's ip; each next row the next address"),
                              QStringLiteral("IP")};
    QCommandLineOption rtuIdFrom{QStringLiteral("rtu-id-from"),
                                 tr("the first row's rtu_virtual_id; each next row the next number"),
                                 QStringLiteral("N")};
    QList<QCommandLineOption> all() const { return {templ, ports, ipFrom, rtuIdFrom}; }
};

int plan(const Options &o)
{
    // Parse: every option needed, the template and the first address good.
    const PlanOptions own;
    QStringList faults;
    for (const QCommandLineOption &required : {own.templ, own.ports, own.ipFrom})
        if (!o.isSet(required))
            faults << QStringLiteral("--%1 is needed").arg(required.names().constFirst());
    const QString templ = o.value(own.templ);
    if (o.isSet(own.templ))
        valueargs::fromFile(templ, false, &faults);
    const QString ipFrom = o.value(own.ipFrom);
    if (o.isSet(own.ipFrom) && !proto::valueFault(proto::Param::Ip, ipFrom).isEmpty())
        faults << QStringLiteral("--ip-from \"%1\": %2").arg(ipFrom, proto::valueFault(proto::Param::Ip, ipFrom));
    int rtuId = 0;
    const bool numberIds = o.isSet(own.rtuIdFrom);
    if (numberIds && !o.number(own.rtuIdFrom, 1, 247, &rtuId))
        return Usage;
    if (!faults.isEmpty())
        return refuse(faults);

    // Plan: the ports, found when asked so.
    QStringList ports = portList(o.value(own.ports));
    if (ports == QStringList{QStringLiteral("found")}) {
        const QList<Found> found = discover(listedPorts(), o.common);
        if (interrupted(found))
            return Interrupted;
        ports.clear();
        for (const Found &f : found)
            if (f.outcome == Outcome::Ok)
                ports << f.port;
        if (ports.isEmpty()) {
            message(QStringLiteral("no module found on any port"));
            return NoModule;
        }
    }

    // Render: a row per port, the addresses counted on.
    QStringList header{QStringLiteral("port"), QStringLiteral("file"), proto::nameOf(proto::Param::Ip)};
    if (numberIds)
        header << proto::nameOf(proto::Param::RtuVirtualId);
    QString text = header.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    // The address as a number, counted on from there.
    quint32 address = 0;
    for (const QString &part : ipFrom.split(QLatin1Char('.')))
        address = address << 8 | part.toUInt();
    for (int i = 0; i < ports.size(); ++i, ++address, ++rtuId) {
        const QString next = QStringLiteral("%1.%2.%3.%4")
                                 .arg(address >> 24).arg(address >> 16 & 0xff).arg(address >> 8 & 0xff).arg(address & 0xff);
        if ((i > 0 && address == 0) || (numberIds && rtuId > 247)) {
            message(QStringLiteral("%1 ports: the addresses run out at %2").arg(ports.size()).arg(ports[i]));
            return Usage;
        }
        QStringList row{csv::field(ports[i]), csv::field(QFileInfo(templ).absoluteFilePath()), next};
        if (numberIds)
            row << QString::number(rtuId);
        text += row.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    console::out(text);
    return Done;
}

// ---- batch ----

struct BatchOptions {
    QCommandLineOption report{QStringLiteral("report"),
                              tr("the as-built record (CSV): one row per plan row with its result, the values "
                                 "read back and those before"),
                              QStringLiteral("FILE")};
    QCommandLineOption force{QStringLiteral("force"), tr("replace an existing report")};
    QCommandLineOption ports{QStringLiteral("ports"),
                             tr("where the modules of the rows with a mac are looked for (default: every listed "
                                "port)"),
                             QStringLiteral("PORT,...")};
    QCommandLineOption onlyChanged{QStringLiteral("only-changed"), tr("write only the values that differ")};
    QCommandLineOption rebootTimeout{QStringLiteral("reboot-timeout"),
                                     tr("how long to wait for a module after its reboot (default 30)"),
                                     QStringLiteral("S")};
    QList<QCommandLineOption> all() const { return {report, force, ports, onlyChanged, rebootTimeout}; }
};

// Reads a plan file whole; its faults, each on a line, when it is no plan.
plan::Plan loadPlan(const QString &path, bool force)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        plan::Plan bad;
        bad.faults << QStringLiteral("%1: %2").arg(path, file.errorString());
        return bad;
    }
    return plan::read(file.readAll(), QFileInfo(path).absolutePath(), force);
}

// The ports of the rows given by their MAC address, found on the other
// ports (`candidates`): the rows without a module end at once, lost.
// False when interrupted.
bool findByMac(const QList<plan::Row> &rows, QStringList candidates, const Common &common, QStringList *ports,
               QStringList *missing)
{
    for (const plan::Row &row : rows)
        if (!row.port.isEmpty())
            candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                            [&](const QString &c) { return plan::portKey(c) == plan::portKey(row.port); }),
                             candidates.end());
    const QList<Found> found = discover(candidates, common);
    for (int i = 0; i < rows.size(); ++i) {
        if (!rows[i].port.isEmpty())
            continue;
        for (const Found &f : found)
            if (f.outcome == Outcome::Ok && plan::macKey(f.mac) == plan::macKey(rows[i].mac))
                (*ports)[i] = f.port;
        if ((*ports)[i].isEmpty())
            (*missing)[i] = QStringLiteral("no module with the MAC address %1 on %2")
                                .arg(rows[i].mac, candidates.isEmpty() ? QStringLiteral("any port")
                                                                        : candidates.join(QStringLiteral(", ")));
    }
    return !interrupted(found);
}

int batch(const Options &o)
{
    // Parse: the options, then the whole plan.
    const BatchOptions own;
    int timeout = 30;
    if (o.isSet(own.rebootTimeout) && !o.number(own.rebootTimeout, 1, 3600, &timeout))
        return Usage;
    const QString reportPath = o.value(own.report);
    QStringList faults;
    if (!reportPath.isEmpty()) {
        const QFileInfo info(reportPath);
        if (info.exists() && !o.isSet(own.force))
            faults << QStringLiteral("%1: the report exists (--force replaces it)").arg(reportPath);
        else if (!info.absoluteDir().exists())
            faults << QStringLiteral("%1: no such folder").arg(info.absolutePath());
    }
    const QString planPath = o.positional[0];
    const plan::Plan thePlan = loadPlan(planPath, false);
    for (const QString &fault : thePlan.faults)
        faults << QStringLiteral("%1: %2").arg(planPath, fault);
    if (!faults.isEmpty())
        return refuse(faults);

    // Plan: each row's port, the modules of the rows without one asked for
    // on every other port.
    QStringList ports;
    for (const plan::Row &row : thePlan.rows)
        ports << row.port;
    QStringList missing;
    for (int i = 0; i < ports.size(); ++i)
        missing << QString();
    bool interrupted = false;
    if (ports.contains(QString()))
        interrupted = !findByMac(thePlan.rows, o.isSet(own.ports) ? portList(o.value(own.ports)) : listedPorts(),
                                 o.common, &ports, &missing);
    Commissioning::Plan base;
    base.before = QVector<proto::Param>(std::begin(proto::order::scan), std::end(proto::order::scan));
    base.onlyChanged = o.isSet(own.onlyChanged);
    base.action = proto::RebootUniversal;
    base.readBack = true;
    base.rebootTimeoutMs = timeout * 1000;
    BatchRun run;
    BatchChecks checks(run);
    for (int i = 0; i < thePlan.rows.size(); ++i) {
        const plan::Row &row = thePlan.rows[i];
        BatchRun::Job *job = nullptr;
        if (interrupted) {
            job = &run.addEnded(ports[i], Outcome::Interrupted);
        } else if (ports[i].isEmpty()) {
            job = &run.addEnded(ports[i], Outcome::Lost, missing[i]);
        } else {
            Commissioning::Plan p = base;
            p.changes = row.values;
            job = &run.add(ports[i], p, o.common.interval);
            job->mac = row.mac;
        }
        job->line = row.line;
        checks.ask(i, row.check, row.values);
    }

    // Run, drawn as it goes (nothing to draw once interrupted).
    if (!interrupted) {
        ProgressView view(run, ProgressView::Style::Rows, o.common, o.common.json);
        run.run();
    }

    // Render: the report, and how many are ok.
    QList<report::Row> rows;
    int ok = 0;
    for (const auto &job : run.jobs()) {
        report::Row out;
        out.line = job->line;
        out.port = job->port;
        out.outcome = job->outcome;
        out.detail = job->detail;
        if (job->work) {
            const Commissioning::Result &r = job->work->result();
            out.started = r.started;
            out.finished = r.finished;
            out.before = r.before;
            out.after = r.after;
            out.mac = r.before.value(proto::Param::Mac);
            out.version = r.before.value(proto::Param::Version);
        }
        const BatchChecks::Cells checked = checks.cells(int(rows.size()));
        out.check = checked.check;
        out.checkResult = checked.result;
        out.checkMs = checked.ms;
        out.checkFailure = checked.rowResult;
        if (!checked.rowResult.isEmpty())
            message(QStringLiteral("%1: %2: the check %3: %4").arg(job->port, checked.rowResult, checked.check, checked.result));
        rows << out;
        ok += job->outcome == Outcome::Ok && out.checkFailure.isEmpty();
        interrupted = interrupted || job->outcome == Outcome::Interrupted;
    }
    int status = interrupted ? Interrupted : ok == rows.size() ? Done : Failed;
    if (!reportPath.isEmpty()) {
        QString error;
        if (report::save(reportPath, rows, &error))
            message(QStringLiteral("the report is in %1").arg(reportPath));
        else {
            message(QStringLiteral("%1: %2").arg(reportPath, error));
            if (status == Done)
                status = Failed;
        }
    }
    if (o.common.json)
        printJson(report::json(rows));
    message(QStringLiteral("%1 of %2 modules ok").arg(ok).arg(rows.size()));
    return status;
}

} // namespace

Command planCommand()
{
    Command c;
    c.name = QStringLiteral("plan");
    c.synopsis = QStringLiteral("--template FILE --ports PORT,... --ip-from IP [--rtu-id-from N]");
    c.summary = tr("a batch plan that numbers the modules' addresses");
    c.about = tr("Writes a batch plan (CSV) on stdout: one row per port, in the order given,\n"
                 "each with the template and the next IP address from --ip-from on (and the\n"
                 "next rtu_virtual_id from --rtu-id-from on, when given). --ports found takes\n"
                 "the ports where find sees a module.");
    c.options = PlanOptions().all();
    c.run = plan;
    return c;
}

Command batchCommand()
{
    Command c;
    c.name = QStringLiteral("batch");
    c.arguments = QStringLiteral("PLAN");
    c.synopsis = QStringLiteral("PLAN [--report FILE] [OPTION]...");
    c.summary = tr("commission every module of a plan at once");
    c.about = tr("Commissions every module of a plan at once, one port each, side by side:\n"
                 "open, scan (identity and the values before), write, reboot, wait for the\n"
                 "module to come back, read back and compare. A module that fails fails its\n"
                 "own row only.\n"
                 "\n"
                 "The plan is CSV (comma or semicolon, quotes as RFC 4180, a UTF-8 BOM\n"
                 "allowed): a header row, then one row per module with the columns\n"
                 "  port     a port name or device path, or\n"
                 "  mac      the module's MAC address, found on whichever port it is\n"
                 "  file     a settings file to start from (relative to the plan's folder)\n"
                 "  KEY      any writable parameter key; a cell overrides the file's value,\n"
                 "           an empty cell leaves it\n"
                 "  check    reads through the gateway once the module is read back, as\n"
                 "           write --check: UNIT:KIND:ADDRESS[:COUNT], several separated by\n"
                 "           blanks; the report's check, check_result and check_ms. No\n"
                 "           connection fails the row as unreachable; 0x0A, 0x0B or no answer\n"
                 "           as no-field-reply; a device's own exception leaves it ok\n"
                 "  via      where the check connects (HOST[:PORT]) instead of the module's\n"
                 "           ip and port_tcp\n"
                 "The whole plan is checked before anything is sent (unknown columns, rows\n"
                 "with neither port nor mac, missing files, bad values, two rows on one port\n"
                 "or with one mac, two modules given one ip): every fault is listed with its\n"
                 "line and column, and the exit status is 2.");
    c.options = BatchOptions().all();
    c.notes = tr("With --json the report is also printed as JSON. Exit status 0 when every\n"
                 "row is ok, 1 when any failed, 2 for a bad plan, 130 when interrupted (the\n"
                 "report is still written, unfinished rows \"interrupted\").");
    c.minArguments = c.maxArguments = 1;
    c.run = batch;
    return c;
}

} // namespace cli
