#include "gatewaymodule.h"


#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

using proto::Param;

namespace {

int slot(Param p) { return static_cast<int>(p); }

// A choice value: one of the words of the universal or the per-variant
// write, stored as the reply word of the same index.
bool choice(Param p, const std::string &v, std::string *stored)
{
    int index = proto::choiceIndex(proto::universalWriteChoices(p), v.data(), v.size());
    if (index < 0)
        index = proto::choiceIndex(proto::variantWriteChoices(p), v.data(), v.size());
    if (index < 0)
        return false;
    const char *word = proto::choiceWordAt(proto::replyChoices(p), index);
    if (!word)
        return false;
    *stored = word;
    return true;
}

std::string lower(std::string s)
{
    for (char &c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

GatewayModule::GatewayModule() : GatewayModule(Options()) {}

GatewayModule::GatewayModule(Options options) : opts(std::move(options))
{
    setFactoryValues();
}

void GatewayModule::setFactoryValues()
{
    for (int i = 0; i < proto::ParamCount; ++i)
        values[i] = factoryValue(static_cast<Param>(i));
    if (!opts.mac.empty())
        values[slot(Param::Mac)] = opts.mac;
}

const char *GatewayModule::macAddress() { return proto::parameter(Param::Mac).factory; }
const char *GatewayModule::firmwareVersion() { return proto::parameter(Param::Version).factory; }

std::string GatewayModule::factoryValue(Param p) { return proto::parameter(p).factory; }

const char *GatewayModule::paramKey(Param p) { return proto::parameter(p).simName; }

bool GatewayModule::paramFromRefuseKey(const std::string &key, Param *p)
{
    for (const Param changeable : proto::order::write) {
        const std::string prefix = proto::parameter(changeable).change;
        if (key == prefix || key == prefix.substr(0, prefix.size() - 1) || lower(key) == paramKey(changeable)) {
            *p = changeable;
            return true;
        }
    }
    return false;
}

bool GatewayModule::validate(Param p, const std::string &v, std::string *stored)
{
    if (proto::kindOf(p) == proto::Kind::Choice)
        return choice(p, v, stored);
    // The module checks what the form's labels state: the rules of the table.
    if (!proto::valueAllowed(p, v.data(), v.size()))
        return false;
    *stored = v;
    return true;
}

std::string GatewayModule::value(Param p) const { return values[slot(p)]; }

bool GatewayModule::change(Param p, const std::string &wireValue)
{
    std::string stored;
    if (!validate(p, wireValue, &stored))
        return false;
    values[slot(p)] = stored;
    save();
    return true;
}

void GatewayModule::factoryReset()
{
    setFactoryValues();
    save();
}

GatewayModule::Result GatewayModule::handle(const std::string &line)
{
    Result r;
    if (const proto::Parameter *q = proto::findQuery(line.data(), line.size())) {
        r.kind = LineKind::Query;
        r.reply = std::string(q->query) + opts.separator + value(q->param) + "\r\n";
        return r;
    }
    if (line == proto::RebootUniversal || line == proto::Reboot) {
        r.kind = LineKind::Action;
        r.action = Action::Reboot;
        return r;
    }
    if (line == proto::FactoryReset) {
        r.kind = LineKind::Action;
        r.action = Action::FactoryReset;
        factoryReset();
        return r;
    }
    if (const proto::Parameter *c = proto::findChange(line.data(), line.size())) {
        r.kind = LineKind::Change;
        r.change = c;
        const std::string v = line.substr(std::strlen(c->change));
        r.accepted = !opts.refused.count(c->param) && change(c->param, v);
        r.reply = r.accepted ? opts.ack : std::string(proto::AckRefused);
        return r;
    }
    r.kind = LineKind::Unknown;
    r.reply = proto::AckRefused;
    return r;
}

bool GatewayModule::load()
{
    if (opts.statePath.empty())
        return false;
    std::ifstream in(opts.statePath);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq);
        const std::string val = line.substr(eq + 1);
        for (const Param p : proto::order::write) {
            if (key != paramKey(p))
                continue;
            // The file holds reply words ("server", "none"): accept those
            // as well as anything a change would take.
            const int index = proto::choiceIndex(proto::replyChoices(p), val.data(), val.size());
            std::string stored;
            if (index >= 0)
                values[slot(p)] = val;
            else if (validate(p, val, &stored))
                values[slot(p)] = stored;
        }
    }
    return true;
}

bool GatewayModule::save() const
{
    if (opts.statePath.empty())
        return false;
    const std::string tmp = opts.statePath + ".tmp." + std::to_string(::getpid());
    {
        std::ofstream out(tmp, std::ios::trunc);
        if (!out)
            return false;
        out << "# gateway-sim state: key=value, one per line\n";
        for (const Param p : proto::order::write)
            out << paramKey(p) << '=' << values[slot(p)] << '\n';
        out.flush();
        if (!out)
            return false;
    }
    return std::rename(tmp.c_str(), opts.statePath.c_str()) == 0;
}
