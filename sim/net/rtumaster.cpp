#include "rtumaster.h"

#include <algorithm>
#include <cstdlib>

RtuMaster::RtuMaster(const NetConfig &config, const GatewayModule &module, NetLog log)
    : cfg(config)
    , module(module)
    , log(std::move(log))
{
}

void RtuMaster::begin(const std::string &serverAddress, Clock::time_point now)
{
    server = serverAddress;
    nextRequest = now;
}

void RtuMaster::end()
{
    waiting = false;
}

RtuMaster::Clock::time_point RtuMaster::deadline() const
{
    return waiting ? givesUp : nextRequest;
}

std::string RtuMaster::ask(Clock::time_point now)
{
    if (waiting && now >= givesUp) {
        log("RTU-REPLY " + server + " none within " + std::to_string(lineSettingsOf(module).timeoutResponseMs)
            + " ms");
        waiting = false;
    }
    if (waiting || now < nextRequest)
        return std::string();
    nextRequest = now + std::chrono::milliseconds(cfg.masterIntervalMs);
    const std::string onLine = module.value(proto::Param::RtuVirtualId);
    const std::string slave = module.value(proto::Param::TcpSlaveId);
    // "off": the request goes on with the unit it was addressed to.
    const int unit = std::atoi((slave == proto::SlaveIdOff ? onLine : slave).c_str());
    const std::string pdu{char(cfg.masterFunction), char(cfg.masterAddress >> 8), char(cfg.masterAddress & 0xff),
                          char(cfg.masterCount >> 8), char(cfg.masterCount & 0xff)};
    transaction = (transaction + 1) & 0xffff;
    log("RTU-MASTER unit " + onLine + " " + readKind(cfg.masterFunction) + ":" + std::to_string(cfg.masterAddress)
        + ":" + std::to_string(cfg.masterCount) + " forwarded to " + server + " tid " + std::to_string(transaction)
        + " unit " + std::to_string(unit));
    return mbapFrame(transaction, unit, pdu);
}

void RtuMaster::sent()
{
    waiting = true;
    givesUp = Clock::now() + std::chrono::milliseconds(std::max(lineSettingsOf(module).timeoutResponseMs, 100));
}

void RtuMaster::received(const MbapFrame &frame)
{
    const bool asked = waiting && frame.transaction == transaction;
    log(std::string(asked ? "RTU-REPLY " : "TCP-RX ") + server + " "
        + frameText(frame.transaction, frame.unit, frame.pdu) + (asked ? "" : " (not asked)"));
    if (asked)
        waiting = false;
}
