// The module's configuration port: a pseudo-terminal whose slave stands in
// for the module's serial port, raw on both sides, with the --link symlink
// to its slave and the stdout line that names it each time it comes up. A
// command is what the client sent before a silence of --gap ms.
#pragma once

#include "simlog.h"

#include <chrono>
#include <string>

class PtyDevice
{
public:
    using Clock = std::chrono::steady_clock;

    PtyDevice(const std::string &linkPath, int gapMs, SimLog &log);

    // A new pseudo-terminal, the link pointed at it and its stdout line;
    // false when there is none to be had.
    bool open();
    void close();
    // The link removed: the kernel soon gives the slave's number to
    // another program's pseudo-terminal.
    void removeLink();

    bool isOpen() const { return master >= 0; }
    int fd() const { return master; }
    const std::string &path() const { return slavePath; }

    // What poll() found on the master (`revents`): what the client sent
    // added to the command it is sending.
    void read(short revents);
    // When the command being sent ends, its gap of silence past; false
    // while no byte waits.
    bool commandEnds(Clock::time_point *at) const;
    // The command whose gap has passed, taken; false while there is none.
    bool takeCommand(std::string *command);

    // Writes `bytes` to the client whole (logged TX), waiting a little
    // while the master's queue is full.
    void write(const std::string &bytes);
    // How many bytes sent wait unread at the slave; false when that cannot
    // be told.
    bool unread(int *count) const;

private:
    void openSlave();
    void updateLink();

    std::string linkPath;
    std::chrono::milliseconds gap;
    SimLog &log;
    int master = -1;
    int slave = -1;
    std::string slavePath;
    std::string buffer;
    Clock::time_point lastByte;
};
