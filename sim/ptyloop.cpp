#include "ptyloop.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>
#include <algorithm>
#include <random>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

volatile sig_atomic_t stopRequested = 0;
int wakePipe[2] = {-1, -1};

void onSignal(int)
{
    stopRequested = 1;
    const char c = 0;
    if (wakePipe[1] >= 0) {
        ssize_t n = ::write(wakePipe[1], &c, 1);
        (void)n;
    }
}

struct PendingWrite {
    Clock::time_point due;
    std::string bytes;
};

class Loop
{
public:
    explicit Loop(const SimConfig &c)
        : cfg(c), module(c.module), bridge(c.net, module, [this](const std::string &what) { log(what); }),
          rng(std::random_device{}())
    {
        start = Clock::now();
        if (!cfg.logPath.empty())
            logFile = std::fopen(cfg.logPath.c_str(), "a");
    }
    ~Loop()
    {
        if (logFile)
            std::fclose(logFile);
    }

    int run();

private:
    void log(const std::string &what);
    bool openDevice();
    void closeDevice();
    void updateLink();
    void command(const std::string &line);
    bool replyRead();
    void vanish();
    void flushDue();
    void writeNow(const std::string &bytes);
    std::string garbageBytes();
    std::string burstBytes();

    const SimConfig &cfg;
    GatewayModule module;
    NetBridge bridge;
    std::mt19937 rng;
    Clock::time_point start;
    FILE *logFile = nullptr;

    int master = -1;
    int slave = -1;
    std::string slavePath;
    std::string buffer;
    Clock::time_point lastByte;
    std::deque<PendingWrite> pending;
    bool down = false;
    Clock::time_point backAt;
    // A vanish waits for the client to read the reply first, up to this.
    bool vanishing = false;
    Clock::time_point vanishFrom;
    bool replySeen = false;
    long received = 0;
};

void Loop::log(const std::string &what)
{
    const long long ms = std::chrono::duration_cast<Ms>(Clock::now() - start).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%lld.%03lld ", ms / 1000, ms % 1000);
    const std::string line = stamp + what + "\n";
    if (cfg.logToStderr) {
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
    }
    if (logFile) {
        std::fputs(line.c_str(), logFile);
        std::fflush(logFile);
    }
}

bool Loop::openDevice()
{
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        log(std::string("ERROR posix_openpt: ") + std::strerror(errno));
        if (master >= 0)
            ::close(master);
        master = -1;
        return false;
    }
    const char *name = ::ptsname(master);
    slavePath = name ? name : "";
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);

    termios t{};
    if (::tcgetattr(master, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(master, TCSANOW, &t);
    }
    // The slave's line discipline must neither echo nor translate CR/LF.
    // The slave stays open here so that the master never reports a hang-up
    // while no client holds the port.
    slave = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave >= 0 && ::tcgetattr(slave, &t) == 0) {
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, B9600);
        ::cfsetospeed(&t, B9600);
        ::tcsetattr(slave, TCSANOW, &t);
        termios check{};
        if (::tcgetattr(slave, &check) != 0 || (check.c_lflag & (ECHO | ICANON)) || (check.c_iflag & (ICRNL | INLCR))
            || (check.c_oflag & OPOST))
            log("ERROR slave not raw");
    } else {
        log(std::string("ERROR open slave: ") + std::strerror(errno));
    }
    buffer.clear();
    updateLink();
    std::printf("gateway-sim: %s\n", slavePath.c_str());
    std::fflush(stdout);
    return true;
}

void Loop::updateLink()
{
    if (cfg.linkPath.empty())
        return;
    const std::string tmp = cfg.linkPath + ".tmp." + std::to_string(::getpid());
    ::unlink(tmp.c_str());
    if (::symlink(slavePath.c_str(), tmp.c_str()) != 0 || ::rename(tmp.c_str(), cfg.linkPath.c_str()) != 0) {
        log(std::string("ERROR link: ") + std::strerror(errno));
        ::unlink(tmp.c_str());
    }
}

void Loop::closeDevice()
{
    if (slave >= 0)
        ::close(slave);
    if (master >= 0)
        ::close(master);
    slave = master = -1;
    buffer.clear();
    pending.clear();
}

void Loop::writeNow(const std::string &bytes)
{
    if (master < 0 || bytes.empty())
        return;
    log("TX \"" + escapeBytes(bytes) + "\"");
    std::size_t done = 0;
    int tries = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += std::size_t(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR) && ++tries < 100) {
            pollfd p{master, POLLOUT, 0};
            ::poll(&p, 1, 10);
        } else {
            log(std::string("ERROR write: ") + std::strerror(errno));
            return;
        }
    }
}

void Loop::flushDue()
{
    const auto now = Clock::now();
    while (!pending.empty() && pending.front().due <= now) {
        const std::string bytes = pending.front().bytes;
        pending.pop_front();
        writeNow(bytes);
    }
}

std::string Loop::garbageBytes()
{
    // Invalid UTF-8, NUL bytes and a line end, then a few random bytes.
    static const char fixed[] = "\xff\xfe\x00g\xc3\x28rb\x80\x00age\r\n";
    std::string g(fixed, sizeof fixed - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 8; ++i)
        g.push_back(char(byte(rng)));
    return g;
}

std::string Loop::burstBytes()
{
    std::string b;
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < cfg.burstBytes; ++i)
        b.push_back(char(byte(rng)));
    return b;
}

void Loop::command(const std::string &line)
{
    ++received;
    log("RX \"" + escapeBytes(line) + "\"");
    const GatewayModule::Result r = module.handle(line);
    if (r.kind == GatewayModule::LineKind::Change)
        log(std::string(r.accepted ? "CHANGED " : "REFUSED ") + GatewayModule::paramKey(r.change->param) + " \""
            + escapeBytes(module.value(r.change->param)) + "\"");

    std::string reply = r.reply;
    if (cfg.burstBytes > 0)
        reply = burstBytes();
    else if (cfg.garbage && !reply.empty())
        reply = garbageBytes();
    if (cfg.silent)
        reply.clear();

    if (!reply.empty()) {
        const auto due = Clock::now() + Ms(cfg.lateMs);
        if (cfg.splitMs >= 0 && reply.size() > 1) {
            const std::size_t half = reply.size() / 2;
            pending.push_back({due, reply.substr(0, half)});
            pending.push_back({due + Ms(cfg.splitMs), reply.substr(half)});
        } else {
            pending.push_back({due, reply});
        }
        flushDue();
    }

    bool vanish = false;
    if (r.action == GatewayModule::Action::Reboot) {
        log("ACTION reboot");
        vanish = true;
    } else if (r.action == GatewayModule::Action::FactoryReset) {
        log("ACTION factory-reset");
        vanish = true;
    }
    if (cfg.vanishAfter > 0 && received == cfg.vanishAfter) {
        log("ACTION vanish-after " + std::to_string(received));
        vanish = true;
    }
    if (vanish) {
        // The reply goes out before the device does, as a module's does
        // before it restarts: the device is dropped once the client has read
        // it (the kernel drops what the client has not read yet).
        vanishing = true;
        vanishFrom = Clock::now();
        replySeen = reply.empty(); // no reply to wait for (a restart's command)
    }
}

bool Loop::replyRead()
{
    if (!pending.empty())
        return false;
    int unread = 0;
    if (slave < 0 || ::ioctl(slave, TIOCINQ, &unread) != 0)
        return true;
    replySeen = replySeen || unread > 0;
    // What is written to the master reaches the slave's queue a moment
    // later (the kernel hands it over on a worker of its own, late on a busy
    // machine): an empty queue proves the reply read only once the reply was
    // seen in it, or after a while.
    return unread == 0 && (replySeen || Clock::now() - vanishFrom >= Ms(100));
}

void Loop::vanish()
{
    vanishing = false;
    log("VANISH " + slavePath);
    // The kernel soon hands the device's number to the next new
    // pseudo-terminal: a link left behind would lead a client that keeps
    // retrying it to a stranger's device.
    if (!cfg.linkPath.empty())
        ::unlink(cfg.linkPath.c_str());
    closeDevice();
    bridge.stop();
    down = true;
    backAt = Clock::now() + Ms(cfg.restartDelayMs);
}

int Loop::run()
{
    if (!module.load())
        module.save(); // no state file yet: start one with the factory values
    if (!openDevice())
        return 1;
    log("UP " + slavePath);
    bridge.start();

    std::vector<pollfd> fds;
    while (!stopRequested) {
        auto now = Clock::now();
        // The next deadline, to the microsecond: a reply of the network side
        // is due after the frame time on the line, often under a millisecond.
        bool timed = false;
        Clock::time_point wake;
        auto consider = [&](Clock::time_point t) {
            if (!timed || t < wake)
                wake = t;
            timed = true;
        };
        if (!buffer.empty())
            consider(lastByte + Ms(cfg.gapMs));
        if (!pending.empty())
            consider(pending.front().due);
        if (down)
            consider(backAt);
        if (vanishing)
            consider(now + Ms(5));
        Clock::time_point netDue;
        if (bridge.deadline(&netDue))
            consider(netDue);

        fds.clear();
        fds.push_back({wakePipe[0], POLLIN, 0});
        const bool device = master >= 0;
        if (device)
            fds.push_back({master, POLLIN, 0});
        bridge.addPollFds(fds);
        timespec timeout{};
        if (timed) {
            const long long us = std::max<long long>(
                0, std::chrono::duration_cast<std::chrono::microseconds>(wake - now).count());
            timeout.tv_sec = time_t(us / 1000000);
            timeout.tv_nsec = long(us % 1000000) * 1000;
        }
        const int rc = ::ppoll(fds.data(), nfds_t(fds.size()), timed ? &timeout : nullptr, nullptr);
        if (rc < 0 && errno != EINTR) {
            log(std::string("ERROR poll: ") + std::strerror(errno));
            return 1;
        }
        if (stopRequested)
            break;
        if (rc > 0 && device && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
            char chunk[4096];
            const ssize_t got = ::read(master, chunk, sizeof chunk);
            if (got > 0) {
                buffer.append(chunk, std::size_t(got));
                lastByte = Clock::now();
            } else if (fds[1].revents & (POLLHUP | POLLERR)) {
                ::usleep(10000); // no reader on the slave side; don't spin
            }
        }
        if (rc > 0)
            bridge.handle(fds);
        bridge.tick();
        now = Clock::now();
        if (!buffer.empty() && now - lastByte >= Ms(cfg.gapMs)) {
            const std::string line = buffer;
            buffer.clear();
            // A module on its way down takes no more commands.
            if (vanishing)
                log("IGNORED \"" + escapeBytes(line) + "\"");
            else
                command(line);
        }
        flushDue();
        if (vanishing && (replyRead() || Clock::now() - vanishFrom >= Ms(1000)))
            vanish();
        if (down && Clock::now() >= backAt) {
            down = false;
            if (!openDevice())
                return 1;
            log("BACK " + slavePath);
            bridge.start();
        }
    }
    bridge.stop();
    log("EXIT");
    closeDevice();
    if (!cfg.linkPath.empty())
        ::unlink(cfg.linkPath.c_str());
    return 0;
}

} // namespace

std::string escapeBytes(const std::string &bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c >= 0x20 && c < 0x7f) {
                out.push_back(char(c));
            } else {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02x", c);
                out += hex;
            }
        }
    }
    return out;
}

int runSimulator(const SimConfig &config)
{
    if (::pipe(wakePipe) == 0) {
        ::fcntl(wakePipe[0], F_SETFD, FD_CLOEXEC);
        ::fcntl(wakePipe[1], F_SETFD, FD_CLOEXEC);
        ::fcntl(wakePipe[1], F_SETFL, O_NONBLOCK);
    }
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGHUP, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    Loop loop(config);
    return loop.run();
}
