/*
 * Preloaded into Wine so that a pseudo-terminal can stand in for a COM port.
 *
 * Wine's serial layer waits for a port's events by polling the modem lines
 * (TIOCMGET) and the interrupt counters (TIOCGICOUNT). A pseudo-terminal has
 * neither, so every wait for received data is cancelled at once and the
 * serial library never hears of a reply. Here a pty slave answers those
 * requests as a three-wire null-modem cable would: DSR, CTS and DCD up, no
 * line errors counted. Every other request, and every other descriptor, goes
 * to the C library untouched.
 *
 * 32-bit glibc with 64-bit time (which Wine's i386 ntdll.so is built with)
 * calls __ioctl_time64 instead of ioctl, so both are wrapped.
 *
 * Faults, for the pseudo-terminal that the link PTYMODEM_FAULT_LINK points
 * to (a COM port's entry in the prefix's dosdevices) when it is opened:
 *   - PTYMODEM_FAULT_READ=N: its Nth read fails with EIO, the device
 *     staying;
 *   - once its other end has hung up, it behaves as the driver of a pulled
 *     USB adapter: the modem lines stay up, so the wait for data goes on,
 *     reads fail with EIO and writes with EACCES (Windows: access denied),
 *     and asking for the queues fails.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <linux/serial.h>
#include <stdarg.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

typedef int (*ioctl_fn)(int, unsigned long, ...);

/* Unix98 pty slaves: majors 136 to 143. */
static int is_pty_slave(int fd)
{
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return 0;
    return major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
}

/* Whether fd is the faulty pseudo-terminal (its device is the link's
 * target), decided once per descriptor and device: the link goes with the
 * device. */
static int is_faulty(int fd)
{
    static const char *link;
    static int configured = -1;
    static struct { dev_t device; int faulty; } seen[256];
    if (configured < 0) {
        link = getenv("PTYMODEM_FAULT_LINK");
        configured = link && *link;
    }
    struct stat st, target;
    if (!configured || fd < 0 || fd >= 256 || fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return 0;
    if (seen[fd].device != st.st_rdev) {
        seen[fd].faulty = stat(link, &target) == 0 && target.st_rdev == st.st_rdev;
        seen[fd].device = st.st_rdev;
    }
    return seen[fd].faulty;
}

static int hung_up(int fd)
{
    struct pollfd p = {fd, POLLIN, 0};
    return poll(&p, 1, 0) == 1 && (p.revents & POLLHUP);
}

static int modem_request(int fd, unsigned long request, void *arg)
{
    switch (request) {
    case TIOCMGET:
        *(int *)arg = TIOCM_DSR | TIOCM_CTS | TIOCM_CAR | TIOCM_DTR | TIOCM_RTS;
        return 0;
    case TIOCMSET:
    case TIOCMBIS:
    case TIOCMBIC:
        return 0;
    case TIOCGICOUNT:
        memset(arg, 0, sizeof(struct serial_icounter_struct));
        return 0;
    default:
        (void)fd;
        return -1;
    }
}

static int wrapped(const char *name, ioctl_fn *real, int fd, unsigned long request, void *arg)
{
    if (!*real)
        *real = (ioctl_fn)dlsym(RTLD_NEXT, name);
    if (!*real) {
        errno = ENOSYS;
        return -1;
    }
    int saved = errno;
    int r = (*real)(fd, request, arg);
    int e = errno;
    if (r == -1 && (e == ENOTTY || e == EINVAL || (e == EIO && is_faulty(fd))) && arg && is_pty_slave(fd)) {
        errno = saved;
        if (modem_request(fd, request, arg) == 0)
            return 0;
    }
    errno = e;
    return r;
}

int ioctl(int fd, unsigned long request, ...)
{
    static ioctl_fn real;
    va_list ap;
    va_start(ap, request);
    void *arg = va_arg(ap, void *);
    va_end(ap);
    return wrapped("ioctl", &real, fd, request, arg);
}

#if defined(__i386__)
int __ioctl_time64(int fd, unsigned long request, ...)
{
    static ioctl_fn real;
    va_list ap;
    va_start(ap, request);
    void *arg = va_arg(ap, void *);
    va_end(ap);
    return wrapped("__ioctl_time64", &real, fd, request, arg);
}
#endif

ssize_t read(int fd, void *buffer, size_t size)
{
    static ssize_t (*real)(int, void *, size_t);
    static int reads;
    if (!real)
        real = (ssize_t (*)(int, void *, size_t))dlsym(RTLD_NEXT, "read");
    if (is_faulty(fd)) {
        const char *nth = getenv("PTYMODEM_FAULT_READ");
        if (hung_up(fd) || (nth && __atomic_add_fetch(&reads, 1, __ATOMIC_SEQ_CST) == atoi(nth))) {
            errno = EIO;
            return -1;
        }
    }
    return real(fd, buffer, size);
}

ssize_t write(int fd, const void *buffer, size_t size)
{
    static ssize_t (*real)(int, const void *, size_t);
    if (!real)
        real = (ssize_t (*)(int, const void *, size_t))dlsym(RTLD_NEXT, "write");
    if (is_faulty(fd) && hung_up(fd)) {
        errno = EACCES;
        return -1;
    }
    return real(fd, buffer, size);
}
