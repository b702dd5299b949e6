#include "netbridge.h"

NetBridge::NetBridge(const NetConfig &config, const GatewayModule &module, Log log)
    : cfg(config)
    , module(module)
    , log(log)
    , server(config, module, log)
    , client(config, module, log)
{
}

NetBridge::~NetBridge()
{
    stop();
}

void NetBridge::start()
{
    if (!cfg.enabled || side)
        return;
    NetSide *mode = module.value(proto::Param::Mode) == "client" ? static_cast<NetSide *>(&client) : &server;
    if (mode->start())
        side = mode;
}

void NetBridge::stop()
{
    if (!side)
        return;
    side->stop();
    side = nullptr;
    log("TCP-DOWN");
}

void NetBridge::addPollFds(std::vector<pollfd> &fds) const
{
    if (side)
        side->addPollFds(fds);
}

void NetBridge::handle(const std::vector<pollfd> &fds)
{
    if (side)
        side->handle(fds);
}

bool NetBridge::deadline(Clock::time_point *when) const
{
    return side && side->deadline(when);
}

void NetBridge::tick()
{
    if (side)
        side->tick(Clock::now());
}
