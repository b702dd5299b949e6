#include "netrules.h"

namespace {

using proto::Param;

bool inBlock(quint32 address, quint32 block, int prefix)
{
    return (address & NetRules::maskOf(prefix)) == block;
}

} // namespace

bool NetRules::parse(const QString &text, quint32 *address)
{
    const QStringList octets = text.split(QLatin1Char('.'));
    if (octets.size() != 4)
        return false;
    quint32 a = 0;
    for (const QString &octet : octets) {
        bool ok = false;
        const uint v = octet.toUInt(&ok);
        if (!ok || v > 255 || octet.isEmpty() || !octet.at(0).isDigit())
            return false;
        a = (a << 8) | v;
    }
    *address = a;
    return true;
}

QString NetRules::format(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xff)
        .arg((address >> 8) & 0xff)
        .arg(address & 0xff);
}

int NetRules::prefixOf(quint32 mask)
{
    const quint32 hostPart = ~mask;
    // The host part's ones must be a run from bit 0: one less than a power of two.
    if (hostPart & (hostPart + 1))
        return -1;
    int prefix = 32;
    for (quint32 h = hostPart; h; h >>= 1)
        --prefix;
    return prefix;
}

quint32 NetRules::maskOf(int prefix)
{
    return prefix <= 0 ? 0 : quint32(0xffffffffu << (32 - prefix));
}

QString NetRules::ownFault(Param p, const QString &value, bool force)
{
    quint32 a = 0;
    if (!parse(value, &a))
        return QString(); // the form's own rule says what is wrong with it
    if (p == Param::Mask) {
        const int prefix = prefixOf(a);
        if (prefix < 0)
            return tr("the ones of a mask must be contiguous from the left (255.255.255.0 is /24), "
                      "%1 has holes").arg(value);
        if (prefix == 0)
            return tr("the mask /0 makes every address local: no subnet");
        if (prefix > 30 && !force)
            return tr("the mask /%1 leaves no address for another host on the subnet "
                      "(/1 to /30; /31 and /32 only with --force)").arg(prefix);
        return QString();
    }
    if (p != Param::Ip && p != Param::Gateway && p != Param::IpServerTcp)
        return QString();
    if (p == Param::Gateway && a == 0)
        return QString(); // no gateway
    if (a == 0xffffffffu)
        return tr("255.255.255.255 is the broadcast address of every network, no host's address");
    if (inBlock(a, 0, 8))
        return tr("%1 is in 0.0.0.0/8, \"this network\": no host's address").arg(value);
    if (inBlock(a, 0x7f000000, 8))
        return tr("%1 is in 127.0.0.0/8, a PC's own loopback: no other host reaches it").arg(value);
    if (inBlock(a, 0xe0000000, 4))
        return tr("%1 is a multicast address (224.0.0.0 to 239.255.255.255): no host's address").arg(value);
    return QString();
}

QStringList NetRules::jointFaults(const ModuleValues &values)
{
    QStringList faults;
    quint32 ip = 0, mask = 0, gateway = 0;
    const bool hasIp = values.has(Param::Ip) && parse(values.value(Param::Ip), &ip);
    const bool hasMask = values.has(Param::Mask) && parse(values.value(Param::Mask), &mask);
    const bool hasGateway = values.has(Param::Gateway) && parse(values.value(Param::Gateway), &gateway);
    const int prefix = hasMask ? prefixOf(mask) : -1;
    if (prefix < 1)
        return faults; // no subnet to judge by (the mask's own fault is said)
    const QString subnet = QStringLiteral("%1/%2").arg(format(ip & mask)).arg(prefix);
    // The network and broadcast addresses of a subnet that has hosts besides them.
    const auto edgeOf = [&](quint32 a) -> QString {
        if (prefix > 30)
            return QString();
        if ((a & ~mask) == 0)
            return tr("the network address of %1 (its host part is all zeros)");
        if ((a & ~mask) == ~mask)
            return tr("the broadcast address of %1 (its host part is all ones)");
        return QString();
    };
    if (hasIp) {
        const QString edge = edgeOf(ip);
        if (!edge.isEmpty())
            faults << tr("ip=%1: %2").arg(format(ip), edge.arg(subnet));
    }
    if (hasIp && hasGateway && gateway != 0) {
        if ((gateway & mask) != (ip & mask))
            faults << tr("gateway=%1: outside the module's subnet %2 (ip %3, mask %4): the module cannot reach it")
                          .arg(format(gateway), subnet, format(ip), format(mask));
        else if (gateway == ip)
            faults << tr("gateway=%1: the module's own address").arg(format(gateway));
        else if (!edgeOf(gateway).isEmpty())
            faults << tr("gateway=%1: %2").arg(format(gateway), edgeOf(gateway).arg(subnet));
    }
    return faults;
}

QList<Param> NetRules::neededToJudge(const ModuleValues &values)
{
    QList<Param> given, missing;
    for (const Param p : {Param::Ip, Param::Mask, Param::Gateway})
        (values.has(p) ? given : missing) << p;
    return given.isEmpty() ? QList<Param>() : missing;
}

NetRules::Range NetRules::hosts(quint32 address, quint32 mask)
{
    const quint32 network = address & mask;
    const quint32 broadcast = network | ~mask;
    if (prefixOf(mask) > 30)
        return {network, broadcast};
    return {network + 1, broadcast - 1};
}

QList<quint32> NetRules::hostsFrom(quint32 first, quint32 mask, quint32 skip, int count)
{
    const Range range = hosts(first, mask);
    QList<quint32> out;
    // Counted in 64 bits: the last host may be 255.255.255.254.
    for (quint64 a = qMax(first, range.first); a <= range.last && out.size() < count; ++a)
        if (a != skip)
            out << quint32(a);
    return out;
}
