#include "writecheck.h"

#include <QEventLoop>

#include "checkreport.h"
#include "command.h"
#include "console.h"
#include "exitcode.h"
#include "messages.h"
#include "modbuscheck.h"
#include "options.h"

namespace cli {
namespace writecheck {

namespace {

QCommandLineOption checkOption()
{
    return {QStringLiteral("check"),
            cli::tr("after the read-back, read through the gateway over Modbus TCP, as the check command does "
               "(repeatable): at the written ip and port_tcp, or at --via. The exit status is then the check's "
               "(0, 1 or 3) unless the write failed. A module that will be in client mode is refused before any "
               "change is sent"),
            QStringLiteral("KIND:ADDRESS[:COUNT]")};
}

QCommandLineOption unitOption()
{
    return {QStringLiteral("unit"), cli::tr("the unit --check reads from, 1-247 (default 1)"), QStringLiteral("ID")};
}

QCommandLineOption viaOption()
{
    return {QStringLiteral("via"),
            cli::tr("where --check connects instead of the written ip and port_tcp (a NAT or a port forward; port "
               "default 502)"),
            QStringLiteral("HOST[:PORT]")};
}

} // namespace

QList<QCommandLineOption> options()
{
    return {checkOption(), unitOption(), viaOption()};
}

bool parse(const Options &o, Asked *asked, QStringList *faults)
{
    const int before = faults->size();
    QString fault;
    int unit = 1;
    if (o.isSet(unitOption()) && !checkargs::parseUnit(o.value(unitOption()), &unit, &fault))
        *faults << QStringLiteral("--unit: %1").arg(fault);
    for (const QString &text : o.values(checkOption())) {
        checkargs::Read read;
        if (checkargs::parseRead(text, unit, &read, &fault))
            asked->reads << read;
        else
            *faults << QStringLiteral("--check %1").arg(fault);
    }
    if (o.isSet(viaOption())) {
        asked->via = true;
        if (!checkargs::parseHostPort(o.value(viaOption()), &asked->viaHost, &asked->viaPort, &fault))
            *faults << QStringLiteral("--via %1").arg(fault);
    }
    if (asked->reads.isEmpty() && (o.isSet(unitOption()) || o.isSet(viaOption())))
        *faults << cli::tr("--unit and --via go with --check");
    return faults->size() == before;
}

bool parseCells(const QString &check, const QString &via, Asked *asked, QStringList *faults)
{
    const int before = faults->size();
    if (!check.isEmpty())
        checkargs::parseUnitReads(check, &asked->reads, faults);
    if (!via.isEmpty()) {
        QString fault;
        asked->via = true;
        if (!checkargs::parseHostPort(via, &asked->viaHost, &asked->viaPort, &fault))
            *faults << fault;
        if (check.isEmpty())
            *faults << cli::tr("a via without a check");
    }
    return faults->size() == before;
}

QString clientModeFault(const ModuleValues &values)
{
    if (values.value(proto::Param::Mode) != QLatin1String("client"))
        return QString();
    return cli::tr("the module will be in TCP client mode (mode client): it connects to its server and listens "
              "for no check; let gateway-cli serve stand in for that server (gateway-cli serve --help)");
}

ModuleValues standing(const ModuleValues &before, const ModuleValues &written, const ModuleValues &after)
{
    ModuleValues out = before;
    for (const ModuleValues *over : {&written, &after})
        for (int i = 0; i < proto::ParamCount; ++i)
            if (over->has(proto::Param(i)))
                out.set(proto::Param(i), over->value(proto::Param(i)));
    return out;
}

bool target(const Asked &asked, const ModuleValues &module, QString *host, int *port)
{
    if (asked.via) {
        *host = asked.viaHost;
        *port = asked.viaPort;
        return true;
    }
    if (!module.has(proto::Param::Ip) || !module.has(proto::Param::PortTcp))
        return false;
    *host = module.value(proto::Param::Ip);
    *port = module.value(proto::Param::PortTcp).toInt();
    return true;
}

int timeoutMs(const ModuleValues &module)
{
    bool ok = false;
    const int response = module.value(proto::Param::TimeoutResponse).toInt(&ok);
    return ok ? response + 1000 : 3000;
}

int run(const Asked &asked, const ModuleValues &module, const Common &common, QJsonObject *json)
{
    QString host;
    int port = 0;
    if (!target(asked, module, &host, &port)) {
        message(cli::tr("the check: the module's ip and port_tcp are not known: give --via"));
        return Failed;
    }
    ModbusCheck check(host, port, asked.reads, timeoutMs(module));
    QEventLoop loop;
    bool interrupted = false;
    QObject::connect(&check, &ModbusCheck::finished, &loop, &QEventLoop::quit);
    QObject::connect(Interrupts::instance(), &Interrupts::interrupted, &loop, [&] {
        interrupted = true;
        loop.quit();
    });
    if (Interrupts::instance()->seen())
        return Interrupted;
    check.start();
    if (!check.isFinished())
        loop.exec();
    if (interrupted) {
        message(cli::tr("interrupted"));
        return Interrupted;
    }
    if (common.json)
        json->insert(QStringLiteral("check"), checkreport::json(check, module));
    else
        console::out(checkreport::text(check, module));
    return check.status();
}

} // namespace writecheck
} // namespace cli
