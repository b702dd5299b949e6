// gateway-cli scan, write, diff, reboot and factory-reset: one module on its
// port.
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>

#include <functional>

#include "batchrun.h"
#include "console.h"
#include "exitcode.h"
#include "language.h"
#include "messages.h"
#include "netrules.h"
#include "options.h"
#include "outputfile.h"
#include "parameterfile.h"
#include "progressview.h"
#include "serialcommands.h"
#include "valueargs.h"
#include "words.h"
#include "writecheck.h"

namespace cli {

namespace {

using Outcome = Commissioning::Outcome;

// What became of one module's job.
struct Ran {
    QString port;
    QString named; // the port as messages name it
    Commissioning::Result result;
    int status = 0; // the exit code its outcome gives
};

// Runs one module's job, its progress on a terminal, and a failure's reason
// on stderr. `veto`: as BatchRun::Job's.
Ran runOne(const QString &port, const Commissioning::Plan &plan, const Common &common,
           const std::function<QString(const ModuleValues &)> &veto = nullptr)
{
    BatchRun run;
    BatchRun::Job &job = run.add(port, plan, common.interval);
    job.veto = veto;
    ProgressView view(run, ProgressView::Style::Line, common);
    run.run();
    Commissioning::Result r = job.work->result();
    if (!job.vetoed.isEmpty()) {
        r.outcome = job.outcome;
        r.detail = job.detail;
        r.detailText = job.detailText;
    }
    const QString named = ProgressView::port(job);
    if (r.outcome == Outcome::Interrupted)
        message(named + tr(": interrupted"));
    else if (r.outcome != Outcome::Ok)
        message(QStringLiteral("%1: %2: %3").arg(named, resultWord(r.outcome), shown(r.detailText)));
    return {port, named, r, exitCodeOf(r.outcome)};
}

// The identity of a module: "PORT: module MAC, firmware VERSION".
QString identity(const Ran &done)
{
    return tr("%1: module %2, firmware %3")
        .arg(done.named, done.result.before.value(proto::Param::Mac), done.result.before.value(proto::Param::Version));
}

QStringList namesOf(const QList<proto::Param> &params)
{
    QStringList names;
    for (const proto::Param p : params)
        names << proto::nameOf(p);
    return names;
}

QVector<proto::Param> scanOrder()
{
    return QVector<proto::Param>(std::begin(proto::order::scan), std::end(proto::order::scan));
}

QVector<proto::Param> identityQueries()
{
    return {proto::Param::Mac, proto::Param::Version};
}

QJsonObject resultJson(const Ran &done)
{
    return cli::resultJson(done.port, done.result.outcome, done.result.detail);
}

// Values as a table of key and value, in the scan's order.
QString valueTable(const ModuleValues &values)
{
    QString table;
    for (const proto::Param p : proto::order::scan)
        if (values.has(p))
            table += QStringLiteral("%1 %2\n").arg(proto::nameOf(p), -17).arg(values.value(p));
    return table;
}

QString seconds(qint64 ms)
{
    return language::decimal(ms / 1000.0, 1);
}

// ---- scan ----

QList<QCommandLineOption> scanOptions()
{
    return {option::output(), option::overwrite()};
}

// Saves the values as a settings file of its own, replacing whatever was
// there: the settings store merges into an existing file, so it writes a
// new one beside, which then takes the file's place whole.
bool saveSettings(const QString &path, const ModuleValues &values, QString *error)
{
    ParameterFile file;
    proto::toFile(values, file);
    QTemporaryDir fresh(QFileInfo(path).absoluteDir().filePath(QStringLiteral(".gateway-cli-XXXXXX")));
    const QString made = fresh.filePath(QFileInfo(path).fileName());
    if (!fresh.isValid() || !file.save(made, error)) {
        if (!fresh.isValid())
            *error = fresh.errorString();
        return false;
    }
    QFile saved(made);
    if (!saved.open(QIODevice::ReadOnly)) {
        *error = saved.errorString();
        return false;
    }
    return OutputFile::write(path, saved.readAll(), error);
}

int scan(const Options &o)
{
    // Parse: a file to save proven writable before anything is sent.
    const bool save = o.isSet(option::output());
    const QString output = o.value(option::output());
    if (save) {
        const QString fault = OutputFile::fault(output, o.isSet(option::overwrite()));
        if (!fault.isEmpty())
            return refuse({fault});
    }
    // Plan and run.
    Commissioning::Plan plan;
    plan.before = scanOrder();
    Ran done = runOne(o.positional[0], plan, o.common);
    const Commissioning::Result &r = done.result;
    // Render.
    if (r.outcome == Outcome::Ok && save) {
        QString error;
        if (!saveSettings(output, r.before, &error)) {
            message(QStringLiteral("%1: %2").arg(output, error));
            done.status = Failed;
        }
    }
    if (o.common.json) {
        QJsonObject doc = resultJson(done);
        doc.insert(key::parameters(), toJson(r.before));
        printJson(doc);
    } else {
        console::out(valueTable(r.before));
    }
    return done.status;
}

// ---- write ----

QCommandLineOption setOption()
{
    return {QStringLiteral("set"), tr("a value to write (repeatable, each key once)"), QStringLiteral("KEY=VALUE")};
}

QCommandLineOption noRebootOption()
{
    return {QStringLiteral("no-reboot"), tr("end after the changes: no reboot, no read-back")};
}

QList<QCommandLineOption> writeOptions()
{
    return QList<QCommandLineOption>{setOption(), option::onlyChanged(), noRebootOption(), option::rebootTimeout(),
                                     option::force()}
        + writecheck::options();
}

int write(const Options &o)
{
    // Parse: the values, each checked unless forced, and the network's
    // rules on those given together.
    int timeout = 0;
    if (!option::rebootTimeoutMs(o, &timeout))
        return Usage;
    const bool force = o.isSet(option::force());
    QStringList faults;
    ModuleValues values;
    if (o.positional.size() == 2)
        values = valueargs::fromFile(o.positional[1], force, &faults);
    valueargs::takeItems(o.values(setOption()), force, values, &faults);
    if (faults.isEmpty() && values.isEmpty())
        faults << tr("nothing to write: give a settings file or --set KEY=VALUE");
    if (faults.isEmpty() && !force)
        faults << NetRules::jointFaults(values);
    writecheck::Asked check;
    if (writecheck::parse(o, &check, &faults) && check.wanted() && !writecheck::clientModeFault(values).isEmpty())
        faults << writecheck::clientModeFault(values);
    if (check.wanted() && o.isSet(noRebootOption()))
        faults << tr("--check needs the reboot that applies the values: leave out --no-reboot");
    if (!faults.isEmpty())
        return refuse(faults);

    // Plan: the values the rules also need are read first, and the values
    // as they will stand judged before any change.
    Commissioning::Plan plan;
    plan.onlyChanged = o.isSet(option::onlyChanged());
    plan.before = plan.onlyChanged ? scanOrder() : identityQueries();
    const QList<proto::Param> needed = force ? QList<proto::Param>() : NetRules::neededToJudge(values);
    for (const proto::Param p : needed)
        if (!plan.before.contains(p))
            plan.before << p;
    if (!needed.isEmpty())
        plan.judge = NetRules::jointFaults;
    plan.changes = values;
    if (!o.isSet(noRebootOption())) {
        plan.action = proto::RebootUniversal;
        plan.readBack = true;
        plan.rebootTimeoutMs = timeout;
    }
    // A check needs the mode the module will be in: the scanned one, judged
    // before any change is sent.
    std::function<QString(const ModuleValues &)> veto;
    if (check.wanted() && !values.has(proto::Param::Mode)) {
        if (!plan.before.contains(proto::Param::Mode))
            plan.before.prepend(proto::Param::Mode);
        veto = writecheck::clientModeFault;
    }
    // Run.
    Ran done = runOne(o.positional[0], plan, o.common, veto);
    const Commissioning::Result &r = done.result;
    if (veto && r.written.isEmpty() && !veto(r.before).isEmpty())
        done.status = Usage;
    // Render: on every failure, what the module took before it.
    if (r.outcome != Outcome::Ok)
        message(r.written.isEmpty() ? tr("nothing was written")
                                    : tr("written before that: %1").arg(namesOf(r.written).join(QStringLiteral(", "))));
    if (o.common.json) {
        QJsonObject doc = resultJson(done);
        doc.insert(key::mac(), r.before.value(proto::Param::Mac));
        doc.insert(key::version(), r.before.value(proto::Param::Version));
        doc.insert(key::written(), QJsonArray::fromStringList(namesOf(r.written)));
        if (plan.onlyChanged)
            doc.insert(key::before(), toJson(r.before));
        if (plan.readBack)
            doc.insert(key::after(), toJson(r.after));
        if (!r.mismatched.isEmpty())
            doc.insert(key::mismatched(), QJsonArray::fromStringList(namesOf(r.mismatched)));
        if (check.wanted() && r.outcome == Outcome::Ok)
            done.status = writecheck::run(check, writecheck::standing(r.before, values, r.after), o.common, &doc);
        printJson(doc);
    } else if (r.before.has(proto::Param::Mac)) {
        QString text = identity(done) + QLatin1Char('\n');
        if (r.written.isEmpty() && r.outcome == Outcome::Ok)
            text += tr("nothing to write: every value is as asked") + QLatin1Char('\n');
        else if (!r.written.isEmpty())
            text += tr("written: %1").arg(namesOf(r.written).join(QStringLiteral(", "))) + QLatin1Char('\n');
        if (r.outcome == Outcome::Ok && plan.readBack && !r.written.isEmpty())
            text += tr("rebooted, back after %1 s; read back: every value as written").arg(seconds(r.backAfterMs))
                + QLatin1Char('\n');
        console::out(text);
        if (check.wanted() && r.outcome == Outcome::Ok)
            done.status = writecheck::run(check, writecheck::standing(r.before, values, r.after), o.common, nullptr);
    }
    return done.status;
}

// ---- diff ----

int diff(const Options &o)
{
    // Parse: the file's values as they are; a bad one simply differs.
    QStringList faults;
    const ModuleValues file = valueargs::fromFile(o.positional[1], true, &faults);
    if (!faults.isEmpty())
        return refuse(faults);
    // Plan and run.
    Commissioning::Plan plan;
    plan.before = scanOrder();
    Ran done = runOne(o.positional[0], plan, o.common);
    const Commissioning::Result &r = done.result;
    // Render.
    QJsonObject differences;
    QString text;
    if (r.outcome == Outcome::Ok) {
        for (const proto::Param p : proto::order::scan) {
            if (!file.has(p) || file.value(p) == r.before.value(p))
                continue;
            differences.insert(proto::nameOf(p),
                               QJsonObject{{key::module(), r.before.value(p)}, {key::file(), file.value(p)}});
            text += tr("%1 module %2, file %3\n").arg(proto::nameOf(p), -17).arg(r.before.value(p), file.value(p));
        }
        done.status = differences.isEmpty() ? Done : Failed;
    }
    if (o.common.json) {
        QJsonObject doc = resultJson(done);
        doc.insert(key::differences(), differences);
        doc.insert(key::parameters(), toJson(r.before));
        printJson(doc);
    } else if (r.outcome == Outcome::Ok) {
        console::out(text);
        message(differences.isEmpty() ? tr("the module holds the file's values")
                                      : tr("%n values differ", nullptr, int(differences.size())));
    }
    return done.status;
}

// ---- reboot and factory-reset ----

QCommandLineOption noWaitOption()
{
    return {QStringLiteral("no-wait"), tr("end once the command has left the port: no wait for the module's return")};
}

QCommandLineOption yesOption()
{
    return {QStringLiteral("yes"), tr("yes, return the module to its factory settings")};
}

QList<QCommandLineOption> rebootOptions()
{
    return {noWaitOption(), option::rebootTimeout()};
}

QList<QCommandLineOption> factoryResetOptions()
{
    return {yesOption(), noWaitOption(), option::rebootTimeout()};
}

// Who the module is, then the command; then, unless --no-wait, the wait
// until it answers again, and for a factory reset the values it came back
// with.
int action(const Options &o, const QByteArray &line, bool readBack)
{
    // Parse.
    int timeout = 0;
    if (!option::rebootTimeoutMs(o, &timeout))
        return Usage;
    const bool wait = !o.isSet(noWaitOption());
    // Plan and run.
    Commissioning::Plan plan;
    plan.before = identityQueries();
    plan.action = line;
    plan.waitBack = wait;
    plan.readBack = wait && readBack;
    plan.rebootTimeoutMs = timeout;
    const Ran done = runOne(o.positional[0], plan, o.common);
    const Commissioning::Result &r = done.result;
    // Render.
    if (o.common.json) {
        QJsonObject doc = resultJson(done);
        doc.insert(key::module(), toJson(r.before));
        if (r.backAfterMs >= 0)
            doc.insert(key::backAfterMs(), r.backAfterMs);
        if (plan.readBack)
            doc.insert(key::after(), toJson(r.after));
        printJson(doc);
    } else if (r.outcome == Outcome::Ok) {
        QString text = identity(done) + QLatin1Char('\n');
        text += wait ? tr("sent \"%1\"; the module answers again after %2 s").arg(QString::fromLatin1(line), seconds(r.backAfterMs))
                     : tr("sent \"%1\"").arg(QString::fromLatin1(line));
        text += QLatin1Char('\n');
        if (plan.readBack)
            text += tr("it came back with:") + QLatin1Char('\n') + valueTable(r.after);
        console::out(text);
    }
    return done.status;
}

int reboot(const Options &o)
{
    return action(o, proto::Reboot, false);
}

int factoryReset(const Options &o)
{
    // Parse.
    if (!o.isSet(yesOption())) {
        message(tr("%1 returns the module to its factory settings: say --yes").arg(QLatin1String(o.command.name)));
        return Usage;
    }
    return action(o, proto::FactoryReset, true);
}

} // namespace

const Command scanCommand{
    "scan", "PORT",
    "PORT [-o FILE [--overwrite]] [--json]",
    1, 1, Command::Serial,
    QT_TRANSLATE_NOOP("cli", "the module's fifteen parameters"),
    QT_TRANSLATE_NOOP("cli",
                      "Reads the module's fifteen parameters, in the order the configurator's scan\n"
                      "takes them, and prints them (key, value), or with --json as\n"
                      "{\"port\": ..., \"result\": \"ok\", \"parameters\": {\"mode\": \"server\", ...}}."),
    scanOptions,
    QT_TRANSLATE_NOOP("cli",
                      "A reply that is missing, empty or not one of a choice's words fails the\n"
                      "scan and names the key: exit status 3 for a silent module or one whose\n"
                      "replies are not the protocol's (garbled), 1 for a bad value. -o also\n"
                      "saves the thirteen values a settings file holds, as the configurator\n"
                      "saves them after the same scan; the file is checked before anything is\n"
                      "sent: its folder must take a new file, and an existing file is replaced\n"
                      "only with --overwrite."),
    {},
    scan};

const Command writeCommand{
    "write", "PORT [FILE]",
    "PORT [FILE] [--set KEY=VALUE]... [OPTION]...",
    1, 2, Command::Serial,
    QT_TRANSLATE_NOOP("cli", "write parameters, reboot the module, read them back"),
    QT_TRANSLATE_NOOP("cli",
                      "Writes the values of a settings file, each --set overriding one (without a\n"
                      "file, only the --set keys), in the configurator's write order, each\n"
                      "acknowledgement checked; then reboots the module (\"reset\"), waits for it to\n"
                      "come back and reads every parameter back. Before anything is sent, every\n"
                      "value is checked: IPv4 addresses for ip, mask, gateway and ip_server_tcp;\n"
                      "port_tcp 502 or 10000-65535; timeout_response 100-60000; timeout_tcp\n"
                      "5-240; rtu_virtual_id 1-247; tcp_slave_id 1-255 or off; the choices'\n"
                      "words (in any case: None is none). Keys are taken in any case too; each\n"
                      "once. A bad value is named with what is wrong with it, one line each, and\n"
                      "nothing is sent (exit status 2).\n"
                      "\n"
                      "Addresses that cannot work on a network are refused as well: a mask must\n"
                      "be a prefix /1 to /30 (255.255.255.0 is /24); ip no address of 0.0.0.0/8,\n"
                      "127.0.0.0/8 or multicast, not 255.255.255.255, nor its subnet's network\n"
                      "or broadcast address; gateway 0.0.0.0 (none) or an address of the\n"
                      "module's subnet other than ip; ip_server_tcp a unicast address outside\n"
                      "127.0.0.0/8. The rules that tie ip, mask and gateway together are judged\n"
                      "on the values as they will stand: where only some are given, the others\n"
                      "are read from the module first, and nothing is written when they cannot\n"
                      "work (exit status 2)."),
    writeOptions,
    QT_TRANSLATE_NOOP("cli",
                      "The first refusal (\"?\"), or an answer other than \"ok\", or none in the\n"
                      "module's time, stops the write: nothing more is sent, and the keys the\n"
                      "module took before it are named, on every failure and on Ctrl+C (which\n"
                      "waits for the answer to the change on the wire). --force sends every value\n"
                      "unchecked, the network's rules too (and so allows the masks /31 and /32).\n"
                      "Exit status 0 only when every value reads back as written."),
    {},
    write};

const Command diffCommand{
    "diff", "PORT FILE",
    "PORT FILE [--json]",
    2, 2, Command::Serial,
    QT_TRANSLATE_NOOP("cli", "the parameters that differ from a settings file"),
    QT_TRANSLATE_NOOP("cli",
                      "Scans the module and lists the keys whose values differ from the settings\n"
                      "file's. Exit status 0 when none differ, 1 when some do."),
    noOptions,
    nullptr,
    {},
    diff};

const Command rebootCommand{
    "reboot", "PORT",
    "PORT [--no-wait] [--reboot-timeout S] [--json]",
    1, 1, Command::Serial,
    QT_TRANSLATE_NOOP("cli", "restart the module and wait until it answers again"),
    QT_TRANSLATE_NOOP("cli",
                      "Asks the module who it is, restarts it (\"RESET\"), waits until it answers\n"
                      "again (its device may vanish and come back meanwhile), confirms it with a\n"
                      "query and prints how long it took. Exit status 3 when it does not come\n"
                      "back in time."),
    rebootOptions,
    nullptr,
    {},
    reboot};

const Command factoryResetCommand{
    "factory-reset", "PORT",
    "PORT --yes [--no-wait] [--reboot-timeout S] [--json]",
    1, 1, Command::Serial,
    QT_TRANSLATE_NOOP("cli", "return the module to its factory settings (--yes)"),
    QT_TRANSLATE_NOOP("cli",
                      "Asks the module who it is, returns it to its factory settings (\"LOAD\n"
                      "SETTING:DEFAULT\"), waits until it answers again after its restart and\n"
                      "shows the values it came back with (with --json as \"after\"). It refuses\n"
                      "without --yes (exit status 2); exit status 3 when the module does not come\n"
                      "back in time."),
    factoryResetOptions,
    nullptr,
    {},
    factoryReset};

} // namespace cli
