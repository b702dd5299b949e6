#include "portnames.h"

#include <QSerialPortInfo>

namespace cli {

QString portArgument(const QSerialPortInfo &info)
{
#ifdef Q_OS_WIN
    return info.portName();
#else
    return info.systemLocation();
#endif
}

QStringList listedPorts()
{
    QStringList names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        names << portArgument(info);
    return names;
}

} // namespace cli
