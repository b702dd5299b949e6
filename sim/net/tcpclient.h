// The network side in client mode: connects to 127.0.0.1 at port_tcp (or
// --tcp-server), standing for the module's ip_server_tcp, again every
// retryMs when refused or dropped, and carries the RTU master's requests
// (rtumaster.*) to the server and its replies back.
#pragma once

#include "netside.h"
#include "rtumaster.h"

#include <string>
#include <vector>

class TcpClient : public NetSide
{
public:
    using NetSide::NetSide;

    // Connects at once; false, and off, when the server's address is not
    // in 127.0.0.0/8.
    bool start() override;
    void stop() override;
    void addPollFds(std::vector<pollfd> &fds) const override;
    void handle(const std::vector<pollfd> &fds) override;
    // The next attempt, or what the master waits for.
    bool deadline(Clock::time_point *when) const override;
    // Connects again, or lets the master ask, when that is due at `now`.
    void tick(Clock::time_point now) override;

private:
    bool attemptConnect();
    void connected();
    void read();
    void disconnect();
    void close(const std::string &why);

    RtuMaster master{cfg, module, log};
    bool on = false;
    int fd = -1;
    bool connecting = false;
    bool isConnected = false;
    std::string peer;
    std::string in;
    Clock::time_point nextAttempt;
};
