// The simulated RTU master on the module's RS-485 line, in client mode:
// every --rtu-master interval it asks the module's rtu_virtual_id, and the
// module forwards the request to the server with unit tcp_slave_id (the
// same unit when that is "off"). It logs what it asked, the server's reply
// or none within timeout_response, and asks nothing new while a request
// waits for its reply. The client (tcpclient.*) carries the frames.
#pragma once

#include "mbap.h"
#include "netconfig.h"

#include <chrono>
#include <string>

class RtuMaster
{
public:
    using Clock = std::chrono::steady_clock;

    RtuMaster(const NetConfig &config, const GatewayModule &module, NetLog log);

    // Connected to `server`: the first request is due at once.
    void begin(const std::string &server, Clock::time_point now);
    // The connection is gone: no reply is awaited any more.
    void end();
    // When the master next has something to do: give up waiting, or ask.
    Clock::time_point deadline() const;
    // The request due at `now`, as the frame to send the server; empty
    // when none is.
    std::string ask(Clock::time_point now);
    // The request went out whole: its reply is awaited.
    void sent();
    // A frame from the server: the reply awaited, or one not asked for.
    void received(const MbapFrame &frame);

private:
    const NetConfig &cfg;
    const GatewayModule &module;
    NetLog log;
    std::string server;
    Clock::time_point nextRequest;
    bool waiting = false;
    unsigned transaction = 0;
    Clock::time_point givesUp;
};
