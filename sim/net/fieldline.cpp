#include "fieldline.h"
#include "persontext.h"

#include "modbus.h"
#include "parameters.h"
#include "protocoltables.h"

#include <cstdlib>

namespace {

unsigned word(const std::string &pdu, std::size_t at)
{
    return (unsigned(static_cast<unsigned char>(pdu[at])) << 8) | static_cast<unsigned char>(pdu[at + 1]);
}

bool isChoice(proto::Param p, const std::string &word)
{
    return proto::choiceIndex(proto::replyChoices(p), word.data(), word.size()) >= 0;
}

} // namespace

bool FieldLine::parseDevice(const std::string &text, FieldDevice *device, std::string *fault)
{
    const std::size_t at = text.find('@');
    const std::size_t slash1 = text.find('/', at == std::string::npos ? 0 : at);
    const std::size_t slash2 = slash1 == std::string::npos ? slash1 : text.find('/', slash1 + 1);
    if (at == std::string::npos || slash1 == std::string::npos || slash2 == std::string::npos) {
        *fault = personText(QT_TRANSLATE_NOOP("gateway-sim", "--field %1: not UNIT@SPEED/PARITY/STOP (for example 1@9600/none/1)"), text);
        return false;
    }
    FieldDevice d;
    const std::string unit = text.substr(0, at);
    const std::string speed = text.substr(at + 1, slash1 - at - 1);
    d.parity = text.substr(slash1 + 1, slash2 - slash1 - 1);
    d.stopBits = text.substr(slash2 + 1);
    char *end = nullptr;
    const long u = std::strtol(unit.c_str(), &end, 10);
    if (unit.empty() || *end || u < modbus::MinUnit || u > modbus::MaxUnit) {
        *fault = personText(QT_TRANSLATE_NOOP("gateway-sim", "--field %1: UNIT must be 1-247"), text);
        return false;
    }
    if (!isChoice(proto::Param::Speed, speed) || !isChoice(proto::Param::Parity, d.parity)
        || !isChoice(proto::Param::StopBits, d.stopBits)) {
        *fault = personText(
            QT_TRANSLATE_NOOP("gateway-sim", "--field %1: SPEED, PARITY and STOP must be the module's words (9600, none, 1, ...)"),
            text);
        return false;
    }
    d.unit = int(u);
    d.speed = std::atoi(speed.c_str());
    *device = d;
    return true;
}

long long FieldLine::frameUs(int bytes, int speed)
{
    return speed > 0 ? (long long)bytes * modbus::BitsPerCharacter * 1000000LL / speed : 0;
}

std::string FieldLine::exception(unsigned char function, unsigned char code)
{
    return std::string{char(function | modbus::ExceptionFlag), char(code)};
}

std::string FieldLine::deviceReply(int unit, const std::string &pdu)
{
    const unsigned char function = static_cast<unsigned char>(pdu[0]);
    if (function < modbus::ReadCoils || function > modbus::ReadInputRegisters)
        return exception(function, modbus::IllegalFunction);
    if (pdu.size() != 5)
        return exception(function, modbus::IllegalDataValue);
    const unsigned address = word(pdu, 1);
    const unsigned count = word(pdu, 3);
    const bool bits = function == modbus::ReadCoils || function == modbus::ReadDiscreteInputs;
    if (count < 1 || count > unsigned(bits ? modbus::MaxReadBits : modbus::MaxReadRegisters))
        return exception(function, modbus::IllegalDataValue);
    if (address + count > unsigned(DeviceAddresses))
        return exception(function, modbus::IllegalDataAddress);
    std::string reply(1, char(function));
    if (bits) {
        std::string bytes((count + 7) / 8, '\0');
        for (unsigned i = 0; i < count; ++i) {
            const unsigned a = address + i;
            const bool odd = (unit + a) % 2 == 1;
            const bool on = function == modbus::ReadCoils ? odd : !odd;
            if (on)
                bytes[i / 8] = char(bytes[i / 8] | (1 << (i % 8)));
        }
        reply += char(bytes.size());
        reply += bytes;
    } else {
        reply += char(count * 2);
        for (unsigned i = 0; i < count; ++i) {
            const unsigned v =
                (1000u * unsigned(unit) + address + i + (function == modbus::ReadInputRegisters ? 500u : 0u)) & 0xffffu;
            reply += char(v >> 8);
            reply += char(v & 0xff);
        }
    }
    return reply;
}

FieldLine::Transaction FieldLine::transact(int unit, const std::string &pdu, const Settings &line) const
{
    Transaction t;
    const unsigned char function = pdu.empty() ? 0 : static_cast<unsigned char>(pdu[0]);
    if (unit < modbus::MinUnit || unit > modbus::MaxUnit) {
        t.pdu = exception(function, modbus::GatewayPathUnavailable);
        return t;
    }
    const int requestBytes = int(pdu.size()) + modbus::RtuFrameOverhead;
    for (const FieldDevice &d : devices) {
        if (d.unit != unit || d.speed != line.speed || d.parity != line.parity || d.stopBits != line.stopBits)
            continue;
        t.pdu = deviceReply(unit, pdu);
        t.deviceAnswered = true;
        t.lineUs = frameUs(requestBytes + int(t.pdu.size()) + modbus::RtuFrameOverhead, line.speed);
        return t;
    }
    // Nothing it could read came back: the module gives up after its time-out.
    t.pdu = exception(function, modbus::GatewayTargetNoResponse);
    t.lineUs = frameUs(requestBytes, line.speed) + line.timeoutResponseMs * 1000LL;
    return t;
}
