#include "portlog.h"

#include <QMetaEnum>

Q_LOGGING_CATEGORY(lcLink, "gateway.link")

PortErrorLog::PortErrorLog(QSerialPort *port)
    : QObject(port)
    , port(port)
{
    connect(port, &QSerialPort::errorOccurred, this, &PortErrorLog::record);
}

PortErrorLog::~PortErrorLog()
{
    logRepeats();
}

void PortErrorLog::record(QSerialPort::SerialPortError error)
{
    // The port reports NoError each time it clears its error, at every open.
    if (error == QSerialPort::NoError)
        return;
    // The device's path on Unix, where the port's name drops "/dev/" from
    // it; COM3 on Windows.
    QString name = port->portName();
#ifndef Q_OS_WIN
    if (!name.startsWith(QLatin1Char('/')))
        name.prepend(QStringLiteral("/dev/"));
#endif
    const QString event = QStringLiteral("%1: error %2 (%3): %4")
                              .arg(name)
                              .arg(int(error))
                              .arg(QLatin1String(QMetaEnum::fromType<QSerialPort::SerialPortError>().valueToKey(error)),
                                   port->errorString());
    if (event == last) {
        ++repeats;
        return;
    }
    logRepeats();
    last = event;
    qCWarning(lcLink).noquote() << event;
}

void PortErrorLog::logRepeats()
{
    if (repeats > 0)
        qCWarning(lcLink).noquote() << last << QStringLiteral("(%1 more times)").arg(repeats);
    repeats = 0;
}
