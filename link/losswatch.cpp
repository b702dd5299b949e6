#include "losswatch.h"

#include <QTimer>

#include <utility>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <poll.h>
#elif defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

namespace {

// Whether the device behind an open handle (a descriptor on Unix, a HANDLE
// on Windows) has hung up.
bool deviceHungUp(qintptr handle)
{
#ifdef Q_OS_UNIX
    if (handle < 0)
        return false;
    pollfd pfd{};
    pfd.fd = int(handle);
    pfd.events = POLLIN;
    int r;
    do {
        r = ::poll(&pfd, 1, 0);
    } while (r < 0 && errno == EINTR);
    return r > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL));
#elif defined(Q_OS_WIN)
    // A removed adapter fails every request; asking for the line status
    // is one that a present device always answers.
    const HANDLE device = reinterpret_cast<HANDLE>(handle);
    if (device == nullptr || device == INVALID_HANDLE_VALUE)
        return false;
    DWORD errors = 0;
    COMSTAT status{};
    return !::ClearCommError(device, &errors, &status);
#else
    Q_UNUSED(handle);
    return false;
#endif
}

enum class Trouble {
    None,           // nothing to do
    Lost,           // the device is gone
    TransferFailed, // a read or write failed with the device still there
};

Trouble troubleOf(QSerialPort::SerialPortError error, const QSerialPort &port)
{
    switch (error) {
    case QSerialPort::NoError:
        return Trouble::None;
    case QSerialPort::ResourceError:
        return Trouble::Lost;
    default:
        break;
    }
    if (port.isOpen() && deviceHungUp(qintptr(port.handle())))
        return Trouble::Lost;
    const bool transfer = error == QSerialPort::ReadError || error == QSerialPort::WriteError
        || error == QSerialPort::UnknownError || error == QSerialPort::PermissionError;
    return transfer ? Trouble::TransferFailed : Trouble::None;
}

// Runs `step` once the port's own call has returned: on Windows from the
// event loop, elsewhere at once (the port reports from its notifier, after
// its buffer work).
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

} // namespace

LossWatch::LossWatch(QSerialPort *port, QObject *parent)
    : QObject(parent)
    , port(port)
{
}

void LossWatch::judge(QSerialPort::SerialPortError error)
{
    switch (troubleOf(error, *port)) {
    case Trouble::None:
        return;
    case Trouble::Lost:
        afterPortCall(this, [this, reason = port->errorString()] { emit lost(reason); });
        return;
    case Trouble::TransferFailed:
#ifdef Q_OS_WIN
        if (port->isOpen() && !reopenQueued) {
            reopenQueued = true;
            QTimer::singleShot(0, this, [this] {
                reopenQueued = false;
                if (port->isOpen())
                    emit reopenDue();
            });
        }
#endif
        return;
    }
}
