// The simulated RS-485 line in time: it carries one transaction at a time,
// whichever connection asked. A request that comes while the line is busy
// waits for it, then keeps it for its frame time (the request and the
// device's reply), or for its own frame time and the module's
// timeout_response before the module's 0x0B. A reply that never went on
// the line (0x0A: no path to the unit) is due at once. FieldLine says what
// the line answers; this says when. No sockets: the network side asks and
// sends each reply once it is due.
#pragma once

#include "fieldline.h"

#include <chrono>
#include <deque>
#include <string>

class LineQueue
{
public:
    using Clock = std::chrono::steady_clock;

    // A reply and when it is due.
    struct Reply {
        Clock::time_point at;
        long requester = 0; // whoever asked (a connection of the server)
        unsigned transaction = 0;
        int unit = 0;
        FieldLine::Transaction answer;
    };

    explicit LineQueue(const FieldLine &line);

    // A request from `requester` for `unit`, on the line at the module's
    // settings as they are now.
    void request(long requester, unsigned transaction, int unit, const std::string &pdu,
                 const FieldLine::Settings &settings);
    // When the first reply is due; false when none waits.
    bool next(Clock::time_point *when) const;
    // The first reply, if it is due at `now`, taken off the queue.
    bool takeDue(Clock::time_point now, Reply *reply);
    // A restart: the replies not sent yet are gone, and the line is free.
    void clear();

private:
    const FieldLine &line;
    std::deque<Reply> due; // in the order they are due
    Clock::time_point lineFree;
};
