// gateway-sim: the simulated gateway module on a pseudo-terminal.
// Options and formats: see README.md in this directory.
#include "gatewaymodule.h"
#include "language.h"
#include "persontext.h"
#include "ptyloop.h"

#include <QCoreApplication>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The usage, in the language gateway-sim speaks (persontext.h).
std::string usage()
{
    return personText(QT_TRANSLATE_NOOP("gateway-sim",
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
    "  --mac ADDRESS        the MAC address to report (default 02:00:00:00:00:01)\n"
    "  --vanish-after N     drop the device after the Nth command (once)\n"
    "  --lang en|ru         the language of these texts (else GATEWAY_LANG, else the\n"
    "                       system's; the log is in English)\n"
    "network side (Modbus TCP on 127.0.0.0/8 only, bridged to the RS-485 line):\n"
    "  --tcp                on, at the module's port_tcp on 127.0.0.1 (the\n"
    "                       options below switch it on too)\n"
    "  --tcp-listen HOST[:PORT]  server mode: listen there (PORT 0: any free one)\n"
    "  --tcp-server HOST[:PORT]  client mode: connect there\n"
    "  --field UNIT@SPEED/PARITY/STOP  a device on the line (repeatable)\n"
    "  --rtu-master KIND:ADDRESS:COUNT@MS  client mode: what the line's master\n"
    "                       asks, how often (default hr:0:2@1000)\n"
    "  --tcp-refuse         the port bound but not listening: connections refused\n"
    "  --tcp-stall          accept, never answer\n"
    "  --tcp-drop-after N   close a connection after N replies\n"));
}

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
    std::fprintf(stderr, "gateway-sim: %s\n%s", msg.c_str(), usage().c_str());
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Qt 5's QCoreApplication set all of C's locale from the environment
    // (setlocale(LC_ALL, "")): the log keeps C's ('.' in numbers, English
    // system errors); only the character set stays, for Qt's conversions.
    std::setlocale(LC_ALL, "C");
    std::setlocale(LC_CTYPE, "");
    QString languageFault;
    std::vector<std::string> args;
    for (const QString &a :
         language::choose(QStringLiteral("gateway-sim"), QCoreApplication::arguments(), &languageFault))
        args.push_back(a.toLocal8Bit().toStdString());
    if (!languageFault.isEmpty())
        return fail(personText(languageFault));
    const int count = int(args.size());

    SimConfig cfg;
    const struct {
        const char *name;
        std::string *field;
        const char *what;
    } textOptions[] = {{"--link", &cfg.linkPath, QT_TRANSLATE_NOOP("gateway-sim", "%1 needs a path")},
                       {"--state", &cfg.module.statePath, QT_TRANSLATE_NOOP("gateway-sim", "%1 needs a file")},
                       {"--log", &cfg.logPath, QT_TRANSLATE_NOOP("gateway-sim", "%1 needs a file")},
                       {"--ack", &cfg.module.ack, QT_TRANSLATE_NOOP("gateway-sim", "%1 needs a word")},
                       {"--mac", &cfg.module.mac, QT_TRANSLATE_NOOP("gateway-sim", "%1 needs an address")}};
    const struct {
        const char *name;
        long lo, hi;
        int *field;
    } numberOptions[] = {{"--gap", 1, 60000, &cfg.gapMs},
                         {"--restart-delay", 0, 600000, &cfg.restartDelayMs},
                         {"--late", 0, 600000, &cfg.lateMs},
                         {"--split", 0, 600000, &cfg.splitMs},
                         {"--burst", 1, 1 << 20, &cfg.burstBytes},
                         {"--vanish-after", 1, 1 << 30, &cfg.vanishAfter},
                         {"--tcp-drop-after", 1, 1 << 30, &cfg.net.dropAfter}};
    const struct {
        const char *name;
        bool *field;
        bool value;
    } flagOptions[] = {{"--quiet", &cfg.logToStderr, false},
                       {"--silent", &cfg.silent, true},
                       {"--garbage", &cfg.garbage, true},
                       {"--tcp", &cfg.net.enabled, true},
                       {"--tcp-refuse", &cfg.net.refuse, true},
                       {"--tcp-stall", &cfg.net.stall, true}};

    bool networkOption = false;
    for (int i = 1; i < count; ++i) {
        const std::string opt = args[std::size_t(i)];
        // the option's argument, if it takes one
        const char *s = i + 1 < count ? args[std::size_t(i) + 1].c_str() : nullptr;
        if (opt == "--help" || opt == "-h") {
            std::fputs(usage().c_str(), stdout);
            return 0;
        }
        bool known = false;
        for (const auto &o : textOptions) {
            if (opt != o.name)
                continue;
            if (!s)
                return fail(personText(o.what, opt));
            *o.field = args[std::size_t(++i)];
            known = true;
        }
        for (const auto &o : numberOptions) {
            if (opt != o.name)
                continue;
            long v = 0;
            if (!s || !toInt(s, o.lo, o.hi, &v))
                return fail(personText(QT_TRANSLATE_NOOP("gateway-sim", "bad %1"), opt));
            *o.field = int(v);
            ++i;
            known = true;
        }
        for (const auto &o : flagOptions) {
            if (opt == o.name) {
                *o.field = o.value;
                known = true;
            }
        }
        if (known)
            continue;
        if (opt == "--refuse") {
            proto::Param p;
            if (!s || !GatewayModule::paramFromRefuseKey(s, &p))
                return fail(personText(QT_TRANSLATE_NOOP("gateway-sim", "bad --refuse key")));
            cfg.module.refused.insert(p);
            ++i;
        } else if (opt == "--tcp-listen" || opt == "--tcp-server") {
            std::string fault;
            const bool listen = opt == "--tcp-listen";
            if (!s || !parseLoopbackAddress(s, listen ? &cfg.net.listenHost : &cfg.net.serverHost,
                                            listen ? &cfg.net.listenPort : &cfg.net.serverPort, &fault))
                return fail(s ? fault : personText(QT_TRANSLATE_NOOP("gateway-sim", "%1 needs HOST[:PORT]"), opt));
            ++i;
            networkOption = true;
        } else if (opt == "--field") {
            std::string fault;
            FieldDevice device;
            if (!s || !FieldLine::parseDevice(s, &device, &fault))
                return fail(s ? fault : personText(QT_TRANSLATE_NOOP("gateway-sim", "--field needs UNIT@SPEED/PARITY/STOP")));
            cfg.net.line.add(device);
            ++i;
            networkOption = true;
        } else if (opt == "--rtu-master") {
            std::string fault;
            if (!s || !parseRtuMaster(s, &cfg.net, &fault))
                return fail(s ? fault : personText(QT_TRANSLATE_NOOP("gateway-sim", "--rtu-master needs KIND:ADDRESS:COUNT@MS")));
            ++i;
            networkOption = true;
        } else if (opt == "--separator") {
            if (!s)
                return fail(personText(QT_TRANSLATE_NOOP("gateway-sim", "--separator needs a character")));
            if (std::strcmp(s, "\\t") == 0)
                cfg.module.separator = '\t';
            else if (std::strlen(s) == 1)
                cfg.module.separator = s[0];
            else
                return fail(personText(QT_TRANSLATE_NOOP("gateway-sim", "--separator takes one character")));
            ++i;
        } else {
            return fail(personText(QT_TRANSLATE_NOOP("gateway-sim", "unknown option %1"), opt));
        }
    }
    // Any of the network side's options switches it on.
    cfg.net.enabled = cfg.net.enabled || networkOption || cfg.net.refuse || cfg.net.stall || cfg.net.dropAfter > 0;
    return runSimulator(cfg);
}
