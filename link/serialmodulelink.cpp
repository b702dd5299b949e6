#include "serialmodulelink.h"

#include "losswatch.h"

SerialModuleLink::SerialModuleLink(const QString &portName, QObject *parent)
    : ModuleLink(parent)
    , portName(portName)
    , watch(new LossWatch(&port, this))
{
    port.setPortName(portName);
    connect(&port, &QSerialPort::errorOccurred, watch, &LossWatch::judge);
    connect(watch, &LossWatch::lost, this, [this](const QString &reason) {
        if (port.isOpen())
            emit lost(reason);
    });
    connect(watch, &LossWatch::reopenDue, this, &SerialModuleLink::reopen);
}

bool SerialModuleLink::open(OpenFault *fault, QString *reason)
{
    if (port.open(QIODevice::ReadWrite))
        return true;
    *fault = port.error() == QSerialPort::DeviceNotFoundError ? OpenFault::Missing : OpenFault::Busy;
    *reason = port.errorString();
    return false;
}

void SerialModuleLink::reopen()
{
    port.close();
    // The device did not take the port back: it is lost after all.
    if (!port.open(QIODevice::ReadWrite))
        emit lost(port.errorString());
}
