#include "tcpclient.h"
#include "loopbacksocket.h"

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <unistd.h>

bool TcpClient::start()
{
    on = true;
    nextAttempt = Clock::now();
    return attemptConnect();
}

void TcpClient::stop()
{
    on = false;
    disconnect();
}

void TcpClient::disconnect()
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
    connecting = isConnected = false;
    master.end();
    in.clear();
}

bool TcpClient::attemptConnect()
{
    const int port = cfg.serverPort >= 0 ? cfg.serverPort : portTcpOf(module);
    peer = cfg.serverHost + ":" + std::to_string(port);
    sockaddr_in a{};
    if (!loopbackAddress(cfg.serverHost, port, &a)) {
        log("ERROR connect " + peer + ": not an address in 127.0.0.0/8");
        on = false;
        return false;
    }
    fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        close(std::strerror(errno));
    else if (::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0)
        connected();
    else if (errno == EINPROGRESS)
        connecting = true;
    else
        close(std::strerror(errno));
    return true;
}

void TcpClient::connected()
{
    isConnected = true;
    log("TCP-CONNECT " + peer + " (ip_server_tcp " + module.value(proto::Param::IpServerTcp) + ")");
    master.begin(peer, Clock::now());
}

// Gone or refused: another attempt after retryMs.
void TcpClient::close(const std::string &why)
{
    disconnect();
    nextAttempt = Clock::now() + std::chrono::milliseconds(cfg.retryMs);
    log("TCP-RETRY " + peer + " " + why + "; again in " + std::to_string(cfg.retryMs) + " ms");
}

void TcpClient::addPollFds(std::vector<pollfd> &fds) const
{
    if (on && fd >= 0)
        fds.push_back({fd, short(connecting ? POLLOUT : POLLIN), 0});
}

void TcpClient::handle(const std::vector<pollfd> &fds)
{
    for (const pollfd &p : fds) {
        if (!on || !p.revents || p.fd < 0 || p.fd != fd)
            continue;
        if (!connecting) {
            read();
            continue;
        }
        int error = 0;
        socklen_t size = sizeof error;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
        connecting = false;
        if (error)
            close(std::strerror(error));
        else
            connected();
    }
}

void TcpClient::read()
{
    std::string why;
    if (!receiveInto(fd, in, &why)) {
        close(why.empty() ? "closed by the server" : why);
        return;
    }
    MbapFrame frame;
    for (;;) {
        switch (takeMbapFrame(in, &frame)) {
        case MbapTake::NeedMore:
            return;
        case MbapTake::NotModbus:
            close("not Modbus TCP from the server");
            return;
        case MbapTake::Frame:
            master.received(frame);
            break;
        }
    }
}

bool TcpClient::deadline(Clock::time_point *when) const
{
    if (!on)
        return false;
    if (fd < 0) {
        *when = nextAttempt;
        return true;
    }
    if (!isConnected)
        return false;
    *when = master.deadline();
    return true;
}

void TcpClient::tick(Clock::time_point now)
{
    if (!on)
        return;
    if (fd < 0 && now >= nextAttempt)
        attemptConnect();
    if (!isConnected)
        return;
    const std::string request = master.ask(now);
    if (request.empty())
        return;
    const ssize_t n = ::send(fd, request.data(), request.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n != ssize_t(request.size()))
        close(n < 0 ? std::strerror(errno) : "a request only partly sent");
    else
        master.sent();
}
