// gateway-sim: the simulated gateway module on a pseudo-terminal.
// Options and formats: see README.md in this directory.
#include "language.h"
#include "persontext.h"
#include "ptyloop.h"
#include "simoptions.h"

#include <QCoreApplication>

#include <clocale>
#include <cstdio>
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

int fail(const std::string &msg)
{
    std::fprintf(stderr, "gateway-sim: %s\n%s", msg.c_str(), usage().c_str());
    return 2;
}

// The arguments without --lang, once the language gateway-sim speaks is
// chosen (language.h); false with `fault` set.
bool chooseLanguage(std::vector<std::string> *args, std::string *fault)
{
    QString languageFault;
    for (const QString &a :
         language::choose(QStringLiteral("gateway-sim"), QCoreApplication::arguments(), &languageFault))
        args->push_back(a.toLocal8Bit().toStdString());
    if (languageFault.isEmpty())
        return true;
    *fault = personText(languageFault);
    return false;
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
    std::vector<std::string> args;
    std::string fault;
    if (!chooseLanguage(&args, &fault))
        return fail(fault);
    SimConfig cfg;
    bool help = false;
    if (!parseOptions(args, &cfg, &help, &fault))
        return fail(fault);
    if (help) {
        std::fputs(usage().c_str(), stdout);
        return 0;
    }
    return runSimulator(cfg);
}
