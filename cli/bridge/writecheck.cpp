#include "writecheck.h"

#include "batchrun.h"
#include "checkreport.h"
#include "checkview.h"
#include "command.h"
#include "exitcode.h"
#include "keys.h"
#include "messages.h"
#include "modbuscheck.h"
#include "netoptions.h"
#include "options.h"

namespace cli {
namespace writecheck {

namespace {

QCommandLineOption checkOption()
{
    return {QStringLiteral("check"),
            cli::tr("after the read-back, read through the gateway over Modbus TCP, as the check command does "
               "(repeatable): at the written ip and port_tcp, or at --via. The exit status is then the check's "
               "(0, 1, 3 or 4) unless the write failed. A module that will be in client mode is refused before any "
               "change is sent"),
            QStringLiteral("KIND:ADDRESS[:COUNT]")};
}

} // namespace

QList<QCommandLineOption> options()
{
    return {checkOption(), option::unit(), option::via()};
}

bool parse(const Options &o, Asked *asked, QStringList *faults)
{
    const int before = faults->size();
    const int unit = option::unitOf(o, faults);
    asked->reads = option::readsOf(o, checkOption(), unit, {}, faults);
    asked->via = option::viaOf(o, &asked->viaHost, &asked->viaPort, faults);
    if (asked->reads.isEmpty() && (o.isSet(option::unit()) || asked->via))
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
    CheckView view(check, module, common);
    BatchRun().runWith(check);
    if (common.json)
        json->insert(key::check(), checkreport::json(check, module));
    return exitCodeOf(check);
}

} // namespace writecheck
} // namespace cli
