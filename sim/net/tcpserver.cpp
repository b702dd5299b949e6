#include "tcpserver.h"
#include "loopbacksocket.h"

#include "modbus.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <unistd.h>

bool TcpServer::start()
{
    // The line's settings as the module came up with them: a change written
    // through the configuration port takes effect at the restart.
    settings = lineSettingsOf(module);
    const int port = cfg.listenPort >= 0 ? cfg.listenPort : portTcpOf(module);
    sockaddr_in a{};
    if (!bindPort(port, &a))
        return true;
    const std::string settings =
        " (ip " + module.value(proto::Param::Ip) + ", port_tcp " + module.value(proto::Param::PortTcp) + ")";
    if (cfg.refuse) {
        // Bound, so that the port is ours, but not listening: a connection
        // is refused.
        log("TCP-REFUSE " + addressText(a) + settings);
        return true;
    }
    if (::listen(listenFd, 16) != 0) {
        log(std::string("ERROR listen ") + addressText(a) + ": " + std::strerror(errno));
        ::close(listenFd);
        listenFd = -1;
        return true;
    }
    log("TCP-LISTEN " + addressText(a) + settings);
    return true;
}

// The listening socket bound at `port` (0: one the system picks), with the
// address it got; false with the reason logged.
bool TcpServer::bindPort(int port, sockaddr_in *address)
{
    const std::string where = cfg.listenHost + ":" + std::to_string(port);
    if (!loopbackAddress(cfg.listenHost, port, address)) {
        log("ERROR listen " + where + ": not an address in 127.0.0.0/8");
        return false;
    }
    listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (listenFd < 0 || ::bind(listenFd, reinterpret_cast<sockaddr *>(address), sizeof *address) != 0) {
        const int error = errno;
        if (listenFd >= 0)
            ::close(listenFd);
        listenFd = -1;
        if (error == EACCES && port < 1024)
            log("ERROR listen " + where + ": port " + std::to_string(port)
                + " needs root; the network side stays off, the configuration port goes on working");
        else
            log("ERROR listen " + where + ": " + std::strerror(error));
        return false;
    }
    socklen_t size = sizeof *address;
    ::getsockname(listenFd, reinterpret_cast<sockaddr *>(address), &size);
    return true;
}

void TcpServer::stop()
{
    for (Connection &c : connections)
        if (c.fd >= 0)
            ::close(c.fd);
    connections.clear();
    line.clear();
    if (listenFd >= 0)
        ::close(listenFd);
    listenFd = -1;
}

void TcpServer::addPollFds(std::vector<pollfd> &fds) const
{
    if (listenFd >= 0 && !cfg.refuse)
        fds.push_back({listenFd, POLLIN, 0});
    for (const Connection &c : connections)
        if (c.fd >= 0)
            fds.push_back({c.fd, short(POLLIN | (c.out.empty() ? 0 : POLLOUT)), 0});
}

void TcpServer::handle(const std::vector<pollfd> &fds)
{
    bool accepting = false;
    for (const pollfd &p : fds) {
        if (!p.revents || p.fd < 0)
            continue;
        if (p.fd == listenFd) {
            accepting = true;
            continue;
        }
        for (Connection &c : connections) {
            if (c.fd != p.fd)
                continue;
            if ((p.revents & POLLOUT) && !c.out.empty())
                send(c, std::string());
            if (p.revents & (POLLIN | POLLHUP | POLLERR))
                read(c);
        }
    }
    if (accepting)
        accept();
    forgetClosed();
}

void TcpServer::accept()
{
    for (;;) {
        sockaddr_in a{};
        socklen_t size = sizeof a;
        const int fd = ::accept4(listenFd, reinterpret_cast<sockaddr *>(&a), &size, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        Connection c;
        c.fd = fd;
        c.id = nextId++;
        c.peer = addressText(a);
        log("TCP-ACCEPT " + c.peer);
        connections.push_back(c);
    }
}

void TcpServer::read(Connection &c)
{
    std::string why;
    if (!receiveInto(c.fd, c.in, &why)) {
        close(c, why.empty() ? "closed by the peer" : why);
        return;
    }
    MbapFrame frame;
    for (;;) {
        switch (takeMbapFrame(c.in, &frame)) {
        case MbapTake::NeedMore:
            return;
        case MbapTake::NotModbus:
            close(c, "not Modbus TCP: " + hexBytes(c.in.substr(0, modbus::MbapHeaderSize)));
            return;
        case MbapTake::Frame:
            request(c, frame);
            break;
        }
    }
}

void TcpServer::request(Connection &c, const MbapFrame &frame)
{
    log("TCP-RX " + c.peer + " " + frameText(frame.transaction, frame.unit, frame.pdu));
    if (!cfg.stall)
        line.request(c.id, frame.transaction, frame.unit, frame.pdu, settings);
}

bool TcpServer::deadline(Clock::time_point *when) const
{
    return line.next(when);
}

void TcpServer::tick(Clock::time_point now)
{
    LineQueue::Reply due;
    while (line.takeDue(now, &due))
        reply(due);
    forgetClosed();
}

// A reply to a connection closed since its request is dropped.
void TcpServer::reply(const LineQueue::Reply &r)
{
    for (Connection &c : connections) {
        if (c.id != r.requester || c.fd < 0)
            continue;
        log("TCP-TX " + c.peer + " " + frameText(r.transaction, r.unit, r.answer.pdu)
            + (r.answer.deviceAnswered ? "" : " (no device answered)"));
        send(c, mbapFrame(r.transaction, r.unit, r.answer.pdu));
        if (cfg.dropAfter > 0 && ++c.replied >= cfg.dropAfter)
            close(c, "after " + std::to_string(c.replied) + " replies (--tcp-drop-after)");
    }
}

void TcpServer::send(Connection &c, const std::string &bytes)
{
    c.out += bytes;
    while (!c.out.empty()) {
        const ssize_t n = ::send(c.fd, c.out.data(), c.out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            c.out.erase(0, std::size_t(n));
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            return; // the rest when the socket takes it (POLLOUT)
        } else {
            close(c, std::strerror(errno));
            return;
        }
    }
}

void TcpServer::close(Connection &c, const std::string &why)
{
    if (c.fd < 0)
        return;
    ::close(c.fd);
    c.fd = -1;
    log("TCP-CLOSE " + c.peer + " " + why);
}

void TcpServer::forgetClosed()
{
    connections.erase(
        std::remove_if(connections.begin(), connections.end(), [](const Connection &c) { return c.fd < 0; }),
        connections.end());
}
