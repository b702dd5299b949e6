#include "netoptions.h"

#include "command.h"
#include "options.h"

namespace cli {
namespace option {

QCommandLineOption unit()
{
    return {QStringLiteral("unit"), cli::tr("the unit (the device's address on the RS-485 line), 1-247 (default 1)"),
            QStringLiteral("ID")};
}

QCommandLineOption read()
{
    return {QStringLiteral("read"),
            cli::tr("a read (default hr:0:1). KIND is hr (holding registers), ir (input registers), coil or di "
               "(discrete inputs); ADDRESS the protocol address as it goes on the wire, 0-65535: the first holding "
               "register is hr:0. Pollers and device manuals count from 1 with the table in front: 40001 is hr:0, "
               "40010 hr:9, 30001 ir:0, 10001 di:0, 00001 coil:0. COUNT 1-125 for registers, 1-2000 for bits "
               "(default 1)."),
            QStringLiteral("KIND:ADDRESS[:COUNT]")};
}

QCommandLineOption timeout()
{
    return {QStringLiteral("timeout"),
            cli::tr("how long to wait for the connection and for each reply (default 3000): longer than the gateway's own "
               "response time-out (the module's timeout_response), so that each absent unit's 0x0B comes before it"),
            QStringLiteral("MS")};
}

QCommandLineOption via()
{
    return {QStringLiteral("via"),
            cli::tr("where the reads through the gateway connect (port default 502): the module's TCP side, or a NAT or a "
               "port forward in front of it"),
            QStringLiteral("HOST[:PORT]")};
}

int unitOf(const Options &o, QStringList *faults)
{
    int unit = 1;
    QString fault;
    if (o.isSet(option::unit()) && !checkargs::parseUnit(o.value(option::unit()), &unit, &fault))
        *faults << QStringLiteral("--unit: %1").arg(fault);
    return unit;
}

QVector<checkargs::Read> readsOf(const Options &o, const QCommandLineOption &which, int unit,
                                 const QStringList &defaults, QStringList *faults)
{
    QVector<checkargs::Read> reads;
    const QStringList asked = o.isSet(which) ? o.values(which) : defaults;
    for (const QString &text : asked) {
        checkargs::Read read;
        QString fault;
        if (checkargs::parseRead(text, unit, &read, &fault))
            reads << read;
        else
            *faults << QStringLiteral("--%1 %2").arg(which.names().constFirst(), fault);
    }
    return reads;
}

bool viaOf(const Options &o, QString *host, int *port, QStringList *faults)
{
    if (!o.isSet(via()))
        return false;
    QString fault;
    if (!checkargs::parseHostPort(o.value(via()), host, port, &fault))
        *faults << QStringLiteral("--via %1").arg(fault);
    return true;
}

bool timeoutOf(const Options &o, int *ms)
{
    return !o.isSet(timeout()) || o.number(timeout(), 10, 600000, ms);
}

} // namespace option
} // namespace cli
