// The simulated module's network side: Modbus TCP on this machine's
// loopback, bridged to the simulated RS-485 line (fieldline.*,
// linequeue.*). Framed by hand (mbap.*), independently of gateway-cli's Qt
// SerialBus.
//
// By the module's mode, the server (tcpserver.*) or the client with the
// line's RTU master (tcpclient.*, rtumaster.*). It never listens on or
// connects to an address outside 127.0.0.0/8. start() takes the module's
// settings as they stand: the terminal loop calls it when the module comes
// up and again after each restart, and stop() when it goes down.
#pragma once

#include "netconfig.h"
#include "netside.h"
#include "tcpclient.h"
#include "tcpserver.h"

#include <chrono>
#include <vector>

#include <poll.h>

class NetBridge
{
public:
    using Clock = std::chrono::steady_clock;
    using Log = NetLog;

    NetBridge(const NetConfig &config, const GatewayModule &module, Log log);
    ~NetBridge();
    NetBridge(const NetBridge &) = delete;
    NetBridge &operator=(const NetBridge &) = delete;

    void start();
    void stop();

    // The descriptors to watch, appended to `fds`; then what poll() found.
    void addPollFds(std::vector<pollfd> &fds) const;
    void handle(const std::vector<pollfd> &fds);
    // The next moment something is due (a reply, an attempt, a request of
    // the master); false when nothing is.
    bool deadline(Clock::time_point *when) const;
    // Does what is due.
    void tick();

private:
    const NetConfig &cfg;
    const GatewayModule &module;
    Log log;
    TcpServer server;
    TcpClient client;
    NetSide *side = nullptr; // the one up, nullptr while down
};
