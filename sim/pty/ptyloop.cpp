#include "ptyloop.h"
#include "netbridge.h"
#include "ptydevice.h"
#include "replyqueue.h"
#include "simlog.h"
#include "stopsignals.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include <poll.h>

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

class Loop
{
public:
    explicit Loop(const SimConfig &c)
        : cfg(c)
        , log(c.logPath, c.logToStderr)
        , device(c.linkPath, c.gapMs, log)
        , replies(c, device)
        , module(c.module)
        , bridge(c.net, module, [this](const std::string &what) { log(what); })
    {
    }

    int run();

private:
    bool nextWake(Clock::time_point now, Clock::time_point *wake) const;
    int waitForEvents(std::vector<pollfd> &fds, bool *deviceWatched);
    void endCommand();
    void command(const std::string &line);
    bool wantsVanish(const GatewayModule::Result &r);
    bool replyRead();
    void vanish();
    bool comeBackWhenDue();

    const SimConfig &cfg;
    SimLog log;
    PtyDevice device;
    ReplyQueue replies;
    GatewayModule module;
    NetBridge bridge;

    bool down = false;
    Clock::time_point backAt;
    // A vanish waits for the client to read the reply first, up to this.
    bool vanishing = false;
    Clock::time_point vanishFrom;
    bool replySeen = false;
    long received = 0;
};

void Loop::command(const std::string &line)
{
    ++received;
    log("RX \"" + escapeBytes(line) + "\"");
    const GatewayModule::Result r = module.handle(line);
    if (r.kind == GatewayModule::LineKind::Change)
        log(std::string(r.accepted ? "CHANGED " : "REFUSED ") + GatewayModule::paramKey(r.change->param) + " \""
            + escapeBytes(module.value(r.change->param)) + "\"");
    const std::string reply = replies.send(r.reply);
    if (wantsVanish(r)) {
        // The reply goes out before the device does, as a module's does
        // before it restarts: the device is dropped once the client has read
        // it (the kernel drops what the client has not read yet).
        vanishing = true;
        vanishFrom = Clock::now();
        replySeen = reply.empty(); // no reply to wait for (a restart's command)
    }
}

// Whether the command just handled takes the device down (logged ACTION).
bool Loop::wantsVanish(const GatewayModule::Result &r)
{
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
    return vanish;
}

bool Loop::replyRead()
{
    if (!replies.empty())
        return false;
    int unread = 0;
    if (!device.unread(&unread))
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
    log("VANISH " + device.path());
    device.removeLink();
    device.close();
    replies.clear();
    bridge.stop();
    down = true;
    backAt = Clock::now() + Ms(cfg.restartDelayMs);
}

// The device back after its restart delay; false when no new one can be
// had.
bool Loop::comeBackWhenDue()
{
    if (!down || Clock::now() < backAt)
        return true;
    down = false;
    if (!device.open())
        return false;
    log("BACK " + device.path());
    bridge.start();
    return true;
}

// The next moment the loop must wake, to the microsecond: a reply of the
// network side is due after the frame time on the line, often under a
// millisecond. False: only an event wakes it.
bool Loop::nextWake(Clock::time_point now, Clock::time_point *wake) const
{
    bool timed = false;
    auto consider = [&](Clock::time_point t) {
        if (!timed || t < *wake)
            *wake = t;
        timed = true;
    };
    Clock::time_point at;
    if (device.commandEnds(&at))
        consider(at);
    if (!replies.empty())
        consider(replies.nextDue());
    if (down)
        consider(backAt);
    if (vanishing)
        consider(now + Ms(5));
    if (bridge.deadline(&at))
        consider(at);
    return timed;
}

// ppoll() on the stop pipe, the device (fds[1], when `deviceWatched`) and
// the network side, until the next wake; its result.
int Loop::waitForEvents(std::vector<pollfd> &fds, bool *deviceWatched)
{
    const auto now = Clock::now();
    Clock::time_point wake;
    const bool timed = nextWake(now, &wake);
    fds.clear();
    fds.push_back({stopWakeFd(), POLLIN, 0});
    *deviceWatched = device.isOpen();
    if (*deviceWatched)
        fds.push_back({device.fd(), POLLIN, 0});
    bridge.addPollFds(fds);
    timespec timeout{};
    if (timed) {
        const long long us =
            std::max<long long>(0, std::chrono::duration_cast<std::chrono::microseconds>(wake - now).count());
        timeout.tv_sec = time_t(us / 1000000);
        timeout.tv_nsec = long(us % 1000000) * 1000;
    }
    return ::ppoll(fds.data(), nfds_t(fds.size()), timed ? &timeout : nullptr, nullptr);
}

// The command the gap has ended, if it has.
void Loop::endCommand()
{
    std::string line;
    if (!device.takeCommand(&line))
        return;
    // A module on its way down takes no more commands.
    if (vanishing)
        log("IGNORED \"" + escapeBytes(line) + "\"");
    else
        command(line);
}

int Loop::run()
{
    if (!module.load())
        module.save(); // no state file yet: start one with the factory values
    if (!device.open())
        return 1;
    log("UP " + device.path());
    bridge.start();

    std::vector<pollfd> fds;
    while (!stopRequested()) {
        bool deviceWatched = false;
        const int rc = waitForEvents(fds, &deviceWatched);
        if (rc < 0 && errno != EINTR) {
            log(std::string("ERROR poll: ") + std::strerror(errno));
            return 1;
        }
        if (stopRequested())
            break;
        if (rc > 0 && deviceWatched)
            device.read(fds[1].revents);
        if (rc > 0)
            bridge.handle(fds);
        bridge.tick();
        endCommand();
        replies.flushDue();
        if (vanishing && (replyRead() || Clock::now() - vanishFrom >= Ms(1000)))
            vanish();
        if (!comeBackWhenDue())
            return 1;
    }
    bridge.stop();
    log("EXIT");
    device.close();
    replies.clear();
    device.removeLink();
    return 0;
}

} // namespace

int runSimulator(const SimConfig &config)
{
    catchStopSignals();
    Loop loop(config);
    return loop.run();
}
