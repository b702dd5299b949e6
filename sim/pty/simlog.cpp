#include "simlog.h"

SimLog::SimLog(const std::string &path, bool toStderr)
    : start(std::chrono::steady_clock::now())
    , toStderr(toStderr)
{
    if (!path.empty())
        file = std::fopen(path.c_str(), "a");
}

SimLog::~SimLog()
{
    if (file)
        std::fclose(file);
}

void SimLog::operator()(const std::string &what)
{
    const long long ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%lld.%03lld ", ms / 1000, ms % 1000);
    const std::string line = stamp + what + "\n";
    if (toStderr) {
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
    }
    if (file) {
        std::fputs(line.c_str(), file);
        std::fflush(file);
    }
}

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
