#include "simoptions.h"
#include "persontext.h"

#include <cstdlib>
#include <cstring>

namespace {

bool toInt(const char *s, long lo, long hi, long *out)
{
    char *end = nullptr;
    const long v = std::strtol(s, &end, 10);
    if (!*s || *end || v < lo || v > hi)
        return false;
    *out = v;
    return true;
}

// The options that set one field of the configuration: with a text, a
// number in a range, or nothing.
struct TextOption {
    const char *name;
    std::string &(*field)(SimConfig &);
    const char *missing;
};
const TextOption textOptions[] = {
    {"--link", [](SimConfig &c) -> std::string & { return c.linkPath; },
     QT_TRANSLATE_NOOP("gateway-sim", "%1 needs a path")},
    {"--state", [](SimConfig &c) -> std::string & { return c.module.statePath; },
     QT_TRANSLATE_NOOP("gateway-sim", "%1 needs a file")},
    {"--log", [](SimConfig &c) -> std::string & { return c.logPath; },
     QT_TRANSLATE_NOOP("gateway-sim", "%1 needs a file")},
    {"--ack", [](SimConfig &c) -> std::string & { return c.module.ack; },
     QT_TRANSLATE_NOOP("gateway-sim", "%1 needs a word")},
    {"--mac", [](SimConfig &c) -> std::string & { return c.module.mac; },
     QT_TRANSLATE_NOOP("gateway-sim", "%1 needs an address")},
};

struct NumberOption {
    const char *name;
    long lo, hi;
    int &(*field)(SimConfig &);
};
const NumberOption numberOptions[] = {
    {"--gap", 1, 60000, [](SimConfig &c) -> int & { return c.gapMs; }},
    {"--restart-delay", 0, 600000, [](SimConfig &c) -> int & { return c.restartDelayMs; }},
    {"--late", 0, 600000, [](SimConfig &c) -> int & { return c.lateMs; }},
    {"--split", 0, 600000, [](SimConfig &c) -> int & { return c.splitMs; }},
    {"--burst", 1, 1 << 20, [](SimConfig &c) -> int & { return c.burstBytes; }},
    {"--vanish-after", 1, 1 << 30, [](SimConfig &c) -> int & { return c.vanishAfter; }},
    {"--tcp-drop-after", 1, 1 << 30, [](SimConfig &c) -> int & { return c.net.dropAfter; }},
};

struct FlagOption {
    const char *name;
    bool &(*field)(SimConfig &);
    bool value;
};
const FlagOption flagOptions[] = {
    {"--quiet", [](SimConfig &c) -> bool & { return c.logToStderr; }, false},
    {"--silent", [](SimConfig &c) -> bool & { return c.silent; }, true},
    {"--garbage", [](SimConfig &c) -> bool & { return c.garbage; }, true},
    {"--tcp", [](SimConfig &c) -> bool & { return c.net.enabled; }, true},
    {"--tcp-refuse", [](SimConfig &c) -> bool & { return c.net.refuse; }, true},
    {"--tcp-stall", [](SimConfig &c) -> bool & { return c.net.stall; }, true},
};

// The options whose argument is read by a function of their own. Each
// takes OPTION ARGUMENT (ARGUMENT nullptr when missing), or refuses it with
// `fault` set.
bool takeRefuse(SimConfig &cfg, const std::string &, const char *s, std::string *fault)
{
    proto::Param p;
    if (!s || !GatewayModule::paramFromRefuseKey(s, &p)) {
        *fault = personText(QT_TRANSLATE_NOOP("gateway-sim", "bad --refuse key"));
        return false;
    }
    cfg.module.refused.insert(p);
    return true;
}

bool takeAddress(SimConfig &cfg, const std::string &opt, const char *s, std::string *fault)
{
    const bool listen = opt == "--tcp-listen";
    if (!s)
        *fault = personText(QT_TRANSLATE_NOOP("gateway-sim", "%1 needs HOST[:PORT]"), opt);
    return s
           && parseLoopbackAddress(s, listen ? &cfg.net.listenHost : &cfg.net.serverHost,
                                   listen ? &cfg.net.listenPort : &cfg.net.serverPort, fault);
}

bool takeField(SimConfig &cfg, const std::string &, const char *s, std::string *fault)
{
    FieldDevice device;
    if (!s)
        *fault = personText(QT_TRANSLATE_NOOP("gateway-sim", "--field needs UNIT@SPEED/PARITY/STOP"));
    if (!s || !FieldLine::parseDevice(s, &device, fault))
        return false;
    cfg.net.line.add(device);
    return true;
}

bool takeRtuMaster(SimConfig &cfg, const std::string &, const char *s, std::string *fault)
{
    if (!s)
        *fault = personText(QT_TRANSLATE_NOOP("gateway-sim", "--rtu-master needs KIND:ADDRESS:COUNT@MS"));
    return s && parseRtuMaster(s, &cfg.net, fault);
}

bool takeSeparator(SimConfig &cfg, const std::string &, const char *s, std::string *fault)
{
    if (!s) {
        *fault = personText(QT_TRANSLATE_NOOP("gateway-sim", "--separator needs a character"));
        return false;
    }
    if (std::strcmp(s, "\\t") == 0) {
        cfg.module.separator = '\t';
    } else if (std::strlen(s) == 1) {
        cfg.module.separator = s[0];
    } else {
        *fault = personText(QT_TRANSLATE_NOOP("gateway-sim", "--separator takes one character"));
        return false;
    }
    return true;
}

struct OwnOption {
    const char *name;
    bool network; // one of the network side's: it switches the side on
    bool (*take)(SimConfig &, const std::string &, const char *, std::string *);
};
const OwnOption ownOptions[] = {
    {"--refuse", false, takeRefuse},  {"--tcp-listen", true, takeAddress},  {"--tcp-server", true, takeAddress},
    {"--field", true, takeField},     {"--rtu-master", true, takeRtuMaster}, {"--separator", false, takeSeparator},
};

enum class Taken { Alone, WithArgument, Refused, Unknown };

// One option `opt`, followed by `s` (nullptr at the end), into `cfg`.
Taken takeOption(const std::string &opt, const char *s, SimConfig &cfg, bool *networkOption, std::string *fault)
{
    for (const TextOption &o : textOptions) {
        if (opt != o.name)
            continue;
        if (!s) {
            *fault = personText(o.missing, opt);
            return Taken::Refused;
        }
        o.field(cfg) = s;
        return Taken::WithArgument;
    }
    for (const NumberOption &o : numberOptions) {
        if (opt != o.name)
            continue;
        long v = 0;
        if (!s || !toInt(s, o.lo, o.hi, &v)) {
            *fault = personText(QT_TRANSLATE_NOOP("gateway-sim", "bad %1"), opt);
            return Taken::Refused;
        }
        o.field(cfg) = int(v);
        return Taken::WithArgument;
    }
    for (const FlagOption &o : flagOptions) {
        if (opt == o.name) {
            o.field(cfg) = o.value;
            return Taken::Alone;
        }
    }
    for (const OwnOption &o : ownOptions) {
        if (opt != o.name)
            continue;
        if (!o.take(cfg, opt, s, fault))
            return Taken::Refused;
        *networkOption = *networkOption || o.network;
        return Taken::WithArgument;
    }
    *fault = personText(QT_TRANSLATE_NOOP("gateway-sim", "unknown option %1"), opt);
    return Taken::Unknown;
}

} // namespace

bool parseOptions(const std::vector<std::string> &args, SimConfig *cfg, bool *help, std::string *fault)
{
    bool networkOption = false;
    *help = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &opt = args[i];
        // the option's argument, if it takes one
        const char *s = i + 1 < args.size() ? args[i + 1].c_str() : nullptr;
        if (opt == "--help" || opt == "-h") {
            *help = true;
            return true;
        }
        switch (takeOption(opt, s, *cfg, &networkOption, fault)) {
        case Taken::Alone:
            break;
        case Taken::WithArgument:
            ++i;
            break;
        case Taken::Refused:
        case Taken::Unknown:
            return false;
        }
    }
    // Any of the network side's options switches it on.
    cfg->net.enabled = cfg->net.enabled || networkOption || cfg->net.refuse || cfg->net.stall || cfg->net.dropAfter > 0;
    return true;
}
