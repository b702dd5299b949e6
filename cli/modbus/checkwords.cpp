#include "checkwords.h"

#include <QCoreApplication>

#include "modbus.h"

namespace checkwords {

namespace {

const struct {
    int code;
    const char *name;
} names[] = {
    {modbus::IllegalFunction, QT_TRANSLATE_NOOP("checkwords", "Illegal function")},
    {modbus::IllegalDataAddress, QT_TRANSLATE_NOOP("checkwords", "Illegal data address")},
    {modbus::IllegalDataValue, QT_TRANSLATE_NOOP("checkwords", "Illegal data value")},
    {modbus::ServerDeviceFailure, QT_TRANSLATE_NOOP("checkwords", "Server device failure")},
    {modbus::Acknowledge, QT_TRANSLATE_NOOP("checkwords", "Acknowledge")},
    {modbus::ServerDeviceBusy, QT_TRANSLATE_NOOP("checkwords", "Server device busy")},
    {modbus::MemoryParityError, QT_TRANSLATE_NOOP("checkwords", "Memory parity error")},
    {modbus::GatewayPathUnavailable, QT_TRANSLATE_NOOP("checkwords", "Gateway path unavailable")},
    {modbus::GatewayTargetNoResponse, QT_TRANSLATE_NOOP("checkwords", "Gateway target device failed to respond")},
};
const char unknownName[] = QT_TRANSLATE_NOOP("checkwords", "Unknown exception");

const char *nameOf(int code)
{
    for (const auto &n : names)
        if (n.code == code)
            return n.name;
    return unknownName;
}

QString value(const ModuleValues &module, proto::Param p)
{
    return module.value(p);
}

bool knows(const ModuleValues &module, std::initializer_list<proto::Param> params)
{
    for (const proto::Param p : params)
        if (!module.has(p))
            return false;
    return true;
}

// The module's network settings, as one sentence, where they are known.
QString networkSettings(const ModuleValues &module)
{
    using proto::Param;
    if (!knows(module, {Param::Mode, Param::Ip, Param::Mask, Param::Gateway, Param::PortTcp}))
        return QString();
    return QCoreApplication::translate("checkwords",
                                       "The module's settings: mode %1, ip %2, mask %3, gateway %4, port_tcp %5.")
        .arg(value(module, Param::Mode), value(module, Param::Ip), value(module, Param::Mask),
             value(module, Param::Gateway), value(module, Param::PortTcp));
}

} // namespace

QString exceptionName(int code)
{
    return QLatin1String(nameOf(code));
}

QString exceptionNameText(int code)
{
    return QCoreApplication::translate("checkwords", nameOf(code));
}

QString functionName(int function)
{
    const struct {
        int code;
        const char *name;
    } functions[] = {
        {0x01, QT_TRANSLATE_NOOP("checkwords", "Read coils")},
        {0x02, QT_TRANSLATE_NOOP("checkwords", "Read discrete inputs")},
        {0x03, QT_TRANSLATE_NOOP("checkwords", "Read holding registers")},
        {0x04, QT_TRANSLATE_NOOP("checkwords", "Read input registers")},
        {0x05, QT_TRANSLATE_NOOP("checkwords", "Write single coil")},
        {0x06, QT_TRANSLATE_NOOP("checkwords", "Write single register")},
        {0x0F, QT_TRANSLATE_NOOP("checkwords", "Write multiple coils")},
        {0x10, QT_TRANSLATE_NOOP("checkwords", "Write multiple registers")},
    };
    for (const auto &f : functions)
        if (f.code == function)
            return QCoreApplication::translate("checkwords", f.name);
    return QString();
}

namespace {

// Exception 0x0B: nothing answered the unit on the line; the module's line
// settings named when they are known.
QString noTargetHint(int unit, const ModuleValues &module)
{
    using proto::Param;
    if (knows(module, {Param::Speed, Param::Parity, Param::StopBits, Param::TimeoutResponse}))
        return QCoreApplication::translate(
                   "checkwords",
                   "No device answered unit %1 on the module's RS-485 line within the module's response "
                   "time-out (timeout_response %2 ms). Check that the device's speed, parity and stop bits "
                   "equal the module's: speed %3, parity %4, stop_bits %5. Then check the device's address "
                   "(unit %1), the line's wiring (A and B not swapped) and its termination, and "
                   "timeout_response, which a slow device may need longer.")
            .arg(unit)
            .arg(value(module, Param::TimeoutResponse), value(module, Param::Speed), value(module, Param::Parity),
                 value(module, Param::StopBits));
    return QCoreApplication::translate(
               "checkwords",
               "No device answered unit %1 on the module's RS-485 line within the module's response "
               "time-out. Check that the device's speed, parity and stop bits equal the module's (speed, "
               "parity and stop_bits: scan the module, or give its settings file with --file, to see "
               "them). Then check the device's address (unit %1), the line's wiring (A and B not swapped) "
               "and its termination, and timeout_response, which a slow device may need longer.")
        .arg(unit);
}

} // namespace

QString exceptionHint(int code, const checkargs::Read &read, const ModuleValues &module)
{
    using proto::Param;
    const QString what = checkargs::readText(read);
    switch (code) {
    case modbus::IllegalFunction:
        return QCoreApplication::translate(
                   "checkwords",
                   "The device at unit %1 answered, so the path through the gateway works. The read %2 is "
                   "wrong for this device: it has no such table (%3). See the device's manual for the tables "
                   "it has.")
            .arg(read.unit)
            .arg(what, checkargs::kindWord(read.kind));
    case modbus::IllegalDataAddress:
        if (read.count == 1)
            return QCoreApplication::translate(
                       "checkwords",
                       "The device at unit %1 answered, so the path through the gateway works. The read %2 is "
                       "wrong for this device: it has nothing at address %3. ADDRESS is the protocol address, "
                       "the manual's register number less its first one (40001 is hr:0, 30001 is ir:0).")
                .arg(read.unit)
                .arg(what)
                .arg(read.address);
        return QCoreApplication::translate(
                   "checkwords",
                   "The device at unit %1 answered, so the path through the gateway works. The read %2 is "
                   "wrong for this device: it has nothing at addresses %3-%4. ADDRESS is the protocol address, "
                   "the manual's register number less its first one (40001 is hr:0, 30001 is ir:0).")
            .arg(read.unit)
            .arg(what)
            .arg(read.address)
            .arg(read.address + read.count - 1);
    case modbus::IllegalDataValue:
        return QCoreApplication::translate(
                   "checkwords",
                   "The device at unit %1 answered, so the path through the gateway works. The read %2 is "
                   "wrong for this device: it does not give %3 at once there. See the device's manual.")
            .arg(read.unit)
            .arg(what)
            .arg(read.count);
    case modbus::ServerDeviceFailure:
    case modbus::MemoryParityError:
        return QCoreApplication::translate(
                   "checkwords",
                   "The device at unit %1 answered, so the path through the gateway works. The device failed "
                   "while it handled the read %2: look at the device itself.")
            .arg(read.unit)
            .arg(what);
    case modbus::Acknowledge:
    case modbus::ServerDeviceBusy:
        return QCoreApplication::translate(
                   "checkwords",
                   "The device at unit %1 answered, so the path through the gateway works. It is busy and did "
                   "not do the read %2 now: try again later.")
            .arg(read.unit)
            .arg(what);
    case modbus::GatewayPathUnavailable:
        return QCoreApplication::translate(
                   "checkwords",
                   "The gateway has no path to unit %1: it does not forward requests for that unit to its "
                   "line. Check the unit address (--unit, the device's address on the RS-485 line, 1-247).")
            .arg(read.unit);
    case modbus::GatewayTargetNoResponse:
        return noTargetHint(read.unit, module);
    default:
        return QCoreApplication::translate(
                   "checkwords",
                   "The gateway or the device at unit %1 answered the read %2 with an exception the program "
                   "does not know: see the manuals of the gateway and of the device.")
            .arg(read.unit)
            .arg(what);
    }
}

QString noAnswerHint(int timeoutMs, const ModuleValues &module)
{
    if (module.has(proto::Param::TimeoutResponse))
        return QCoreApplication::translate(
                   "checkwords",
                   "No reply within %1 ms, not even an exception. A gateway whose line stays silent answers "
                   "0x0B after its timeout_response (%2 ms): check that HOST:PORT is the gateway itself, and "
                   "that --timeout is longer than its timeout_response.")
            .arg(timeoutMs)
            .arg(module.value(proto::Param::TimeoutResponse));
    return QCoreApplication::translate(
               "checkwords",
               "No reply within %1 ms, not even an exception. A gateway whose line stays silent answers 0x0B "
               "after its timeout_response: check that HOST:PORT is the gateway itself, and that --timeout is "
               "longer than its timeout_response.")
        .arg(timeoutMs);
}

QString closedHint()
{
    return QCoreApplication::translate(
        "checkwords", "The gateway closed the connection before it answered: the reads not answered by then were "
                      "not sent again, nor was the connection opened again. A gateway closes a connection when it has "
                      "too many or when its TCP time-out (timeout_tcp) runs out: check that no other master holds "
                      "its connections, and try again.");
}

QString invalidHint()
{
    return QCoreApplication::translate(
        "checkwords", "The reply does not answer the request, so nothing of it was taken as read. HOST:PORT may be "
                      "something other than a Modbus TCP gateway, or the gateway or the device behind it is faulty: "
                      "--verbose shows each frame sent and taken.");
}

QString gaveUpHint()
{
    return QCoreApplication::translate(
        "checkwords", "A reply came whose MBAP header no Modbus frame has, so nothing after it could be read: the "
                      "check closed the connection itself. HOST:PORT may be something other than a Modbus TCP "
                      "gateway: --verbose shows each frame sent and taken.");
}

QString connectHint(ModbusCheck::Failure failure, const QString &host, int port, int timeoutMs,
                    const ModuleValues &module)
{
    QString text;
    switch (failure) {
    case ModbusCheck::Failure::None:
        return QString();
    case ModbusCheck::Failure::Refused:
        text = QCoreApplication::translate(
                   "checkwords",
                   "%1 refused the connection at port %2: the address answers, but nothing listens at that port. "
                   "Check that the module is in TCP server mode (mode server: in client mode it listens "
                   "nowhere and connects to its ip_server_tcp itself; gateway-cli serve stands in for that "
                   "server), that its port_tcp is %2, and that it was restarted after its settings were "
                   "written.")
                   .arg(host)
                   .arg(port);
        break;
    case ModbusCheck::Failure::HostNotFound:
        text = QCoreApplication::translate("checkwords", "%1: no such host. Give the module's ip address.").arg(host);
        break;
    case ModbusCheck::Failure::TimedOut:
        text = QCoreApplication::translate(
                   "checkwords",
                   "No connection to %1 at port %2 within %3 ms: nothing answered at that address. Check the "
                   "module's ip, mask and gateway against the network, and this PC's own address on that "
                   "network: the PC must be in the module's subnet (the same network under the module's mask) "
                   "or reach it through the module's gateway. Then check that the module is in server mode "
                   "and that its port_tcp is %2.")
                   .arg(host)
                   .arg(port)
                   .arg(timeoutMs);
        break;
    case ModbusCheck::Failure::Other:
        text = QCoreApplication::translate(
                   "checkwords",
                   "No connection to %1 at port %2. Check the module's ip, mask and gateway against the network, "
                   "and this PC's own address on that network: the PC must be in the module's subnet or reach "
                   "it through the module's gateway. Then check that the module is in server mode and that its "
                   "port_tcp is %2.")
                   .arg(host)
                   .arg(port);
        break;
    }
    const QString settings = networkSettings(module);
    return settings.isEmpty() ? text : text + QLatin1Char(' ') + settings;
}

} // namespace checkwords
