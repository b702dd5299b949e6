// Fuzz target: the simulated module's command handling. The input is split
// at LF into command lines (each one handled exactly as received, CR and all)
// and fed to a fresh module in order, so that changes, queries, resets and
// garbage follow each other. Every reply is checked against the module's
// rules, every query reply also the way the configurator reads it, and the
// state at the end must survive a save and a load.

#include "fuzzcheck.h"
#include "gatewaymodule.h"
#include "lines.h"
#include "parameters.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

using proto::Param;

namespace {

bool isReplyWord(Param p, const std::string &v)
{
    return proto::choiceIndex(proto::replyChoices(p), v.data(), v.size()) >= 0;
}

// A stored value is always one that a query may report: a value a change
// takes, or a reply word of a choice.
void checkStored(const GatewayModule &m)
{
    for (const Param p : proto::order::write) {
        const std::string v = m.value(p);
        std::string stored;
        const bool ok = proto::kindOf(p) == proto::Kind::Choice ? isReplyWord(p, v)
                                                                : GatewayModule::validate(p, v, &stored) && stored == v;
        FUZZ_CHECK(ok, "a stored value is a valid reply value");
    }
    FUZZ_CHECK(m.value(Param::Version) == GatewayModule::firmwareVersion(), "the version is read only");
    FUZZ_CHECK(m.value(Param::Mac) == GatewayModule::macAddress(), "the MAC address is read only");
}

void handleLine(GatewayModule &m, const std::string &line)
{
    std::array<std::string, proto::ParamCount> before;
    for (int i = 0; i < proto::ParamCount; ++i)
        before[i] = m.value(Param(i));

    const GatewayModule::Result r = m.handle(line);
    switch (r.kind) {
    case GatewayModule::LineKind::Query: {
        const proto::Parameter *q = proto::findQuery(line.data(), line.size());
        FUZZ_CHECK(q && line == q->query, "a query is exactly a query keyword");
        const std::string echo = std::string(q->query) + m.options().separator;
        FUZZ_CHECK(r.reply.compare(0, echo.size(), echo) == 0, "a query reply starts with the keyword and separator");
        FUZZ_CHECK(r.reply.size() >= 2 && r.reply.compare(r.reply.size() - 2, 2, "\r\n") == 0,
                   "a query reply ends with CR LF");
        const std::string value = r.reply.substr(echo.size(), r.reply.size() - echo.size() - 2);
        FUZZ_CHECK(value == m.value(q->param), "a query reports the stored value");
        // The configurator reads the whole value back from the reply.
        const QString cut = proto::cutValue(proto::cleanReply(QByteArray::fromStdString(r.reply)), *q);
        FUZZ_CHECK(cut == QString::fromStdString(value), "the configurator cuts exactly the value from a reply");
        if (proto::kindOf(q->param) == proto::Kind::Choice)
            FUZZ_CHECK(proto::matchChoice(cut, proto::replyChoices(q->param)) >= 0,
                       "a reported choice is one of the configurator's words");
        FUZZ_CHECK(r.action == GatewayModule::Action::None, "a query does nothing else");
        break;
    }
    case GatewayModule::LineKind::Change: {
        FUZZ_CHECK(r.change && r.change == proto::findChange(line.data(), line.size()), "the change is the line's prefix");
        FUZZ_CHECK(r.reply == (r.accepted ? m.options().ack : std::string(proto::AckRefused)),
                   "a change is acknowledged or refused with \"?\"");
        const std::string wire = line.substr(std::strlen(r.change->change));
        std::string stored;
        const bool valid = GatewayModule::validate(r.change->param, wire, &stored);
        FUZZ_CHECK(r.accepted == valid, "a change is taken exactly when its value is valid");
        for (int i = 0; i < proto::ParamCount; ++i) {
            if (r.accepted && Param(i) == r.change->param)
                FUZZ_CHECK(m.value(Param(i)) == stored, "a taken change stores its value");
            else
                FUZZ_CHECK(m.value(Param(i)) == before[i], "a change touches no other parameter");
        }
        break;
    }
    case GatewayModule::LineKind::Action:
        FUZZ_CHECK(r.reply.empty(), "an action has no reply");
        FUZZ_CHECK(line == proto::RebootUniversal || line == proto::Reboot || line == proto::FactoryReset,
                   "an action is one of the action commands");
        if (r.action == GatewayModule::Action::FactoryReset) {
            for (int i = 0; i < proto::ParamCount; ++i)
                FUZZ_CHECK(m.value(Param(i)) == GatewayModule::factoryValue(Param(i)), "a factory reset restores all");
        } else {
            FUZZ_CHECK(r.action == GatewayModule::Action::Reboot, "a reboot command reboots");
        }
        break;
    case GatewayModule::LineKind::Unknown:
        FUZZ_CHECK(r.reply == proto::AckRefused, "an unknown line is answered with \"?\"");
        FUZZ_CHECK(r.action == GatewayModule::Action::None, "an unknown line does nothing");
        for (int i = 0; i < proto::ParamCount; ++i)
            FUZZ_CHECK(m.value(Param(i)) == before[i], "an unknown line changes nothing");
        break;
    }
    checkStored(m);
}

std::string statePath;
void removeStateFile()
{
    ::unlink(statePath.c_str());
    ::unlink((statePath + ".tmp." + std::to_string(::getpid())).c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // No state file while the lines run: nothing touches the disk per line.
    GatewayModule m;
    const std::string input(reinterpret_cast<const char *>(data), size);
    std::size_t start = 0;
    while (start <= input.size()) {
        const std::size_t lf = input.find('\n', start);
        const std::size_t end = lf == std::string::npos ? input.size() : lf;
        handleLine(m, input.substr(start, end - start));
        if (lf == std::string::npos)
            break;
        start = lf + 1;
    }

    // The state reached survives a save and a load into a new module.
    static const std::string path = [] {
        char name[] = "/tmp/fuzz_simcommand_state_XXXXXX";
        const int fd = ::mkstemp(name);
        FUZZ_CHECK(fd >= 0, "a temporary state file can be made");
        ::close(fd);
        statePath = name;
        std::atexit(removeStateFile);
        return std::string(name);
    }();
    m.options().statePath = path;
    FUZZ_CHECK(m.save(), "the state file is written");
    GatewayModule::Options o;
    o.statePath = path;
    GatewayModule reloaded(o);
    FUZZ_CHECK(reloaded.load(), "the state file is read");
    for (int i = 0; i < proto::ParamCount; ++i)
        FUZZ_CHECK(reloaded.value(Param(i)) == m.value(Param(i)), "a saved state loads back unchanged");
    return 0;
}
