#include "ptydevice.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

PtyDevice::PtyDevice(const std::string &linkPath, int gapMs, SimLog &log)
    : linkPath(linkPath)
    , gap(gapMs)
    , log(log)
{
}

bool PtyDevice::open()
{
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        log(std::string("ERROR posix_openpt: ") + std::strerror(errno));
        if (master >= 0)
            ::close(master);
        master = -1;
        return false;
    }
    const char *name = ::ptsname(master);
    slavePath = name ? name : "";
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);

    termios t{};
    if (::tcgetattr(master, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(master, TCSANOW, &t);
    }
    openSlave();
    buffer.clear();
    updateLink();
    std::printf("gateway-sim: %s\n", slavePath.c_str());
    std::fflush(stdout);
    return true;
}

// The slave's line discipline must neither echo nor translate CR/LF. The
// slave stays open here so that the master never reports a hang-up while
// no client holds the port.
void PtyDevice::openSlave()
{
    termios t{};
    slave = ::open(slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave >= 0 && ::tcgetattr(slave, &t) == 0) {
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, B9600);
        ::cfsetospeed(&t, B9600);
        ::tcsetattr(slave, TCSANOW, &t);
        termios check{};
        if (::tcgetattr(slave, &check) != 0 || (check.c_lflag & (ECHO | ICANON)) || (check.c_iflag & (ICRNL | INLCR))
            || (check.c_oflag & OPOST))
            log("ERROR slave not raw");
    } else {
        log(std::string("ERROR open slave: ") + std::strerror(errno));
    }
}

void PtyDevice::updateLink()
{
    if (linkPath.empty())
        return;
    const std::string tmp = linkPath + ".tmp." + std::to_string(::getpid());
    ::unlink(tmp.c_str());
    if (::symlink(slavePath.c_str(), tmp.c_str()) != 0 || ::rename(tmp.c_str(), linkPath.c_str()) != 0) {
        log(std::string("ERROR link: ") + std::strerror(errno));
        ::unlink(tmp.c_str());
    }
}

void PtyDevice::removeLink()
{
    if (!linkPath.empty())
        ::unlink(linkPath.c_str());
}

void PtyDevice::close()
{
    if (slave >= 0)
        ::close(slave);
    if (master >= 0)
        ::close(master);
    slave = master = -1;
    buffer.clear();
}

void PtyDevice::read(short revents)
{
    if (!(revents & (POLLIN | POLLHUP | POLLERR)))
        return;
    char chunk[4096];
    const ssize_t got = ::read(master, chunk, sizeof chunk);
    if (got > 0) {
        buffer.append(chunk, std::size_t(got));
        lastByte = Clock::now();
    } else if (revents & (POLLHUP | POLLERR)) {
        ::usleep(10000); // no reader on the slave side; don't spin
    }
}

bool PtyDevice::commandEnds(Clock::time_point *at) const
{
    if (buffer.empty())
        return false;
    *at = lastByte + gap;
    return true;
}

bool PtyDevice::takeCommand(std::string *command)
{
    if (buffer.empty() || Clock::now() - lastByte < gap)
        return false;
    *command = buffer;
    buffer.clear();
    return true;
}

void PtyDevice::write(const std::string &bytes)
{
    if (master < 0 || bytes.empty())
        return;
    log("TX \"" + escapeBytes(bytes) + "\"");
    std::size_t done = 0;
    int tries = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += std::size_t(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR) && ++tries < 100) {
            pollfd p{master, POLLOUT, 0};
            ::poll(&p, 1, 10);
        } else {
            log(std::string("ERROR write: ") + std::strerror(errno));
            return;
        }
    }
}

bool PtyDevice::unread(int *count) const
{
    *count = 0;
    return slave >= 0 && ::ioctl(slave, TIOCINQ, count) == 0;
}
