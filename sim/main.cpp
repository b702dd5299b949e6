// gateway-sim: the simulated gateway module on a pseudo-terminal.
// Options and formats: see README.md in this directory.
#include "gatewaymodule.h"
#include "ptyloop.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char usage[] =
    "usage: gateway-sim [options]\n"
    "  --link PATH          keep a symlink PATH -> slave device\n"
    "  --state FILE         key=value state file (persisted parameters)\n"
    "  --log FILE           append the log to FILE too\n"
    "  --quiet              no log on stderr\n"
    "  --gap MS             silence that ends a command (default 20)\n"
    "  --restart-delay MS   device absence on restart (default 1500)\n"
    "  --silent             never answer\n"
    "  --late MS            answer MS ms late\n"
    "  --split MS           split each reply into two writes MS ms apart\n"
    "  --ack WORD           acknowledge taken changes with WORD instead of \"ok\"\n"
    "  --refuse KEY         always refuse one change (repeatable); KEY is a\n"
    "                       parameter key (ip, port_tcp, ...) or a change prefix\n"
    "  --garbage            answer with garbage bytes (invalid UTF-8, NULs)\n"
    "  --burst BYTES        answer each command with BYTES random bytes\n"
    "  --separator C        separator after the echoed query (default space)\n"
    "  --vanish-after N     drop the device after the Nth command (once)\n";

bool toInt(const char *s, long lo, long hi, long *out)
{
    char *end = nullptr;
    const long v = std::strtol(s, &end, 10);
    if (!*s || *end || v < lo || v > hi)
        return false;
    *out = v;
    return true;
}

int fail(const std::string &msg)
{
    std::fprintf(stderr, "gateway-sim: %s\n%s", msg.c_str(), usage);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    SimConfig cfg;
    for (int i = 1; i < argc; ++i) {
        const std::string opt = argv[i];
        auto arg = [&](const char **out) {
            if (i + 1 >= argc)
                return false;
            *out = argv[++i];
            return true;
        };
        auto num = [&](long lo, long hi, long *out) {
            const char *s = nullptr;
            return arg(&s) && toInt(s, lo, hi, out);
        };
        const char *s = nullptr;
        long v = 0;
        if (opt == "--help" || opt == "-h") {
            std::fputs(usage, stdout);
            return 0;
        } else if (opt == "--link") {
            if (!arg(&s)) return fail("--link needs a path");
            cfg.linkPath = s;
        } else if (opt == "--state") {
            if (!arg(&s)) return fail("--state needs a file");
            cfg.module.statePath = s;
        } else if (opt == "--log") {
            if (!arg(&s)) return fail("--log needs a file");
            cfg.logPath = s;
        } else if (opt == "--quiet") {
            cfg.logToStderr = false;
        } else if (opt == "--gap") {
            if (!num(1, 60000, &v)) return fail("bad --gap");
            cfg.gapMs = int(v);
        } else if (opt == "--restart-delay") {
            if (!num(0, 600000, &v)) return fail("bad --restart-delay");
            cfg.restartDelayMs = int(v);
        } else if (opt == "--silent") {
            cfg.silent = true;
        } else if (opt == "--late") {
            if (!num(0, 600000, &v)) return fail("bad --late");
            cfg.lateMs = int(v);
        } else if (opt == "--split") {
            if (!num(0, 600000, &v)) return fail("bad --split");
            cfg.splitMs = int(v);
        } else if (opt == "--ack") {
            if (!arg(&s)) return fail("--ack needs a word");
            cfg.module.ack = s;
        } else if (opt == "--refuse") {
            proto::Param p;
            if (!arg(&s) || !GatewayModule::paramFromRefuseKey(s, &p))
                return fail("bad --refuse key");
            cfg.module.refused.insert(p);
        } else if (opt == "--garbage") {
            cfg.garbage = true;
        } else if (opt == "--burst") {
            if (!num(1, 1 << 20, &v)) return fail("bad --burst");
            cfg.burstBytes = int(v);
        } else if (opt == "--separator") {
            if (!arg(&s)) return fail("--separator needs a character");
            if (std::strcmp(s, "\\t") == 0)
                cfg.module.separator = '\t';
            else if (std::strlen(s) == 1)
                cfg.module.separator = s[0];
            else
                return fail("--separator takes one character");
        } else if (opt == "--vanish-after") {
            if (!num(1, 1L << 30, &v)) return fail("bad --vanish-after");
            cfg.vanishAfter = v;
        } else {
            return fail("unknown option " + opt);
        }
    }
    return runSimulator(cfg);
}
