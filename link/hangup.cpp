#include "hangup.h"

#ifdef Q_OS_UNIX
#include <cerrno>
#include <poll.h>
#elif defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

namespace link {

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

} // namespace link
