// The replies on their way to the client, as the fault options have them:
// --burst and --garbage replace a reply, --silent drops it, --late delays
// it and --split sends it in two halves. Each write goes to the device
// once it is due.
#pragma once

#include <chrono>
#include <deque>
#include <random>
#include <string>

class PtyDevice;
struct SimConfig;

class ReplyQueue
{
public:
    using Clock = std::chrono::steady_clock;

    ReplyQueue(const SimConfig &config, PtyDevice &device);

    // Sends the module's `reply`; the bytes that go out for it (empty:
    // none).
    std::string send(const std::string &reply);
    // Writes what is due.
    void flushDue();
    bool empty() const { return pending.empty(); }
    // When the next write is due; only when not empty().
    Clock::time_point nextDue() const { return pending.front().due; }
    // The device went: what it did not write is lost with it.
    void clear() { pending.clear(); }

private:
    struct Write {
        Clock::time_point due;
        std::string bytes;
    };

    std::string garbageBytes();
    std::string burstBytes();

    const SimConfig &cfg;
    PtyDevice &device;
    std::mt19937 rng;
    std::deque<Write> pending;
};
