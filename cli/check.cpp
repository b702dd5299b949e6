// gateway-cli check: a Modbus TCP check through a gateway (its help text is
// in help.cpp).
#include "commands.h"

#include <QEventLoop>
#include <QLoggingCategory>

#include "checkreport.h"
#include "checkspec.h"
#include "console.h"
#include "modbuscheck.h"
#include "options.h"
#include "valueargs.h"

namespace cli {

int check(const QStringList &args)
{
    Options o(QStringLiteral("check"));
    o.add({QStringLiteral("unit"), QString(), QStringLiteral("ID")});
    o.add({QStringLiteral("read"), QString(), QStringLiteral("KIND:ADDRESS[:COUNT]")});
    o.add({QStringLiteral("timeout"), QString(), QStringLiteral("MS")});
    o.add({QStringLiteral("repeat"), QString(), QStringLiteral("N")});
    o.add({QStringLiteral("file"), QString(), QStringLiteral("FILE")});
    int code = 0;
    if (!o.parse(args, 1, 1, &code))
        return code;

    QStringList faults;
    QString fault;
    QString host;
    int port = 0;
    if (!checkspec::parseHostPort(o.positional[0], &host, &port, &fault))
        faults << fault;
    int unit = 1;
    if (o.isSet(QStringLiteral("unit")) && !checkspec::parseUnit(o.value(QStringLiteral("unit")), &unit, &fault))
        faults << QStringLiteral("--unit: %1").arg(fault);
    QVector<checkspec::Read> reads;
    const QStringList asked =
        o.isSet(QStringLiteral("read")) ? o.values(QStringLiteral("read")) : QStringList{QStringLiteral("hr:0:1")};
    for (const QString &text : asked) {
        checkspec::Read read;
        if (checkspec::parseRead(text, unit, &read, &fault))
            reads << read;
        else
            faults << QStringLiteral("--read %1").arg(fault);
    }
    // The module's settings, for the hints and its response time-out; its
    // values as they are (a check judges none of them).
    ModuleValues module;
    if (o.isSet(QStringLiteral("file")))
        module = valueargs::fromFile(o.value(QStringLiteral("file")), true, &faults);
    int timeout = 3000;
    if (module.has(proto::Param::TimeoutResponse))
        timeout = module.value(proto::Param::TimeoutResponse).toInt() + 1000;
    bool bad = false;
    if (o.isSet(QStringLiteral("timeout")) && !o.number(QStringLiteral("timeout"), 10, 600000, &timeout))
        bad = true;
    int repeat = 1;
    if (o.isSet(QStringLiteral("repeat")) && !o.number(QStringLiteral("repeat"), 1, 100000, &repeat))
        bad = true;
    if (bad || !faults.isEmpty())
        return refuse(faults);
    if (o.common.verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("qt.modbus*=true"));

    ModbusCheck run(host, port, reads, timeout, repeat);
    QEventLoop loop;
    bool interrupted = false;
    QObject::connect(&run, &ModbusCheck::finished, &loop, &QEventLoop::quit);
    QObject::connect(Interrupts::instance(), &Interrupts::interrupted, &loop, [&] {
        interrupted = true;
        loop.quit();
    });
    if (Interrupts::instance()->seen())
        return Interrupted;
    run.start();
    loop.exec();
    if (interrupted) {
        message(QStringLiteral("interrupted"));
        return Interrupted;
    }
    if (o.common.json)
        printJson(checkreport::json(run, module));
    else
        console::out(checkreport::text(run, module));
    return run.status();
}

} // namespace cli
