#include "netbridge.h"
#include "persontext.h"

#include "modbus.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Us = std::chrono::microseconds;
using Ms = std::chrono::milliseconds;

std::string hex(const std::string &bytes)
{
    std::string out;
    char b[4];
    for (unsigned char c : bytes) {
        std::snprintf(b, sizeof b, out.empty() ? "%02x" : " %02x", c);
        out += b;
    }
    return out;
}

std::string frame(unsigned tid, int unit, const std::string &pdu)
{
    const unsigned length = unsigned(pdu.size()) + 1;
    std::string f{char(tid >> 8), char(tid & 0xff), 0, 0, char(length >> 8), char(length & 0xff), char(unit)};
    return f + pdu;
}

unsigned word(const std::string &s, std::size_t at)
{
    return (unsigned(static_cast<unsigned char>(s[at])) << 8) | static_cast<unsigned char>(s[at + 1]);
}

std::string address(const sockaddr_in &a)
{
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &a.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(a.sin_port));
}

bool toAddress(const std::string &host, int port, sockaddr_in *a)
{
    *a = {};
    a->sin_family = AF_INET;
    a->sin_port = htons(static_cast<uint16_t>(port));
    return ::inet_pton(AF_INET, host.c_str(), &a->sin_addr) == 1;
}

const char *kindOf(unsigned char function)
{
    const modbus::Table *table = modbus::tableOf(function);
    return table && table->read == function ? table->word : nullptr;
}

} // namespace

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
        if (kind == kindOf(f))
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

NetBridge::NetBridge(const NetConfig &config, const GatewayModule &module, Log log)
    : cfg(config)
    , module(module)
    , log(std::move(log))
{
}

NetBridge::~NetBridge()
{
    stop();
}

int NetBridge::portTcp() const
{
    return std::atoi(module.value(proto::Param::PortTcp).c_str());
}

FieldLine::Settings NetBridge::lineSettings() const
{
    FieldLine::Settings s;
    s.speed = std::atoi(module.value(proto::Param::Speed).c_str());
    s.parity = module.value(proto::Param::Parity);
    s.stopBits = module.value(proto::Param::StopBits);
    s.timeoutResponseMs = std::atoi(module.value(proto::Param::TimeoutResponse).c_str());
    return s;
}

void NetBridge::start()
{
    if (!cfg.enabled || running)
        return;
    running = true;
    clientMode = module.value(proto::Param::Mode) == "client";
    if (clientMode)
        startClient();
    else
        startServer();
}

void NetBridge::stop()
{
    if (!running)
        return;
    running = false;
    for (Connection &c : connections)
        if (c.fd >= 0)
            ::close(c.fd);
    connections.clear();
    // The restart empties the line's queue: what waited for it is gone.
    due.clear();
    lineFree = Clock::time_point();
    if (listenFd >= 0)
        ::close(listenFd);
    listenFd = -1;
    if (clientFd >= 0)
        ::close(clientFd);
    clientFd = -1;
    connecting = connected = masterWaiting = false;
    clientIn.clear();
    log("TCP-DOWN");
}

void NetBridge::startServer()
{
    const int port = cfg.listenPort >= 0 ? cfg.listenPort : portTcp();
    sockaddr_in a{};
    const std::string where = cfg.listenHost + ":" + std::to_string(port);
    // Never anything but the loopback, whatever the module's ip says.
    if (!isLoopback(cfg.listenHost) || !toAddress(cfg.listenHost, port, &a)) {
        log("ERROR listen " + where + ": not an address in 127.0.0.0/8");
        return;
    }
    listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (listenFd < 0 || ::bind(listenFd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        const int error = errno;
        if (listenFd >= 0)
            ::close(listenFd);
        listenFd = -1;
        if (error == EACCES && port < 1024)
            log("ERROR listen " + where + ": port " + std::to_string(port)
                + " needs root; the network side stays off, the configuration port goes on working");
        else
            log("ERROR listen " + where + ": " + std::strerror(error));
        return;
    }
    socklen_t size = sizeof a;
    ::getsockname(listenFd, reinterpret_cast<sockaddr *>(&a), &size);
    const std::string settings =
        " (ip " + module.value(proto::Param::Ip) + ", port_tcp " + module.value(proto::Param::PortTcp) + ")";
    if (cfg.refuse) {
        // Bound, so that the port is ours, but not listening: a connection
        // is refused.
        log("TCP-REFUSE " + address(a) + settings);
        return;
    }
    if (::listen(listenFd, 16) != 0) {
        log(std::string("ERROR listen ") + address(a) + ": " + std::strerror(errno));
        ::close(listenFd);
        listenFd = -1;
        return;
    }
    log("TCP-LISTEN " + address(a) + settings);
}

void NetBridge::startClient()
{
    nextAttempt = Clock::now();
    attemptConnect();
}

void NetBridge::attemptConnect()
{
    const int port = cfg.serverPort >= 0 ? cfg.serverPort : portTcp();
    clientPeer = cfg.serverHost + ":" + std::to_string(port);
    sockaddr_in a{};
    if (!isLoopback(cfg.serverHost) || !toAddress(cfg.serverHost, port, &a)) {
        log("ERROR connect " + clientPeer + ": not an address in 127.0.0.0/8");
        running = false;
        return;
    }
    clientFd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (clientFd < 0) {
        closeClient(std::strerror(errno));
        return;
    }
    if (::connect(clientFd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0) {
        connected = true;
        log("TCP-CONNECT " + clientPeer + " (ip_server_tcp " + module.value(proto::Param::IpServerTcp) + ")");
        nextMasterRequest = Clock::now();
    } else if (errno == EINPROGRESS) {
        connecting = true;
    } else {
        closeClient(std::strerror(errno));
    }
}

void NetBridge::closeClient(const std::string &why)
{
    if (clientFd >= 0)
        ::close(clientFd);
    clientFd = -1;
    connecting = connected = masterWaiting = false;
    clientIn.clear();
    nextAttempt = Clock::now() + Ms(cfg.retryMs);
    log("TCP-RETRY " + clientPeer + " " + why + "; again in " + std::to_string(cfg.retryMs) + " ms");
}

void NetBridge::addPollFds(std::vector<pollfd> &fds) const
{
    if (!running)
        return;
    if (listenFd >= 0 && !cfg.refuse)
        fds.push_back({listenFd, POLLIN, 0});
    for (const Connection &c : connections)
        if (c.fd >= 0)
            fds.push_back({c.fd, short(POLLIN | (c.out.empty() ? 0 : POLLOUT)), 0});
    if (clientFd >= 0)
        fds.push_back({clientFd, short(connecting ? POLLOUT : POLLIN), 0});
}

void NetBridge::handle(const std::vector<pollfd> &fds)
{
    if (!running)
        return;
    bool accepting = false;
    for (const pollfd &p : fds) {
        if (!p.revents || p.fd < 0)
            continue;
        if (p.fd == listenFd) {
            accepting = true;
            continue;
        }
        if (p.fd == clientFd) {
            if (connecting) {
                int error = 0;
                socklen_t size = sizeof error;
                ::getsockopt(clientFd, SOL_SOCKET, SO_ERROR, &error, &size);
                connecting = false;
                if (error) {
                    closeClient(std::strerror(error));
                } else {
                    connected = true;
                    log("TCP-CONNECT " + clientPeer + " (ip_server_tcp " + module.value(proto::Param::IpServerTcp)
                        + ")");
                    nextMasterRequest = Clock::now();
                }
            } else {
                readAsClient();
            }
            continue;
        }
        for (Connection &c : connections) {
            if (c.fd != p.fd)
                continue;
            if ((p.revents & POLLOUT) && !c.out.empty())
                send(c, std::string());
            if (p.revents & (POLLIN | POLLHUP | POLLERR))
                readConnection(c);
        }
    }
    if (accepting)
        accept();
    connections.erase(
        std::remove_if(connections.begin(), connections.end(), [](const Connection &c) { return c.fd < 0; }),
        connections.end());
}

void NetBridge::accept()
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
        c.peer = address(a);
        log("TCP-ACCEPT " + c.peer);
        connections.push_back(c);
    }
}

void NetBridge::readConnection(Connection &c)
{
    char chunk[4096];
    const ssize_t got = ::recv(c.fd, chunk, sizeof chunk, 0);
    if (got == 0) {
        close(c, "closed by the peer");
        return;
    }
    if (got < 0) {
        if (errno != EAGAIN && errno != EINTR)
            close(c, std::strerror(errno));
        return;
    }
    c.in.append(chunk, std::size_t(got));
    while (c.fd >= 0 && c.in.size() >= std::size_t(modbus::MbapHeaderSize)) {
        const unsigned tid = word(c.in, 0);
        const unsigned protocol = word(c.in, 2);
        const unsigned length = word(c.in, 4); // the unit and the PDU
        if (protocol != 0 || length < 2 || length > unsigned(modbus::MaxPduSize) + 1) {
            close(c, "not Modbus TCP: " + hex(c.in.substr(0, modbus::MbapHeaderSize)));
            return;
        }
        if (c.in.size() < modbus::MbapHeaderSize - 1 + length)
            return;
        const int unit = static_cast<unsigned char>(c.in[6]);
        const std::string pdu = c.in.substr(modbus::MbapHeaderSize, length - 1);
        c.in.erase(0, modbus::MbapHeaderSize - 1 + length);
        requestFrom(c, tid, unit, pdu);
    }
}

void NetBridge::requestFrom(Connection &c, unsigned tid, int unit, const std::string &pdu)
{
    log("TCP-RX " + c.peer + " tid " + std::to_string(tid) + " unit " + std::to_string(unit) + " pdu " + hex(pdu));
    if (cfg.stall)
        return;
    const FieldLine::Transaction t = cfg.line.transact(unit, pdu, lineSettings());
    const Clock::time_point now = Clock::now();
    Due d;
    if (t.lineUs > 0) {
        // One transaction on the line at a time, whichever connection asked.
        const Clock::time_point begin = std::max(now, lineFree);
        d.at = begin + Us(t.lineUs);
        lineFree = d.at;
    } else {
        d.at = now;
    }
    d.connection = c.id;
    d.frame = frame(tid, unit, t.pdu);
    d.what = "TCP-TX " + c.peer + " tid " + std::to_string(tid) + " unit " + std::to_string(unit) + " pdu " + hex(t.pdu)
             + (t.deviceAnswered ? "" : " (no device answered)");
    due.insert(std::upper_bound(due.begin(), due.end(), d, [](const Due &a, const Due &b) { return a.at < b.at; }), d);
}

void NetBridge::send(Connection &c, const std::string &bytes)
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

void NetBridge::close(Connection &c, const std::string &why)
{
    if (c.fd < 0)
        return;
    ::close(c.fd);
    c.fd = -1;
    log("TCP-CLOSE " + c.peer + " " + why);
}

void NetBridge::readAsClient()
{
    char chunk[4096];
    const ssize_t got = ::recv(clientFd, chunk, sizeof chunk, 0);
    if (got == 0) {
        closeClient("closed by the server");
        return;
    }
    if (got < 0) {
        if (errno != EAGAIN && errno != EINTR)
            closeClient(std::strerror(errno));
        return;
    }
    clientIn.append(chunk, std::size_t(got));
    while (clientIn.size() >= std::size_t(modbus::MbapHeaderSize)) {
        const unsigned tid = word(clientIn, 0);
        const unsigned length = word(clientIn, 4);
        if (word(clientIn, 2) != 0 || length < 2 || length > unsigned(modbus::MaxPduSize) + 1) {
            closeClient("not Modbus TCP from the server");
            return;
        }
        if (clientIn.size() < modbus::MbapHeaderSize - 1 + length)
            return;
        const int unit = static_cast<unsigned char>(clientIn[6]);
        const std::string pdu = clientIn.substr(modbus::MbapHeaderSize, length - 1);
        clientIn.erase(0, modbus::MbapHeaderSize - 1 + length);
        const bool asked = masterWaiting && tid == masterTid;
        log(std::string(asked ? "RTU-REPLY " : "TCP-RX ") + clientPeer + " tid " + std::to_string(tid) + " unit "
            + std::to_string(unit) + " pdu " + hex(pdu) + (asked ? "" : " (not asked)"));
        if (asked)
            masterWaiting = false;
    }
}

void NetBridge::masterAsks()
{
    if (masterWaiting)
        return;
    const std::string onLine = module.value(proto::Param::RtuVirtualId);
    const std::string slave = module.value(proto::Param::TcpSlaveId);
    // "off": the request goes on with the unit it was addressed to.
    const int unit = std::atoi((slave == proto::SlaveIdOff ? onLine : slave).c_str());
    const std::string pdu{char(cfg.masterFunction), char(cfg.masterAddress >> 8), char(cfg.masterAddress & 0xff),
                          char(cfg.masterCount >> 8), char(cfg.masterCount & 0xff)};
    masterTid = (masterTid + 1) & 0xffff;
    log("RTU-MASTER unit " + onLine + " " + kindOf(cfg.masterFunction) + ":" + std::to_string(cfg.masterAddress) + ":"
        + std::to_string(cfg.masterCount) + " forwarded to " + clientPeer + " tid " + std::to_string(masterTid)
        + " unit " + std::to_string(unit));
    const std::string bytes = frame(masterTid, unit, pdu);
    const ssize_t n = ::send(clientFd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n != ssize_t(bytes.size())) {
        closeClient(n < 0 ? std::strerror(errno) : "a request only partly sent");
        return;
    }
    masterWaiting = true;
    masterGivesUp = Clock::now() + Ms(std::max(lineSettings().timeoutResponseMs, 100));
}

bool NetBridge::deadline(Clock::time_point *when) const
{
    if (!running)
        return false;
    bool any = false;
    const auto consider = [&](Clock::time_point t) {
        if (!any || t < *when)
            *when = t;
        any = true;
    };
    if (!due.empty())
        consider(due.front().at);
    if (clientMode) {
        if (clientFd < 0)
            consider(nextAttempt);
        if (connected)
            consider(masterWaiting ? masterGivesUp : nextMasterRequest);
    }
    return any;
}

void NetBridge::tick()
{
    if (!running)
        return;
    const Clock::time_point now = Clock::now();
    while (!due.empty() && due.front().at <= now) {
        const Due d = due.front();
        due.pop_front();
        for (Connection &c : connections) {
            if (c.id != d.connection || c.fd < 0)
                continue;
            log(d.what);
            send(c, d.frame);
            if (cfg.dropAfter > 0 && ++c.replied >= cfg.dropAfter)
                close(c, "after " + std::to_string(c.replied) + " replies (--tcp-drop-after)");
        }
    }
    connections.erase(
        std::remove_if(connections.begin(), connections.end(), [](const Connection &c) { return c.fd < 0; }),
        connections.end());
    if (!clientMode)
        return;
    if (clientFd < 0 && now >= nextAttempt)
        attemptConnect();
    if (connected && masterWaiting && now >= masterGivesUp) {
        log("RTU-REPLY " + clientPeer + " none within " + std::to_string(lineSettings().timeoutResponseMs) + " ms");
        masterWaiting = false;
    }
    if (connected && !masterWaiting && now >= nextMasterRequest) {
        nextMasterRequest = now + Ms(cfg.masterIntervalMs);
        masterAsks();
    }
}
