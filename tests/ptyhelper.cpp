#include "ptyhelper.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyDevice::PtyDevice()
{
    fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return;
    if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
        ::close(fd);
        fd = -1;
        return;
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    path = QString::fromLocal8Bit(::ptsname(fd));
}

PtyDevice::~PtyDevice()
{
    hangUp();
}

bool PtyDevice::send(const QByteArray &bytes)
{
    qint64 done = 0;
    while (fd >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (QThread::currentThread() == QCoreApplication::instance()->thread()) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            } else {
                pollfd p{fd, POLLOUT, 0};
                ::poll(&p, 1, 50);
            }
        } else {
            return false;
        }
    }
    return fd >= 0;
}

QByteArray PtyDevice::drain()
{
    QByteArray out;
    char buf[4096];
    while (fd >= 0) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        out.append(buf, int(n));
    }
    return out;
}

QByteArray PtyDevice::receive(int atLeast, int ms)
{
    QByteArray out;
    QDeadlineTimer deadline(ms);
    while (out.size() < atLeast && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        out += drain();
        if (out.size() < atLeast)
            QThread::msleep(2);
    }
    return out;
}

void PtyDevice::hangUp()
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}
