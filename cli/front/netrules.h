#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "modulevalues.h"

// Addresses that cannot work on a network, refused by gateway-cli before
// anything is sent (the window keeps only the form's rules: four octets).
// A value can be wrong on its own (an address no host may have, a mask with
// holes) or only beside the others (an address that is its subnet's
// broadcast address, a gateway outside the subnet); the second kind is
// judged on the values as they will stand after the write.
class NetRules
{
    Q_DECLARE_TR_FUNCTIONS(NetRules)

public:
    // An IPv4 address in four decimal octets, or false.
    static bool parse(const QString &text, quint32 *address);
    static QString format(quint32 address);
    // The length of a mask's prefix (0-32), or -1 when its ones are not
    // contiguous.
    static int prefixOf(quint32 mask);
    static quint32 maskOf(int prefix);

    // Why a value of `p` cannot work whatever the other values are, or an
    // empty text. Only ip, mask, gateway and ip_server_tcp have such rules;
    // `force` allows the masks /31 and /32.
    static QString ownFault(proto::Param p, const QString &value, bool force);
    // Why ip, mask and gateway cannot work together, a line each; only the
    // rules whose values are all present are judged.
    static QStringList jointFaults(const ModuleValues &values);
    // The parameters those rules also need where `values` hold some of ip,
    // mask and gateway but not all: a write reads them from the module
    // first and judges the values as they will stand before any change.
    static QList<proto::Param> neededToJudge(const ModuleValues &values);

    // The addresses of hosts in the subnet of `address` under `mask`: from
    // the first after the network address to the last before the broadcast
    // address (/31 and /32: the addresses themselves).
    struct Range {
        quint32 first = 0;
        quint32 last = 0;
    };
    static Range hosts(quint32 address, quint32 mask);
    // Up to `count` host addresses of that subnet from `first` on, in
    // order, `skip` (a gateway) left out: fewer where the subnet ends.
    static QList<quint32> hostsFrom(quint32 first, quint32 mask, quint32 skip, int count);
};
