#include "portnames.h"

#include <QHash>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include "command.h"
#include "portpath.h"

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

QString shownPort(const QString &name, const QString &device)
{
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    if (device.isEmpty() || name.compare(device, cs) == 0)
        return name;
    return tr("%1 (%2)").arg(name, device);
}

void checkPorts(const QStringList &ports, const QString &what, QStringList *faults)
{
    if (ports.isEmpty()) {
        *faults << tr("%1: no port named").arg(what);
        return;
    }
    QHash<QString, QString> seen; // device: the name it was first named by
    for (const QString &port : ports) {
        const QString device = PortPath::device(port);
        if (seen.contains(device))
            *faults << tr("%1: %2 and %3 are one device, %4; name each port once")
                           .arg(what, seen.value(device), port, device);
        else
            seen.insert(device, port);
    }
}

QString portKey(const QString &port)
{
    return PortPath::device(port);
}

QString macKey(const QString &mac)
{
    static const QRegularExpression form(QStringLiteral("^[0-9A-Fa-f]{2}([:-][0-9A-Fa-f]{2}){5}$"));
    if (!form.match(mac).hasMatch())
        return QString();
    QString key = mac.toUpper();
    key.replace(QLatin1Char('-'), QLatin1Char(':'));
    return key;
}

} // namespace cli
