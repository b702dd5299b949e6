#include "linequeue.h"

#include <algorithm>

LineQueue::LineQueue(const FieldLine &line)
    : line(line)
{
}

void LineQueue::request(long requester, unsigned transaction, int unit, const std::string &pdu,
                        const FieldLine::Settings &settings)
{
    Reply r;
    r.requester = requester;
    r.transaction = transaction;
    r.unit = unit;
    r.answer = line.transact(unit, pdu, settings);
    const Clock::time_point now = Clock::now();
    if (r.answer.lineUs > 0) {
        const Clock::time_point begin = std::max(now, lineFree);
        r.at = begin + std::chrono::microseconds(r.answer.lineUs);
        lineFree = r.at;
    } else {
        r.at = now;
    }
    due.insert(std::upper_bound(due.begin(), due.end(), r, [](const Reply &a, const Reply &b) { return a.at < b.at; }),
               r);
}

bool LineQueue::next(Clock::time_point *when) const
{
    if (due.empty())
        return false;
    *when = due.front().at;
    return true;
}

bool LineQueue::takeDue(Clock::time_point now, Reply *reply)
{
    if (due.empty() || due.front().at > now)
        return false;
    *reply = due.front();
    due.pop_front();
    return true;
}

void LineQueue::clear()
{
    due.clear();
    // Its busy time too: the first request after a restart waits for none
    // of those before it.
    lineFree = Clock::time_point();
}
