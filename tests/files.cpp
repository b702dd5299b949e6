#include "files.h"

#include <QFile>

#include "setting_module.h"

namespace support {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

QStringList valuesOf(const setting_module &s)
{
    return {s.ipAddress,
            s.netMask,
            s.gateway,
            s.tcpPort,
            QString::number(s.rs485Speed),
            QString::number(s.stopBits),
            QString::number(s.parity),
            QString::number(s.tcpMode),
            s.responseTimeout,
            s.serverIp,
            s.tcpTimeout,
            s.rtuVirtualId,
            s.tcpSlaveId};
}

} // namespace support
