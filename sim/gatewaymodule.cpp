#include "gatewaymodule.h"


#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include <unistd.h>

using proto::Param;

namespace {

int slot(Param p) { return static_cast<int>(p); }

// Canonical unsigned decimal: digits only, no sign, no blanks, no leading
// zero (except "0" itself), at most 9 digits.
bool parseDecimal(const std::string &s, long *out)
{
    if (s.empty() || s.size() > 9)
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    if (s.size() > 1 && s[0] == '0')
        return false;
    *out = std::stol(s);
    return true;
}

bool inRange(const std::string &s, long lo, long hi)
{
    long v = 0;
    return parseDecimal(s, &v) && v >= lo && v <= hi;
}

// Four canonical decimal octets 0-255 separated by dots, nothing else.
bool isIpv4(const std::string &s)
{
    int parts = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = s.find('.', start);
        const std::string part = s.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (!inRange(part, 0, 255))
            return false;
        ++parts;
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    return parts == 4;
}

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
    for (int i = 0; i < proto::ParamCount; ++i)
        values[i] = factoryValue(static_cast<Param>(i));
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
    bool ok = false;
    switch (p) {
    case Param::Version:
    case Param::Mac:
        return false; // read only
    case Param::Ip:
    case Param::Mask:
    case Param::Gateway:
    case Param::IpServerTcp:
        ok = isIpv4(v);
        break;
    case Param::PortTcp:
        ok = v == "502" || inRange(v, 10000, 65535);
        break;
    case Param::TimeoutResponse:
        ok = inRange(v, 100, 60000);
        break;
    case Param::TimeoutTcp:
        ok = inRange(v, 5, 240);
        break;
    case Param::RtuVirtualId:
        ok = inRange(v, 1, 247);
        break;
    case Param::TcpSlaveId:
        ok = v == proto::SlaveIdOff || inRange(v, 1, 255);
        break;
    case Param::Mode:
    case Param::Parity:
    case Param::Speed:
    case Param::StopBits:
        return choice(p, v, stored);
    }
    if (ok)
        *stored = v;
    return ok;
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
    for (int i = 0; i < proto::ParamCount; ++i)
        values[i] = factoryValue(static_cast<Param>(i));
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
