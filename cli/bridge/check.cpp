// gateway-cli check: a Modbus TCP check through a gateway.
#include "batchrun.h"
#include "bridgecommands.h"
#include "checkargs.h"
#include "checkreport.h"
#include "checkview.h"
#include "exitcode.h"
#include "messages.h"
#include "modbuscheck.h"
#include "netoptions.h"
#include "options.h"
#include "valueargs.h"

namespace cli {

namespace {

QCommandLineOption repeatOption()
{
    return {QStringLiteral("repeat"),
            tr("send the reads N times: each read's round trip as its median, minimum and maximum"),
            QStringLiteral("N")};
}

QCommandLineOption fileOption()
{
    return {QStringLiteral("file"),
            tr("the module's settings file (.TRset): its values named in the hints, and its timeout_response + 1000 "
               "the default of --timeout"),
            QStringLiteral("FILE")};
}

QList<QCommandLineOption> checkOptions()
{
    return {option::unit(), option::read(), option::timeout(), repeatOption(), fileOption()};
}

int check(const Options &o)
{
    QStringList faults;
    QString fault;
    QString host;
    int port = 0;
    if (!checkargs::parseHostPort(o.positional[0], &host, &port, &fault))
        faults << fault;
    const int unit = option::unitOf(o, &faults);
    const QVector<checkargs::Read> reads =
        option::readsOf(o, option::read(), unit, {QStringLiteral("hr:0:1")}, &faults);
    // The module's settings, for the hints and its response time-out; its
    // values as they are (a check judges none of them).
    ModuleValues module;
    if (o.isSet(fileOption()))
        module = valueargs::fromFile(o.value(fileOption()), true, &faults);
    int timeout = 3000;
    if (module.has(proto::Param::TimeoutResponse))
        timeout = module.value(proto::Param::TimeoutResponse).toInt() + 1000;
    bool bad = !option::timeoutOf(o, &timeout);
    int repeat = 1;
    if (o.isSet(repeatOption()) && !o.number(repeatOption(), 1, 100000, &repeat))
        bad = true;
    if (bad || !faults.isEmpty())
        return refuse(faults);

    // Run on the driver, drawn as it goes; then the document.
    ModbusCheck run(host, port, reads, timeout, repeat);
    CheckView view(run, module, o.common);
    BatchRun().runWith(run);
    if (o.common.json)
        printJson(checkreport::json(run, module));
    return exitCodeOf(run);
}

} // namespace

const ExitCode checkExitCodes[] = {
    {Done, QT_TRANSLATE_NOOP("cli", "every read answered with data")},
    {Failed, QT_TRANSLATE_NOOP("cli", "a path not proven: the gateway's exception (0x0A, 0x0B) or one not known, no "
                                      "reply, the connection closed before every answer, or a malformed reply")},
    {Usage, QT_TRANSLATE_NOOP("cli", "bad usage (a malformed --read, unit or host): nothing was sent")},
    {NoModule, QT_TRANSLATE_NOOP("cli", "no connection")},
    {DeviceRefused, QT_TRANSLATE_NOOP("cli", "every path proven, but a device answered a read with its own "
                                             "exception (0x01-0x04, 0x05, 0x06, 0x08): the read was wrong for it, "
                                             "or it was busy")},
    {Interrupted, QT_TRANSLATE_NOOP("cli", "interrupted (Ctrl+C, SIGTERM, SIGHUP): what was read is printed")},
};

const Command checkCommand{
    "check", "HOST[:PORT]",
    "HOST[:PORT] [--read KIND:ADDRESS[:COUNT]]... [OPTION]...",
    1, 1, Command::Network,
    QT_TRANSLATE_NOOP("cli",
                      "read through the gateway over Modbus TCP: does it reach the devices on its RS-485 line?"),
    QT_TRANSLATE_NOOP("cli",
                      "Proves that a gateway bridges: connects to it over Modbus TCP at HOST and\n"
                      "PORT (default 502), sends each read of --read (repeatable) in the order\n"
                      "given, each to the unit of --unit, and reports what came back: the\n"
                      "values, or the exception with its name, what it means at a gateway and\n"
                      "what to look at. Nothing is sent to the module's configuration port."),
    checkOptions,
    QT_TRANSLATE_NOOP("cli",
                      "A device's own exceptions (0x01-0x04) prove that the path through the\n"
                      "gateway works: the read was wrong for the device. 0x0B says that no device\n"
                      "answered on the gateway's RS-485 line: speed, parity, stop bits, the\n"
                      "device's address, wiring, termination or timeout_response. A reply counts\n"
                      "only when it answers its request (transaction, protocol, unit, function,\n"
                      "byte count and data): anything else is a malformed reply, and nothing of\n"
                      "it is taken. Each request waits its whole --timeout. A connection that the\n"
                      "gateway closes is not opened again: the reads not answered by then are\n"
                      "reported unanswered, with what earlier rounds read.\n"
                      "\n"
                      "On a terminal the connection and each read are shown as they come (with\n"
                      "--repeat, one line rewritten in place); piped, the same text comes at the\n"
                      "end. Ctrl+C prints what was read so far.\n"
                      "\n"
                      "With --json: {\"host\", \"port\", \"connected\", \"connect_ms\", \"error\",\n"
                      "\"result\", \"interrupted\", \"requests\": [{\"unit\", \"kind\", \"address\",\n"
                      "\"count\", \"values\", \"exception\", \"exception_name\", \"mismatch\", \"ms\",\n"
                      "\"error\", ...}], ...}."),
    exitCodeList(checkExitCodes),
    check};

} // namespace cli
