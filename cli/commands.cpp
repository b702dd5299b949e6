#include "commands.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QSerialPortInfo>

#include <memory>

#include "console.h"
#include "help.h"
#include "options.h"
#include "parameterfile.h"
#include "valueargs.h"

namespace cli {

namespace {

using Outcome = Commissioning::Outcome;

// On a terminal, one line on stderr that follows the job's steps.
void showProgress(Commissioning &job, const Common &common)
{
    if (common.verbose || !console::errIsTerminal())
        return;
    QObject::connect(&job, &Commissioning::stepStarted, &job, [](int step, int total, const QString &what) {
        console::err(QStringLiteral("\r\x1b[K[%1/%2] %3").arg(step).arg(total).arg(what));
    });
    QObject::connect(&job, &Commissioning::finished, &job, [] { console::err(QStringLiteral("\r\x1b[K")); });
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

// The start of every JSON document about one module.
QJsonObject resultJson(const Commissioning &job)
{
    const Commissioning::Result &r = job.result();
    QJsonObject o{{QStringLiteral("port"), job.port()}, {QStringLiteral("result"), resultWord(r.outcome)}};
    if (!r.detail.isEmpty())
        o.insert(QStringLiteral("detail"), r.detail);
    return o;
}

// A failed job's reason for a person, on stderr.
void reportFailure(const Commissioning &job)
{
    const Commissioning::Result &r = job.result();
    if (r.outcome == Outcome::Interrupted)
        message(job.port() + QStringLiteral(": interrupted"));
    else if (r.outcome != Outcome::Ok)
        message(QStringLiteral("%1: %2: %3").arg(job.port(), resultWord(r.outcome), r.detail));
}

// Runs one job, with its progress on a terminal; its exit status.
int runOne(Commissioning &job, const Common &common)
{
    showProgress(job, common);
    runAll({&job}, common);
    reportFailure(job);
    return exitCodeOf(job.result().outcome);
}

QVector<proto::Param> scanOrder()
{
    return QVector<proto::Param>(std::begin(proto::order::scan), std::end(proto::order::scan));
}

const QVector<proto::Param> identityQueries{proto::Param::Mac, proto::Param::Version};

// A reboot or a factory reset: who the module is, then the command.
int action(const QStringList &args, const QString &command, const QByteArray &line, bool needsYes)
{
    Options o(command);
    if (needsYes)
        o.add({QStringLiteral("yes"), QString()});
    int code = 0;
    if (!o.parse(args, 1, 1, &code))
        return code;
    if (needsYes && !o.isSet(QStringLiteral("yes"))) {
        message(QStringLiteral("%1 returns the module to its factory settings: say --yes").arg(command));
        return Usage;
    }
    Commissioning::Plan plan;
    plan.before = identityQueries;
    plan.action = line;
    Commissioning job(o.positional[0], plan, o.common.interval);
    const int status = runOne(job, o.common);
    const Commissioning::Result &r = job.result();
    if (o.common.json) {
        QJsonObject doc = resultJson(job);
        doc.insert(QStringLiteral("module"), toJson(r.before));
        printJson(doc);
    } else if (r.outcome == Outcome::Ok) {
        console::out(identity(job.port(), r.before).chopped(1) + QStringLiteral(": sent \"%1\"\n")
                                                                      .arg(QString::fromLatin1(line)));
    }
    return status;
}

} // namespace

int ports(const QStringList &args)
{
    Options o(QStringLiteral("ports"));
    int code = 0;
    if (!o.parse(args, 0, 0, &code))
        return code;
    // The stable names of the USB adapters, by the device they stand for.
    QHash<QString, QString> byId;
#ifdef Q_OS_LINUX
    const QDir dir(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo &link : dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        byId.insert(link.canonicalFilePath(), link.absoluteFilePath());
#endif
    QJsonArray list;
    QString text;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString name = portArgument(info);
        QJsonObject port{{QStringLiteral("port"), name}, {QStringLiteral("location"), info.systemLocation()}};
        QStringList fields{name};
        const auto add = [&](const char *key, const QString &value) {
            if (value.isEmpty())
                return;
            port.insert(QLatin1String(key), value);
            fields << value;
        };
        add("description", info.description());
        add("manufacturer", info.manufacturer());
        add("serial_number", info.serialNumber());
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            add("usb", QStringLiteral("%1:%2")
                           .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                           .arg(info.productIdentifier(), 4, 16, QLatin1Char('0')));
        add("by_id", byId.value(QFileInfo(info.systemLocation()).canonicalFilePath()));
        list << port;
        text += fields.join(QStringLiteral("  ")) + QLatin1Char('\n');
    }
    if (o.common.json)
        printJson({{QStringLiteral("ports"), list}});
    else if (list.isEmpty())
        message(QStringLiteral("the system lists no serial ports"));
    else
        console::out(text);
    return Done;
}

int find(const QStringList &args)
{
    Options o(QStringLiteral("find"));
    int code = 0;
    if (!o.parse(args, 0, -1, &code))
        return code;
    const QStringList ports = o.positional.isEmpty() ? listedPorts() : o.positional;
    std::vector<std::unique_ptr<Commissioning>> jobs;
    QList<Commissioning *> all;
    Commissioning::Plan plan;
    plan.before = identityQueries;
    for (const QString &port : ports) {
        jobs.push_back(std::make_unique<Commissioning>(port, plan, o.common.interval));
        all << jobs.back().get();
    }
    runAll(all, o.common);

    int found = 0;
    bool interrupted = false;
    QJsonArray list;
    for (const Commissioning *job : all) {
        const Commissioning::Result &r = job->result();
        interrupted = interrupted || r.outcome == Outcome::Interrupted;
        QJsonObject entry = resultJson(*job);
        entry.insert(QStringLiteral("found"), r.outcome == Outcome::Ok);
        if (r.outcome == Outcome::Ok) {
            ++found;
            entry.insert(QStringLiteral("mac"), r.before.value(proto::Param::Mac));
            entry.insert(QStringLiteral("version"), r.before.value(proto::Param::Version));
            if (!o.common.json)
                console::out(QStringLiteral("%1  %2  %3\n")
                                 .arg(job->port(), r.before.value(proto::Param::Mac),
                                      r.before.value(proto::Param::Version)));
        }
        list << entry;
    }
    if (o.common.json)
        printJson({{QStringLiteral("ports"), list}, {QStringLiteral("found"), found}});
    else
        message(QStringLiteral("%1 of %2 ports have a module").arg(found).arg(ports.size()));
    if (interrupted)
        return Interrupted;
    return found > 0 ? Done : NoModule;
}

int scan(const QStringList &args)
{
    Options o(QStringLiteral("scan"));
    o.add({{QStringLiteral("o"), QStringLiteral("output")}, QString(), QStringLiteral("FILE")});
    int code = 0;
    if (!o.parse(args, 1, 1, &code))
        return code;
    const QString output = o.value(QStringLiteral("output"));
    if (o.isSet(QStringLiteral("output")) && !QFileInfo(output).absoluteDir().exists()) {
        message(QStringLiteral("%1: no such folder").arg(QFileInfo(output).absolutePath()));
        return Usage;
    }
    Commissioning::Plan plan;
    plan.before = scanOrder();
    Commissioning job(o.positional[0], plan, o.common.interval);
    int status = runOne(job, o.common);
    const Commissioning::Result &r = job.result();

    if (r.outcome == Outcome::Ok && o.isSet(QStringLiteral("output"))) {
        ParameterFile file;
        proto::toFile(r.before, file);
        QString error;
        if (!file.save(output, &error)) {
            message(QStringLiteral("%1: %2").arg(output, error));
            status = Failed;
        }
    }
    if (o.common.json) {
        QJsonObject doc = resultJson(job);
        doc.insert(QStringLiteral("parameters"), toJson(r.before));
        printJson(doc);
    } else {
        QString table;
        for (const proto::Param p : proto::order::scan)
            if (r.before.has(p))
                table += QStringLiteral("%1 %2\n").arg(proto::nameOf(p), -17).arg(r.before.value(p));
        console::out(table);
    }
    return status;
}

int write(const QStringList &args)
{
    Options o(QStringLiteral("write"));
    o.add({QStringLiteral("set"), QString(), QStringLiteral("KEY=VALUE")});
    o.add({QStringLiteral("only-changed"), QString()});
    o.add({QStringLiteral("no-reboot"), QString()});
    o.add({QStringLiteral("reboot-timeout"), QString(), QStringLiteral("S")});
    o.add({QStringLiteral("force"), QString()});
    int code = 0;
    if (!o.parse(args, 1, 2, &code))
        return code;
    int timeout = 30;
    if (o.isSet(QStringLiteral("reboot-timeout")) && !o.number(QStringLiteral("reboot-timeout"), 1, 3600, &timeout))
        return Usage;

    const bool force = o.isSet(QStringLiteral("force"));
    QStringList faults;
    ModuleValues values;
    if (o.positional.size() == 2)
        values = valueargs::fromFile(o.positional[1], force, &faults);
    for (const QString &item : o.values(QStringLiteral("set")))
        valueargs::takeItem(item, force, values, &faults);
    if (faults.isEmpty() && values.isEmpty())
        faults << QStringLiteral("nothing to write: give a settings file or --set KEY=VALUE");
    if (!faults.isEmpty()) {
        return refuse(faults);
    }

    Commissioning::Plan plan;
    plan.onlyChanged = o.isSet(QStringLiteral("only-changed"));
    plan.before = plan.onlyChanged ? scanOrder() : identityQueries;
    plan.changes = values;
    if (!o.isSet(QStringLiteral("no-reboot"))) {
        plan.action = proto::RebootUniversal;
        plan.readBack = true;
        plan.rebootTimeoutMs = timeout * 1000;
    }
    Commissioning job(o.positional[0], plan, o.common.interval);
    const int status = runOne(job, o.common);
    const Commissioning::Result &r = job.result();

    if (!r.written.isEmpty() && r.outcome != Outcome::Ok)
        message(QStringLiteral("written before that: %1").arg(namesOf(r.written).join(QStringLiteral(", "))));
    if (o.common.json) {
        QJsonObject doc = resultJson(job);
        doc.insert(QStringLiteral("mac"), r.before.value(proto::Param::Mac));
        doc.insert(QStringLiteral("version"), r.before.value(proto::Param::Version));
        doc.insert(QStringLiteral("written"), QJsonArray::fromStringList(namesOf(r.written)));
        if (plan.onlyChanged)
            doc.insert(QStringLiteral("before"), toJson(r.before));
        if (plan.readBack)
            doc.insert(QStringLiteral("after"), toJson(r.after));
        if (!r.mismatched.isEmpty())
            doc.insert(QStringLiteral("mismatched"), QJsonArray::fromStringList(namesOf(r.mismatched)));
        printJson(doc);
    } else if (r.before.has(proto::Param::Mac)) {
        QString text = identity(job.port(), r.before);
        if (r.written.isEmpty() && r.outcome == Outcome::Ok)
            text += QStringLiteral("nothing to write: every value is as asked\n");
        else if (!r.written.isEmpty())
            text += QStringLiteral("written: %1\n").arg(namesOf(r.written).join(QStringLiteral(", ")));
        if (r.outcome == Outcome::Ok && plan.readBack && !r.written.isEmpty())
            text += QStringLiteral("rebooted; read back: every value as written\n");
        console::out(text);
    }
    return status;
}

int diff(const QStringList &args)
{
    Options o(QStringLiteral("diff"));
    int code = 0;
    if (!o.parse(args, 2, 2, &code))
        return code;
    QStringList faults;
    // The file's values as they are: a bad one simply differs.
    const ModuleValues file = valueargs::fromFile(o.positional[1], true, &faults);
    if (!faults.isEmpty()) {
        return refuse(faults);
    }
    Commissioning::Plan plan;
    plan.before = scanOrder();
    Commissioning job(o.positional[0], plan, o.common.interval);
    int status = runOne(job, o.common);
    const Commissioning::Result &r = job.result();

    QJsonObject differences;
    QString text;
    if (r.outcome == Outcome::Ok) {
        for (const proto::Param p : proto::order::scan) {
            if (!file.has(p) || file.value(p) == r.before.value(p))
                continue;
            differences.insert(proto::nameOf(p), QJsonObject{{QStringLiteral("module"), r.before.value(p)},
                                                             {QStringLiteral("file"), file.value(p)}});
            text += QStringLiteral("%1 module %2, file %3\n").arg(proto::nameOf(p), -17).arg(r.before.value(p), file.value(p));
        }
        status = differences.isEmpty() ? Done : Failed;
    }
    if (o.common.json) {
        QJsonObject doc = resultJson(job);
        doc.insert(QStringLiteral("differences"), differences);
        doc.insert(QStringLiteral("parameters"), toJson(r.before));
        printJson(doc);
    } else if (r.outcome == Outcome::Ok) {
        console::out(text);
        message(differences.isEmpty() ? QStringLiteral("the module holds the file's values")
                                      : QStringLiteral("%1 values differ").arg(differences.size()));
    }
    return status;
}

int reboot(const QStringList &args)
{
    return action(args, QStringLiteral("reboot"), proto::Reboot, false);
}

int factoryReset(const QStringList &args)
{
    return action(args, QStringLiteral("factory-reset"), proto::FactoryReset, true);
}

int main(const QStringList &arguments)
{
    const QStringList args = arguments.mid(1);
    const QString command = args.value(0);
    const struct {
        const char *name;
        int (*run)(const QStringList &);
    } commands[] = {{"ports", ports},   {"find", find},     {"scan", scan},
                    {"write", write},   {"diff", diff},     {"reboot", reboot},
                    {"factory-reset", factoryReset}, {"plan", plan}, {"batch", batch},
                    {"check", check},   {"serve", serve}};
    for (const auto &c : commands)
        if (command == QLatin1String(c.name))
            return c.run(args.mid(1));
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        console::out(helpText(QString()));
        return Done;
    }
    if (command == QLatin1String("--version")) {
        console::out(QStringLiteral("gateway-cli " GATEWAY_VERSION "\n"));
        return Done;
    }
    if (command.isEmpty())
        message(QStringLiteral("which command? (gateway-cli --help)"));
    else
        message(QStringLiteral("no command \"%1\" (gateway-cli --help)").arg(command));
    return Usage;
}

} // namespace cli
