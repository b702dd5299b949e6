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

typedef int (*ioctl_fn)(int, unsigned long, ...);

/* Unix98 pty slaves: majors 136 to 143. */
static int is_pty_slave(int fd)
{
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode))
        return 0;
    return major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
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
    if (r == -1 && (errno == ENOTTY || errno == EINVAL) && arg && is_pty_slave(fd)) {
        int e = errno;
        errno = saved;
        if (modem_request(fd, request, arg) == 0)
            return 0;
        errno = e;
    }
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
