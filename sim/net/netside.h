// What the network side is in the module's mode: the server (tcpserver.*)
// or the client (tcpclient.*). NetBridge drives the one the mode names
// from the terminal loop's ppoll().
#pragma once

#include "netconfig.h"

#include <chrono>
#include <vector>

#include <poll.h>

class NetSide
{
public:
    using Clock = std::chrono::steady_clock;

    NetSide(const NetConfig &config, const GatewayModule &module, NetLog log)
        : cfg(config)
        , module(module)
        , log(std::move(log))
    {
    }
    virtual ~NetSide() = default;
    NetSide(const NetSide &) = delete;
    NetSide &operator=(const NetSide &) = delete;

    // Up with the module's settings as they stand now; false when it
    // cannot be at all (it stays down).
    virtual bool start() = 0;
    virtual void stop() = 0;
    // The descriptors to watch, appended to `fds`; then what poll() found.
    virtual void addPollFds(std::vector<pollfd> &fds) const = 0;
    virtual void handle(const std::vector<pollfd> &fds) = 0;
    // The next moment something is due; false when nothing is.
    virtual bool deadline(Clock::time_point *when) const = 0;
    // Does what is due at `now`.
    virtual void tick(Clock::time_point now) = 0;

protected:
    const NetConfig &cfg;
    const GatewayModule &module;
    NetLog log;
};
