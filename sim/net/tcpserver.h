// The network side in server mode: listens on 127.0.0.1 at port_tcp (or
// --tcp-listen), accepts connections, takes each Modbus TCP request onto
// the simulated line (linequeue.*) and sends its reply once it is due.
// With --tcp-refuse the port is bound but nothing listens; with
// --tcp-stall requests are read and never answered; with --tcp-drop-after
// a connection is closed after that many replies.
#pragma once

#include "linequeue.h"
#include "mbap.h"
#include "netside.h"

#include <string>
#include <vector>

#include <netinet/in.h>

class TcpServer : public NetSide
{
public:
    using NetSide::NetSide;

    // Up even when the port cannot be had: the log says why, and the
    // configuration port goes on working.
    bool start() override;
    void stop() override;
    void addPollFds(std::vector<pollfd> &fds) const override;
    void handle(const std::vector<pollfd> &fds) override;
    // When the next reply is due.
    bool deadline(Clock::time_point *when) const override;
    // Sends the replies due at `now`.
    void tick(Clock::time_point now) override;

private:
    struct Connection {
        int fd = -1;
        long id = 0;
        std::string peer;
        std::string in;
        std::string out;
        int replied = 0;
    };

    bool bindPort(int port, sockaddr_in *address);
    void accept();
    void read(Connection &c);
    void request(Connection &c, const MbapFrame &frame);
    void reply(const LineQueue::Reply &reply);
    void send(Connection &c, const std::string &bytes);
    void close(Connection &c, const std::string &why);
    void forgetClosed();

    LineQueue line{cfg.line};
    FieldLine::Settings settings;
    int listenFd = -1;
    std::vector<Connection> connections;
    long nextId = 1;
};
