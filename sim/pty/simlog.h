// The simulator's log: one line an event, each starting with the seconds
// since the program started, with milliseconds, on stderr (unless --quiet)
// and appended to the --log file. Programs read it: it stays in English.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

class SimLog
{
public:
    SimLog(const std::string &path, bool toStderr);
    ~SimLog();
    SimLog(const SimLog &) = delete;
    SimLog &operator=(const SimLog &) = delete;

    void operator()(const std::string &what);

private:
    std::chrono::steady_clock::time_point start;
    bool toStderr;
    FILE *file = nullptr;
};

// The log's escaping of bytes: printable ASCII as is, \\ \" \r \n \t, and
// \xHH for everything else.
std::string escapeBytes(const std::string &bytes);
