#include "replyqueue.h"
#include "ptydevice.h"
#include "ptyloop.h"

ReplyQueue::ReplyQueue(const SimConfig &config, PtyDevice &device)
    : cfg(config)
    , device(device)
    , rng(std::random_device{}())
{
}

std::string ReplyQueue::send(const std::string &reply)
{
    std::string bytes = reply;
    if (cfg.burstBytes > 0)
        bytes = burstBytes();
    else if (cfg.garbage && !bytes.empty())
        bytes = garbageBytes();
    if (cfg.silent)
        bytes.clear();
    if (bytes.empty())
        return bytes;
    const auto due = Clock::now() + std::chrono::milliseconds(cfg.lateMs);
    if (cfg.splitMs >= 0 && bytes.size() > 1) {
        const std::size_t half = bytes.size() / 2;
        pending.push_back({due, bytes.substr(0, half)});
        pending.push_back({due + std::chrono::milliseconds(cfg.splitMs), bytes.substr(half)});
    } else {
        pending.push_back({due, bytes});
    }
    flushDue();
    return bytes;
}

void ReplyQueue::flushDue()
{
    const auto now = Clock::now();
    while (!pending.empty() && pending.front().due <= now) {
        const std::string bytes = pending.front().bytes;
        pending.pop_front();
        device.write(bytes);
    }
}

std::string ReplyQueue::garbageBytes()
{
    // Invalid UTF-8, NUL bytes and a line end, then a few random bytes.
    static const char fixed[] = "\xff\xfe\x00g\xc3\x28rb\x80\x00age\r\n";
    std::string g(fixed, sizeof fixed - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 8; ++i)
        g.push_back(char(byte(rng)));
    return g;
}

std::string ReplyQueue::burstBytes()
{
    std::string b;
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < cfg.burstBytes; ++i)
        b.push_back(char(byte(rng)));
    return b;
}
