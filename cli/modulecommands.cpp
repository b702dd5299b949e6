// gateway-cli scan, write, diff, reboot and factory-reset: one module on its
// port.
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

#include <functional>

#include "batchrun.h"
#include "commands.h"
#include "console.h"
#include "exitcode.h"
#include "messages.h"
#include "options.h"
#include "parameterfile.h"
#include "progressview.h"
#include "valueargs.h"
#include "words.h"
#include "writecheck.h"

namespace cli {

namespace {

using Outcome = Commissioning::Outcome;

// What became of one module's job.
struct Ran {
    QString port;
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
    }
    if (r.outcome == Outcome::Interrupted)
        message(port + QStringLiteral(": interrupted"));
    else if (r.outcome != Outcome::Ok)
        message(QStringLiteral("%1: %2: %3").arg(port, resultWord(r.outcome), r.detail));
    return {port, r, exitCodeOf(r.outcome)};
}

// The identity line of a module: "PORT: module MAC, firmware VERSION".
QString identity(const QString &port, const ModuleValues &values)
{
    return QStringLiteral("%1: module %2, firmware %3\n")
        .arg(port, values.value(proto::Param::Mac), values.value(proto::Param::Version));
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

// ---- scan ----

QCommandLineOption outputOption()
{
    return {{QStringLiteral("o"), QStringLiteral("output")},
            tr("also save the thirteen values a settings file holds, as the configurator saves them after the "
               "same scan"),
            QStringLiteral("FILE")};
}

int scan(const Options &o)
{
    // Parse.
    const QCommandLineOption outputOpt = outputOption();
    const bool save = o.isSet(outputOpt);
    const QString output = o.value(outputOpt);
    if (save && !QFileInfo(output).absoluteDir().exists()) {
        message(QStringLiteral("%1: no such folder").arg(QFileInfo(output).absolutePath()));
        return Usage;
    }
    // Plan and run.
    Commissioning::Plan plan;
    plan.before = scanOrder();
    Ran done = runOne(o.positional[0], plan, o.common);
    const Commissioning::Result &r = done.result;
    // Render.
    if (r.outcome == Outcome::Ok && save) {
        ParameterFile file;
        proto::toFile(r.before, file);
        QString error;
        if (!file.save(output, &error)) {
            message(QStringLiteral("%1: %2").arg(output, error));
            done.status = Failed;
        }
    }
    if (o.common.json) {
        QJsonObject doc = resultJson(done);
        doc.insert(key::parameters(), toJson(r.before));
        printJson(doc);
    } else {
        QString table;
        for (const proto::Param p : proto::order::scan)
            if (r.before.has(p))
                table += QStringLiteral("%1 %2\n").arg(proto::nameOf(p), -17).arg(r.before.value(p));
        console::out(table);
    }
    return done.status;
}

// ---- write ----

struct WriteOptions {
    QCommandLineOption set{QStringLiteral("set"), tr("a value to write (repeatable)"), QStringLiteral("KEY=VALUE")};
    QCommandLineOption onlyChanged{QStringLiteral("only-changed"), tr("scan first and write only the values that differ")};
    QCommandLineOption noReboot{QStringLiteral("no-reboot"), tr("end after the changes: no reboot, no read-back")};
    QCommandLineOption rebootTimeout{QStringLiteral("reboot-timeout"),
                                     tr("how long to wait for the module to come back after its reboot (default 30)"),
                                     QStringLiteral("S")};
    QCommandLineOption force{QStringLiteral("force"), tr("send the values unchecked: the module judges them")};
    QList<QCommandLineOption> all() const
    {
        return QList<QCommandLineOption>{set, onlyChanged, noReboot, rebootTimeout, force} + writecheck::options();
    }
};

int write(const Options &o)
{
    // Parse: the values, each checked unless forced.
    const WriteOptions own;
    int timeout = 30;
    if (o.isSet(own.rebootTimeout) && !o.number(own.rebootTimeout, 1, 3600, &timeout))
        return Usage;
    const bool force = o.isSet(own.force);
    QStringList faults;
    ModuleValues values;
    if (o.positional.size() == 2)
        values = valueargs::fromFile(o.positional[1], force, &faults);
    for (const QString &item : o.values(own.set))
        valueargs::takeItem(item, force, values, &faults);
    if (faults.isEmpty() && values.isEmpty())
        faults << QStringLiteral("nothing to write: give a settings file or --set KEY=VALUE");
    writecheck::Asked check;
    if (writecheck::parse(o, &check, &faults) && check.wanted() && !writecheck::clientModeFault(values).isEmpty())
        faults << writecheck::clientModeFault(values);
    if (check.wanted() && o.isSet(own.noReboot))
        faults << tr("--check needs the reboot that applies the values: leave out --no-reboot");
    if (!faults.isEmpty())
        return refuse(faults);

    // Plan.
    Commissioning::Plan plan;
    plan.onlyChanged = o.isSet(own.onlyChanged);
    plan.before = plan.onlyChanged ? scanOrder() : identityQueries();
    plan.changes = values;
    if (!o.isSet(own.noReboot)) {
        plan.action = proto::RebootUniversal;
        plan.readBack = true;
        plan.rebootTimeoutMs = timeout * 1000;
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
    // Render.
    if (!r.written.isEmpty() && r.outcome != Outcome::Ok)
        message(QStringLiteral("written before that: %1").arg(namesOf(r.written).join(QStringLiteral(", "))));
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
        QString text = identity(done.port, r.before);
        if (r.written.isEmpty() && r.outcome == Outcome::Ok)
            text += QStringLiteral("nothing to write: every value is as asked\n");
        else if (!r.written.isEmpty())
            text += QStringLiteral("written: %1\n").arg(namesOf(r.written).join(QStringLiteral(", ")));
        if (r.outcome == Outcome::Ok && plan.readBack && !r.written.isEmpty())
            text += QStringLiteral("rebooted; read back: every value as written\n");
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
            text += QStringLiteral("%1 module %2, file %3\n").arg(proto::nameOf(p), -17).arg(r.before.value(p), file.value(p));
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
        message(differences.isEmpty() ? QStringLiteral("the module holds the file's values")
                                      : QStringLiteral("%1 values differ").arg(differences.size()));
    }
    return done.status;
}

// ---- reboot and factory-reset ----

QCommandLineOption yesOption()
{
    return {QStringLiteral("yes"), tr("yes, return the module to its factory settings")};
}

// Who the module is, then the command.
int action(const Options &o, const QByteArray &line)
{
    // Plan and run.
    Commissioning::Plan plan;
    plan.before = identityQueries();
    plan.action = line;
    const Ran done = runOne(o.positional[0], plan, o.common);
    // Render.
    if (o.common.json) {
        QJsonObject doc = resultJson(done);
        doc.insert(key::module(), toJson(done.result.before));
        printJson(doc);
    } else if (done.result.outcome == Outcome::Ok) {
        console::out(identity(done.port, done.result.before).chopped(1)
                     + QStringLiteral(": sent \"%1\"\n").arg(QString::fromLatin1(line)));
    }
    return done.status;
}

int reboot(const Options &o)
{
    return action(o, proto::Reboot);
}

int factoryReset(const Options &o)
{
    // Parse.
    if (!o.isSet(yesOption())) {
        message(QStringLiteral("%1 returns the module to its factory settings: say --yes").arg(o.command.name));
        return Usage;
    }
    return action(o, proto::FactoryReset);
}

} // namespace

Command scanCommand()
{
    Command c;
    c.name = QStringLiteral("scan");
    c.arguments = QStringLiteral("PORT");
    c.synopsis = QStringLiteral("PORT [-o FILE] [--json]");
    c.summary = tr("the module's fifteen parameters");
    c.about = tr("Reads the module's fifteen parameters, in the order the configurator's scan\n"
                 "takes them, and prints them (key, value), or with --json as\n"
                 "{\"port\": ..., \"result\": \"ok\", \"parameters\": {\"mode\": \"server\", ...}}.");
    c.options = {outputOption()};
    c.notes = tr("A reply that is missing, empty or not one of a choice's words fails the\n"
                 "scan and names the key: exit status 3 for a silent module, 1 for a bad\n"
                 "value.");
    c.minArguments = c.maxArguments = 1;
    c.run = scan;
    return c;
}

Command writeCommand()
{
    Command c;
    c.name = QStringLiteral("write");
    c.arguments = QStringLiteral("PORT [FILE]");
    c.synopsis = QStringLiteral("PORT [FILE] [--set KEY=VALUE]... [OPTION]...");
    c.summary = tr("write parameters, reboot the module, read them back");
    c.about = tr("Writes the values of a settings file, each --set overriding one (without a\n"
                 "file, only the --set keys), in the configurator's write order, each\n"
                 "acknowledgement checked; then reboots the module (\"reset\"), waits for it to\n"
                 "come back and reads every parameter back. Before anything is sent, every\n"
                 "value is checked: IPv4 addresses for ip, mask, gateway and ip_server_tcp;\n"
                 "port_tcp 502 or 10000-65535; timeout_response 100-60000; timeout_tcp\n"
                 "5-240; rtu_virtual_id 1-247; tcp_slave_id 1-255 or off; the choices'\n"
                 "words. A bad value, an unknown key or an item that is not KEY=VALUE is\n"
                 "named, one line each, and nothing is sent (exit status 2).");
    c.options = WriteOptions().all();
    c.notes = tr("The first refusal (\"?\"), or an answer other than \"ok\", or none in the\n"
                 "module's time, stops the write: nothing more is sent, and the keys written\n"
                 "before it are named. Exit status 0 only when every value reads back as\n"
                 "written.");
    c.minArguments = 1;
    c.maxArguments = 2;
    c.run = write;
    return c;
}

Command diffCommand()
{
    Command c;
    c.name = QStringLiteral("diff");
    c.arguments = QStringLiteral("PORT FILE");
    c.synopsis = QStringLiteral("PORT FILE [--json]");
    c.summary = tr("the parameters that differ from a settings file");
    c.about = tr("Scans the module and lists the keys whose values differ from the settings\n"
                 "file's. Exit status 0 when none differ, 1 when some do.");
    c.minArguments = c.maxArguments = 2;
    c.run = diff;
    return c;
}

Command rebootCommand()
{
    Command c;
    c.name = QStringLiteral("reboot");
    c.arguments = QStringLiteral("PORT");
    c.synopsis = QStringLiteral("PORT");
    c.summary = tr("restart the module");
    c.about = tr("Asks the module who it is, then restarts it (\"RESET\").");
    c.minArguments = c.maxArguments = 1;
    c.run = reboot;
    return c;
}

Command factoryResetCommand()
{
    Command c;
    c.name = QStringLiteral("factory-reset");
    c.arguments = QStringLiteral("PORT");
    c.synopsis = QStringLiteral("PORT --yes");
    c.summary = tr("return the module to its factory settings (--yes)");
    c.about = tr("Asks the module who it is, then returns it to its factory settings (\"LOAD\n"
                 "SETTING:DEFAULT\"). It refuses without --yes (exit status 2).");
    c.options = {yesOption()};
    c.minArguments = c.maxArguments = 1;
    c.run = factoryReset;
    return c;
}

} // namespace cli
