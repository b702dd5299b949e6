#include "netconfig.h"
#include "persontext.h"

#include "modbus.h"

#include <cstdlib>

#include <arpa/inet.h>

bool isLoopback(const std::string &host)
{
    in_addr a{};
    return ::inet_pton(AF_INET, host.c_str(), &a) == 1 && (ntohl(a.s_addr) >> 24) == 127;
}

bool parseLoopbackAddress(const std::string &text, std::string *host, int *port, std::string *fault)
{
    const std::size_t colon = text.find(':');
    const std::string h = text.substr(0, colon);
    if (!isLoopback(h)) {
        *fault = personText(QT_TRANSLATE_NOOP("gateway-sim", "%1: HOST must be an address in 127.0.0.0/8 (the simulated "
                                                           "network is this machine's loopback)"),
                            text);
        return false;
    }
    int p = -1;
    if (colon != std::string::npos) {
        const std::string digits = text.substr(colon + 1);
        char *end = nullptr;
        const long v = std::strtol(digits.c_str(), &end, 10);
        if (digits.empty() || *end || v < 0 || v > 65535) {
            *fault = personText(QT_TRANSLATE_NOOP("gateway-sim", "%1: PORT must be 0-65535"), text);
            return false;
        }
        p = int(v);
    }
    *host = h;
    *port = p;
    return true;
}

const char *readKind(unsigned char function)
{
    const modbus::Table *table = modbus::tableOf(function);
    return table && table->read == function ? table->word : nullptr;
}

bool parseRtuMaster(const std::string &text, NetConfig *config, std::string *fault)
{
    // KIND:ADDRESS:COUNT@MS
    const std::size_t c1 = text.find(':');
    const std::size_t c2 = c1 == std::string::npos ? c1 : text.find(':', c1 + 1);
    const std::size_t at = c2 == std::string::npos ? c2 : text.find('@', c2 + 1);
    *fault = personText(QT_TRANSLATE_NOOP("gateway-sim", "--rtu-master %1: not KIND:ADDRESS:COUNT@MS (for example hr:0:2@1000)"), text);
    if (at == std::string::npos)
        return false;
    const std::string kind = text.substr(0, c1);
    unsigned char function = 0;
    for (unsigned char f = modbus::ReadCoils; f <= modbus::ReadInputRegisters; ++f)
        if (kind == readKind(f))
            function = f;
    const auto number = [](const std::string &s, long lo, long hi, int *out) {
        char *end = nullptr;
        const long v = std::strtol(s.c_str(), &end, 10);
        if (s.empty() || *end || v < lo || v > hi)
            return false;
        *out = int(v);
        return true;
    };
    const bool bits = function == modbus::ReadCoils || function == modbus::ReadDiscreteInputs;
    if (!function || !number(text.substr(c1 + 1, c2 - c1 - 1), 0, modbus::MaxAddress, &config->masterAddress)
        || !number(text.substr(c2 + 1, at - c2 - 1), 1, bits ? modbus::MaxReadBits : modbus::MaxReadRegisters,
                   &config->masterCount)
        || !number(text.substr(at + 1), 10, 3600000, &config->masterIntervalMs))
        return false;
    config->masterFunction = function;
    fault->clear();
    return true;
}

int portTcpOf(const GatewayModule &module)
{
    return std::atoi(module.value(proto::Param::PortTcp).c_str());
}

FieldLine::Settings lineSettingsOf(const GatewayModule &module)
{
    FieldLine::Settings s;
    s.speed = std::atoi(module.value(proto::Param::Speed).c_str());
    s.parity = module.value(proto::Param::Parity);
    s.stopBits = module.value(proto::Param::StopBits);
    s.timeoutResponseMs = std::atoi(module.value(proto::Param::TimeoutResponse).c_str());
    return s;
}
