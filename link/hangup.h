#pragma once

#include <QSerialPort>
#include <QTimer>
#include <QtGlobal>

#include <utility>

namespace link {

// Whether the device behind an open descriptor has hung up: the other end
// of a pseudo-terminal closed, or a USB adapter was pulled. The serial
// library reports such a loss as the failure of a read or a write (on
// Windows as whatever the driver's error maps to), not as a lost device.
// The handle is the port's: a descriptor on Unix, a HANDLE on Windows.
bool deviceHungUp(qintptr handle);

// What an error that the serial library reports means for the link.
enum class Trouble {
    None,           // nothing to do
    Lost,           // the device is gone
    TransferFailed, // a read or write failed with the device still there
};
// A hung-up device shows up as failed reads or writes, on Windows with
// whatever error the driver gives; it is lost all the same. After a failed
// transfer the serial library goes on polling on Unix, but on Windows it
// neither reads nor writes any more until the port is opened again.
Trouble troubleOf(QSerialPort::SerialPortError error, const QSerialPort &port);

// Runs `step` (which closes the port) once the port's own call has returned.
// Windows reports a failed read from inside readAll(): closing the port there
// pulls its buffer from under that read (a crash). Elsewhere the port reports
// from its notifier, after its buffer work, and `step` runs at once.
template <typename Step>
void afterPortCall(QObject *context, Step step)
{
#ifdef Q_OS_WIN
    QTimer::singleShot(0, context, std::move(step));
#else
    Q_UNUSED(context);
    step();
#endif
}

} // namespace link
