// gateway-cli plan and batch: many modules at once, from a plan.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPair>
#include <QSysInfo>

#include <algorithm>

#include "batchchecks.h"
#include "batchcommands.h"
#include "batchrun.h"
#include "console.h"
#include "discovery.h"
#include "exitcode.h"
#include "help.h"
#include "messages.h"
#include "netrules.h"
#include "options.h"
#include "outputfile.h"
#include "plan.h"
#include "portnames.h"
#include "progressview.h"
#include "report.h"
#include "systemwords.h"
#include "valueargs.h"
#include "words.h"

namespace cli {

namespace {

using Outcome = Commissioning::Outcome;

// The ports of a --ports option, in their order.
QStringList portList(const QString &value)
{
    return value.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

// --ports, which plan and batch take.
QCommandLineOption portsOption()
{
    return {QStringLiteral("ports"), cli::tr("the ports, separated by commas, as this help tells"),
            QStringLiteral("PORT,...")};
}

// ---- plan ----

QCommandLineOption templateOption()
{
    return {QStringLiteral("template"), tr("the settings file each row starts from"), QStringLiteral("FILE")};
}

QCommandLineOption ipFromOption()
{
    return {QStringLiteral("ip-from"), tr("the first row's ip; each next row the next address of the template's subnet"),
            QStringLiteral("IP")};
}

QCommandLineOption rtuIdFromOption()
{
    return {QStringLiteral("rtu-id-from"), tr("the first row's rtu_virtual_id; each next row the next number"),
            QStringLiteral("N")};
}

QCommandLineOption separatorOption()
{
    return {QStringLiteral("separator"), tr("between the fields: , (the default), ; or tab"), QStringLiteral("C")};
}

QList<QCommandLineOption> planOptions()
{
    return {templateOption(),  portsOption(),     ipFromOption(),   rtuIdFromOption(),
            option::output(), option::overwrite(), separatorOption()};
}

// The addresses of `count` rows from `first` on, inside the subnet the
// template's mask makes of it, past its network and broadcast addresses and
// the template's gateway; empty, with the fault, when they do not fit.
QStringList numberAddresses(quint32 first, const ModuleValues &templ, int count, QString *fault)
{
    quint32 mask = 0, gateway = 0;
    NetRules::parse(templ.value(proto::Param::Mask), &mask);
    NetRules::parse(templ.value(proto::Param::Gateway), &gateway);
    QStringList addresses;
    for (const quint32 a : NetRules::hostsFrom(first, mask, gateway, count))
        addresses << NetRules::format(a);
    if (addresses.size() < count) {
        *fault = tr("%n address(es) of the subnet %1/%2 from %3 on, for %4 ports (its network and broadcast "
                    "addresses and the gateway left out)",
                    nullptr, int(addresses.size()))
                     .arg(NetRules::format(first & mask))
                     .arg(NetRules::prefixOf(mask))
                     .arg(NetRules::format(first))
                     .arg(count);
        return {};
    }
    return addresses;
}

// What plan is asked for, its options read.
struct PlanAsked {
    QString templ;
    ModuleValues templValues;
    QString ipFrom;
    bool numberIds = false;
    int rtuId = 0;
    QChar separator = QLatin1Char(',');
    QStringList ports;
    bool found = false; // --ports found: the ports where a module answers
};

// Parse: every option needed, the template and the first address good, the
// ports each once, the file to write writable. Usage (said) when not.
bool readPlanOptions(const Options &o, PlanAsked *asked, QStringList *faults)
{
    for (const QCommandLineOption &required : {templateOption(), portsOption(), ipFromOption()})
        if (!o.isSet(required))
            *faults << tr("--%1 is needed").arg(required.names().constFirst());
    asked->templ = o.value(templateOption());
    if (o.isSet(templateOption())) {
        asked->templValues = valueargs::fromFile(asked->templ, false, faults);
        if (!asked->templValues.has(proto::Param::Mask) && faults->isEmpty())
            *faults << tr("%1: no mask, and the addresses are numbered within the template's subnet").arg(asked->templ);
    }
    asked->ipFrom = o.value(ipFromOption());
    if (o.isSet(ipFromOption())) {
        ModuleValues first = asked->templValues;
        if (valueargs::take(proto::nameOf(proto::Param::Ip), asked->ipFrom, false, first, faults))
            *faults << NetRules::jointFaults(first);
    }
    asked->numberIds = o.isSet(rtuIdFromOption());
    if (asked->numberIds && !o.number(rtuIdFromOption(), 1, 247, &asked->rtuId))
        return false;
    if (o.isSet(separatorOption())) {
        const QString s = o.value(separatorOption());
        if (s == QLatin1String("tab") || s == QLatin1String("\\t"))
            asked->separator = QLatin1Char('\t');
        else if (s == QLatin1String(",") || s == QLatin1String(";"))
            asked->separator = s[0];
        else
            *faults << tr("--separator \"%1\": one of , ; tab").arg(shown(s));
    }
    if (o.isSet(option::output())) {
        const QString fault = OutputFile::fault(o.value(option::output()), o.isSet(option::overwrite()));
        if (!fault.isEmpty())
            *faults << fault;
    }
    asked->ports = portList(o.value(portsOption()));
    asked->found = asked->ports == QStringList{QStringLiteral("found")};
    if (o.isSet(portsOption()) && !asked->found)
        checkPorts(asked->ports, QStringLiteral("--ports"), faults);
    return true;
}

// The plan as CSV: a row per port, the template's path relative to the
// plan's folder.
QString planText(const PlanAsked &asked, const QStringList &addresses, const QDir &planFolder)
{
    const QString file =
        QDir::fromNativeSeparators(planFolder.relativeFilePath(QFileInfo(asked.templ).absoluteFilePath()));
    QStringList header{key::port(), key::file(), proto::nameOf(proto::Param::Ip)};
    if (asked.numberIds)
        header << proto::nameOf(proto::Param::RtuVirtualId);
    QString text = header.join(asked.separator) + QStringLiteral("\r\n");
    for (int i = 0; i < asked.ports.size(); ++i) {
        QStringList row{csv::field(asked.ports[i]), csv::field(file), addresses[i]};
        if (asked.numberIds)
            row << QString::number(asked.rtuId + i);
        text += row.join(asked.separator) + QStringLiteral("\r\n");
    }
    return text;
}

int plan(const Options &o)
{
    PlanAsked asked;
    QStringList faults;
    if (!readPlanOptions(o, &asked, &faults))
        return Usage;
    if (!faults.isEmpty())
        return refuse(faults);

    // Plan: the ports, found when asked so; an address and a number for
    // each.
    if (asked.found) {
        const QList<Found> all = discover(listedPorts(), o.common);
        if (interrupted(all))
            return Interrupted;
        asked.ports.clear();
        for (const Found &f : all)
            if (f.outcome == Outcome::Ok)
                asked.ports << f.port;
        if (asked.ports.isEmpty()) {
            message(tr("no module found on any port"));
            return NoModule;
        }
    }
    quint32 first = 0;
    NetRules::parse(asked.ipFrom, &first);
    QString fault;
    const int count = int(asked.ports.size());
    const QStringList addresses = numberAddresses(first, asked.templValues, count, &fault);
    if (addresses.isEmpty())
        return refuse({tr("--ip-from %1: %2").arg(asked.ipFrom, fault)});
    if (asked.numberIds && asked.rtuId + count - 1 > 247)
        return refuse({tr("--rtu-id-from %1: the RTU addresses run out at %2 (the last is 247), for %3 ports")
                           .arg(asked.rtuId)
                           .arg(asked.ports[248 - asked.rtuId])
                           .arg(count)});

    // Render, on stdout (its folder: the file stdout is, or else the
    // working folder) or to the file asked.
    const QString output = o.value(option::output());
    const QString outFile = console::outFile();
    const QDir planFolder = o.isSet(option::output()) ? QFileInfo(output).absoluteDir()
        : outFile.isEmpty()                     ? QDir::current()
                                                : QFileInfo(outFile).absoluteDir();
    const QString text = planText(asked, addresses, planFolder);
    if (!o.isSet(option::output())) {
        console::out(text);
        return Done;
    }
    QString error;
    if (!OutputFile::write(output, text.toUtf8(), &error)) {
        message(QStringLiteral("%1: %2").arg(output, error));
        return Failed;
    }
    message(tr("the plan is in %1").arg(output));
    return Done;
}

// ---- batch ----

QCommandLineOption reportFormatOption()
{
    return {QStringLiteral("report-format"),
            tr("csv (comma, no byte order mark) or excel (semicolon, a UTF-8 byte order mark); by default as the "
               "plan is written"),
            QStringLiteral("FORMAT")};
}

QList<QCommandLineOption> batchOptions()
{
    return {option::report(),  option::overwrite(), reportFormatOption(),  option::force(),
            portsOption(),     option::onlyChanged(), option::rebootTimeout()};
}

// Reads a plan file whole; its faults, each on a line, when it is no plan.
plan::Plan loadPlan(const QString &path, bool force)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        plan::Plan bad;
        // Named with the plan's path where the faults are said.
        bad.faults << language::fileFailureText(path, file.errorString());
        return bad;
    }
    return plan::read(file.readAll(), QFileInfo(path).absolutePath(), force);
}

// How the plan was read, for a person.
QString dialectText(const plan::Plan &p)
{
    const QString separator = p.separator == QLatin1Char('\t') ? tr("tabs")
        : p.separator == QLatin1Char(';')                     ? tr("semicolons")
                                                               : tr("commas");
    return tr("read as %1 text, its fields separated by %2").arg(TextBytes::nameOf(p.encoding), separator);
}

// The ports of the rows given by their MAC address, found on the other
// ports (`candidates`): the rows without a module end at once, no-port (why:
// `missing`, in English and for a person). False when interrupted.
bool findByMac(const QList<plan::Row> &rows, QStringList candidates, const Common &common, QStringList *ports,
               QList<QPair<QString, QString>> *missing)
{
    for (const plan::Row &row : rows)
        if (!row.port.isEmpty())
            candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                            [&](const QString &c) { return portKey(c) == portKey(row.port); }),
                             candidates.end());
    const QList<Found> found = discover(candidates, common);
    for (int i = 0; i < rows.size(); ++i) {
        if (!rows[i].port.isEmpty())
            continue;
        for (const Found &f : found)
            if (f.outcome == Outcome::Ok && macKey(f.mac) == macKey(rows[i].mac))
                (*ports)[i] = f.port;
        if ((*ports)[i].isEmpty()) {
            // A row's detail in English, as the engine's (the report and JSON hold it), and for a person.
            const QString where = candidates.join(QStringLiteral(", "));
            const char *const text = where.isEmpty()
                ? QT_TRANSLATE_NOOP("cli", "no module with the MAC address %1: no port to look on but the rows' own")
                : QT_TRANSLATE_NOOP("cli", "no module with the MAC address %1 on %2");
            const auto told = [&](const QString &t) { return where.isEmpty() ? t.arg(rows[i].mac) : t.arg(rows[i].mac, where); };
            (*missing)[i] = {told(QString::fromUtf8(text)), told(tr(text))};
        }
    }
    return !interrupted(found);
}

// The report's rows as the jobs stand: done, or not yet (interrupted).
QList<report::Row> reportRows(const BatchRun &run, const QList<plan::Row> &planRows, const BatchChecks &checks)
{
    QList<report::Row> rows;
    for (std::size_t i = 0; i < run.jobs().size(); ++i) {
        const BatchRun::Job &job = *run.jobs()[i];
        report::Row out;
        out.line = job.line;
        out.port = job.port;
        out.outcome = job.done ? job.outcome : Outcome::Interrupted;
        out.detail = job.done ? job.detail : QString();
        out.asked = planRows.value(int(i)).values;
        if (job.work) {
            const Commissioning::Result &r = job.work->result();
            out.started = r.started;
            out.finished = job.done ? r.finished : QDateTime::currentDateTime();
            out.before = r.before;
            out.after = r.after;
            out.written = r.written;
            out.mac = r.before.value(proto::Param::Mac);
            out.version = r.before.value(proto::Param::Version);
        }
        const BatchChecks::Cells checked = checks.cells(int(i));
        out.check = checked.check;
        out.checkResult = checked.result;
        out.checkMs = checked.ms;
        out.checkFailure = checked.rowResult;
        rows << out;
    }
    return rows;
}

// Exit status 130 when interrupted; 0 when every row is ok, its check
// included; 3 when no row reached a module over its port; 1 when some
// failed otherwise.
int batchStatus(const BatchRun &run, const BatchChecks &checks)
{
    bool interrupted = false, allOk = true, anyReached = false;
    for (std::size_t i = 0; i < run.jobs().size(); ++i) {
        const auto &job = run.jobs()[i];
        interrupted = interrupted || job->outcome == Outcome::Interrupted
            || checks.cells(int(i)).rowResult == QLatin1String("interrupted");
        allOk = allOk && job->outcome == Outcome::Ok && checks.cells(int(i)).rowResult.isEmpty();
        anyReached = anyReached || (job->work && job->work->result().answered);
    }
    return interrupted ? Interrupted : allOk ? Done : anyReached ? Failed : NoModule;
}

// One line per row at the end: its port, the module's MAC address, the ip it
// read back and the result.
QString summary(const BatchRun &run)
{
    QString text;
    for (const auto &job : run.jobs()) {
        const Commissioning::Result *r = job->work ? &job->work->result() : nullptr;
        const QString mac = r ? r->before.value(proto::Param::Mac) : QString();
        const QString ip = r ? r->after.value(proto::Param::Ip) : QString();
        text += tr("line %1  %2  %3  ip %4  %5")
                    .arg(job->line)
                    .arg(ProgressView::port(*job), mac.isEmpty() ? QStringLiteral("-") : mac,
                         ip.isEmpty() ? QStringLiteral("-") : ip, ProgressView::result(*job))
            + QLatin1Char('\n');
    }
    return text;
}

// What batch is asked for: its options read and its whole plan.
struct BatchAsked {
    int timeout = 0;
    QString reportPath;
    QString format;
    QStringList candidates; // the ports to look on for the rows given by their MAC
    QString planPath;
    plan::Plan plan;
};

// Parse: the options, the report's file, then the whole plan. False when
// --reboot-timeout is refused (said).
bool readBatchOptions(const Options &o, BatchAsked *asked, QStringList *faults)
{
    if (!option::rebootTimeoutMs(o, &asked->timeout))
        return false;
    asked->reportPath = o.value(option::report());
    if (!asked->reportPath.isEmpty()) {
        const QString fault = OutputFile::fault(asked->reportPath, o.isSet(option::overwrite()));
        if (!fault.isEmpty())
            *faults << fault;
    }
    asked->format = o.value(reportFormatOption());
    if (o.isSet(reportFormatOption()) && asked->format != QLatin1String("csv")
        && asked->format != QLatin1String("excel"))
        *faults << tr("--report-format \"%1\": csv or excel").arg(shown(asked->format));
    asked->candidates = o.isSet(portsOption()) ? portList(o.value(portsOption())) : listedPorts();
    if (o.isSet(portsOption()))
        checkPorts(asked->candidates, QStringLiteral("--ports"), faults);
    asked->planPath = o.positional[0];
    asked->plan = loadPlan(asked->planPath, o.isSet(option::force()));
    for (const QString &fault : asked->plan.faults)
        *faults << QStringLiteral("%1: %2").arg(asked->planPath, fault);
    return true;
}

// Plan: each row's job on its port, the modules of the rows without one
// asked for on every other port, and each row's check. False when
// interrupted while looking (every job then ends interrupted).
bool addJobs(const Options &o, const BatchAsked &asked, BatchRun &run, BatchChecks &checks)
{
    const QList<plan::Row> &rows = asked.plan.rows;
    QStringList ports;
    for (const plan::Row &row : rows)
        ports << row.port;
    QList<QPair<QString, QString>> missing;
    for (int i = 0; i < ports.size(); ++i)
        missing << qMakePair(QString(), QString());
    bool interrupted = false;
    if (ports.contains(QString()))
        interrupted = !findByMac(rows, asked.candidates, o.common, &ports, &missing);
    Commissioning::Plan base;
    base.before = QVector<proto::Param>(std::begin(proto::order::scan), std::end(proto::order::scan));
    base.onlyChanged = o.isSet(option::onlyChanged());
    base.action = proto::RebootUniversal;
    base.readBack = true;
    base.rebootTimeoutMs = asked.timeout;
    if (!o.isSet(option::force()))
        base.judge = NetRules::jointFaults;
    for (int i = 0; i < rows.size(); ++i) {
        BatchRun::Job *job = nullptr;
        if (interrupted) {
            job = &run.addEnded(ports[i], Outcome::Interrupted);
        } else if (ports[i].isEmpty()) {
            job = &run.addEnded(ports[i], Outcome::NoPort, missing[i].first);
            job->detailText = missing[i].second;
        } else {
            Commissioning::Plan p = base;
            p.changes = rows[i].values;
            job = &run.add(ports[i], p, o.common.interval);
            job->mac = rows[i].mac;
        }
        job->line = rows[i].line;
        checks.ask(i, rows[i].check, rows[i].values);
    }
    return !interrupted;
}

// The as-built record, to its file, or on stderr when that fails.
struct ReportWriter {
    QString path;
    report::Dialect dialect;
    report::Origin origin;

    bool write(const QList<report::Row> &rows) const
    {
        if (path.isEmpty())
            return true;
        QString error;
        if (report::save(path, rows, origin, dialect, &error)) {
            message(cli::tr("the report is in %1").arg(path));
            return true;
        }
        message(cli::tr("%1: %2; the report follows on stderr").arg(path, error));
        console::err(report::csv(rows, origin, report::csvDialect()));
        return false;
    }
};

// Render: each row's end, each failed check's why, and how many are ok.
void renderBatch(const Options &o, const BatchRun &run, const BatchChecks &checks, const QList<plan::Row> &rows,
                 const report::Origin &origin)
{
    if (o.common.json) {
        printJson(report::json(reportRows(run, rows, checks), origin));
        console::err(summary(run));
    } else {
        console::out(summary(run));
    }
    int ok = 0;
    for (int i = 0; i < int(run.jobs().size()); ++i) {
        const BatchRun::Job &job = *run.jobs()[std::size_t(i)];
        const BatchChecks::Cells checked = checks.cells(i);
        if (!checked.rowResult.isEmpty())
            message(tr("%1: %2: the check %3: %4")
                        .arg(ProgressView::port(job), checked.rowResult, checked.check, checked.result));
        ok += job.outcome == Outcome::Ok && checked.rowResult.isEmpty();
    }
    message(tr("%1 of %n modules ok", nullptr, int(run.jobs().size())).arg(ok));
}

int batch(const Options &o)
{
    BatchAsked asked;
    QStringList faults;
    if (!readBatchOptions(o, &asked, &faults))
        return Usage;
    if (!faults.isEmpty())
        return refuse(faults);
    message(QStringLiteral("%1: %2").arg(asked.planPath, dialectText(asked.plan)));
    const ReportWriter report{
        asked.reportPath,
        !o.isSet(reportFormatOption())         ? report::dialectOf(asked.plan.separator, asked.plan.encoding)
            : asked.format == QLatin1String("excel") ? report::excelDialect()
                                                     : report::csvDialect(),
        {QFileInfo(asked.planPath).fileName(), toolName(), QSysInfo::machineHostName()}};

    BatchRun run;
    // Before the view: a row's end shows its check starting, never an ok
    // that the check has yet to earn.
    BatchChecks checks(run);
    const bool found = addJobs(o, asked, run, checks);

    // The report is written however the batch ends; a second Ctrl+C, which
    // ends the program at once, writes it as it stands.
    Interrupts::instance()->setLastWords([&] { report.write(reportRows(run, asked.plan.rows, checks)); });
    // Run, drawn as it goes (nothing to draw once interrupted).
    if (found) {
        ProgressView view(run, ProgressView::Style::Rows, o.common, o.common.json);
        run.run();
    }
    Interrupts::instance()->setLastWords(nullptr);

    int status = batchStatus(run, checks);
    if (!report.write(reportRows(run, asked.plan.rows, checks)) && status == Done)
        status = Failed;
    renderBatch(o, run, checks, asked.plan.rows, report.origin);
    return status;
}

} // namespace

const Command planCommand{
    "plan", "",
    "--template FILE --ports PORT,... --ip-from IP [--rtu-id-from N] [-o FILE "
                                "[--overwrite]] [--separator C]",
    0, 0, Command::Serial,
    QT_TRANSLATE_NOOP("cli", "a batch plan that numbers the modules' addresses"),
    QT_TRANSLATE_NOOP("cli",
                      "Writes a batch plan (CSV) on stdout, or to the file of -o: one row per port,\n"
                      "in the order given, each with the template and the next IP address from\n"
                      "--ip-from on (and the next rtu_virtual_id from --rtu-id-from on, when\n"
                      "given). The addresses stay inside the subnet the template's mask makes of\n"
                      "--ip-from, past its network and broadcast addresses and the template's\n"
                      "gateway; where too few are left, nothing is written and the count that\n"
                      "fits is said. The template's path is written relative to the plan's file\n"
                      "(on stdout: to the working folder), so that the plan and its template can\n"
                      "move to another PC together. --ports found takes the ports where find sees\n"
                      "a module; a port named twice, under any name, is refused."),
    planOptions,
    nullptr,
    {},
    plan};

const Command batchCommand{
    "batch", "PLAN",
    "PLAN [--report FILE] [OPTION]...",
    1, 1, Command::Serial,
    QT_TRANSLATE_NOOP("cli", "commission every module of a plan at once"),
    QT_TRANSLATE_NOOP("cli",
                      "Commissions every module of a plan at once, one port each, side by side:\n"
                      "open, scan (identity and the values before), write, reboot, wait for the\n"
                      "module to come back, read back and compare. A module that fails fails its\n"
                      "own row only.\n"
                      "\n"
                      "The plan is CSV as spreadsheets save it: comma, semicolon or tab between\n"
                      "the fields, quotes as RFC 4180; UTF-8 (with or without a byte order mark),\n"
                      "UTF-16 with a byte order mark (\"Unicode text\"), or where the bytes are no\n"
                      "UTF-8, Windows-1251 (a Russian-locale \"CSV\"); which it took is said on\n"
                      "stderr. Rows of separators only and empty cells at the header's end are\n"
                      "left out. A header row, then one row per module with the columns\n"
                      "  port     a port name or device path, or\n"
                      "  mac      the module's MAC address, found on whichever port of --ports\n"
                      "           it is (by default on every listed port)\n"
                      "  file     a settings file to start from (relative to the plan's folder)\n"
                      "  KEY      any writable parameter key (in any case); a cell overrides the\n"
                      "           file's value, an empty cell leaves it\n"
                      "  check    reads through the gateway once the module is read back, as\n"
                      "           write --check: UNIT:KIND:ADDRESS[:COUNT], several separated by\n"
                      "           blanks; the report's check, check_result and check_ms. No\n"
                      "           connection fails the row as unreachable; a reply that does not\n"
                      "           answer its request as invalid-reply; 0x0A, 0x0B, no answer or a\n"
                      "           closed connection as no-field-reply; a device's own exception\n"
                      "           leaves it ok\n"
                      "  via      where the check connects (HOST[:PORT]) instead of the module's\n"
                      "           ip and port_tcp\n"
                      "The whole plan is checked before anything is sent (unknown columns, rows\n"
                      "with neither port nor mac, missing files, bad values, addresses that\n"
                      "cannot work, two rows on one device under any names or with one mac, two\n"
                      "modules given one ip): every fault is listed with its line and column, and\n"
                      "the exit status is 2. A port that is not there is no fault of the plan:\n"
                      "its row's result is no-port."),
    batchOptions,
    QT_TRANSLATE_NOOP("cli",
                      "The report's folder is proven writable before anything is sent, and the\n"
                      "report is written however the batch ends (done, a failing row, Ctrl+C, a\n"
                      "closed terminal or pipe); if it cannot be written then, its rows go to\n"
                      "stderr as CSV and the exit status is not 0. It follows the plan's dialect\n"
                      "(its separator; a UTF-8 byte order mark where the plan had one or was\n"
                      "Windows-1251 or UTF-16) unless --report-format says otherwise. Each row\n"
                      "has line, port, mac, version, result, detail, written (the keys the module\n"
                      "took, in order, whatever the result), started, finished, plan, tool, host,\n"
                      "each value read back, each as asked (<key>_asked) and each as it was\n"
                      "(<key>_before).\n"
                      "\n"
                      "--force sends the values unchecked, as in write; an existing report is\n"
                      "replaced only with --overwrite (which --force did before).\n"
                      "\n"
                      "With --json the report is also printed as JSON. Exit status 0 when every\n"
                      "row is ok, 3 when no row reached a module over its port, 1 when some row\n"
                      "failed otherwise, 2 for a bad plan, 130 when interrupted (the report is\n"
                      "still written, unfinished rows \"interrupted\")."),
    {},
    batch};

} // namespace cli
