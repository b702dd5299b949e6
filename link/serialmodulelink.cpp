#include "serialmodulelink.h"

#include "losswatch.h"
#include "portpath.h"

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#elif defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

SerialModuleLink::SerialModuleLink(const QString &portName, QObject *parent)
    : ModuleLink(parent)
    , portName(portName)
    , resolved(PortPath::device(portName))
    , watch(new LossWatch(&port, this))
{
    connect(&port, &QSerialPort::errorOccurred, watch, &LossWatch::judge);
    connect(watch, &LossWatch::lost, this, [this](const QString &reason) {
        if (port.isOpen())
            emit lost(reason);
    });
    connect(watch, &LossWatch::reopenDue, this, &SerialModuleLink::reopen);
}

bool SerialModuleLink::open(OpenFault *fault, QString *reason)
{
    // The name the user gave, resolved now: behind a link the device may be
    // another one than at the last open. The device is opened by its own
    // path, so that the serial library's lock file (LCK..ttyUSB0 in
    // /var/lock, a folder every user can write, as other serial programs
    // lock it) is named after the device, whatever name it was reached by:
    // a second program on it gets a busy port. The kernel's exclusive mode
    // does the same for every user but root.
    resolved = PortPath::device(portName);
    port.setPortName(resolved);
    if (port.open(QIODevice::ReadWrite))
        return true;
    const QSerialPort::SerialPortError error = port.error();
    if (error == QSerialPort::DeviceNotFoundError)
        *fault = OpenFault::Missing;
    else if (error == QSerialPort::UnsupportedOperationError || PortPath::notADevice(portName))
        *fault = OpenFault::NotSerial; // a terminal's own requests refused, or a folder
    else
        *fault = OpenFault::Busy;
    *reason = port.errorString();
    return false;
}

bool SerialModuleLink::drained()
{
    if (!port.isOpen())
        return true;
    if (port.bytesToWrite() > 0)
        return false;
#ifdef Q_OS_UNIX
    int queued = 0;
    if (::ioctl(int(port.handle()), TIOCOUTQ, &queued) == 0)
        return queued == 0;
#elif defined(Q_OS_WIN)
    DWORD errors = 0;
    COMSTAT status{};
    if (::ClearCommError(reinterpret_cast<HANDLE>(port.handle()), &errors, &status))
        return status.cbOutQue == 0;
#endif
    return true;
}

void SerialModuleLink::reopen()
{
    port.close();
    // The device did not take the port back: it is lost after all.
    if (!port.open(QIODevice::ReadWrite))
        emit lost(port.errorString());
}
