#include "hangup.h"

#ifdef Q_OS_UNIX
#include <cerrno>
#include <poll.h>
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
#else
    Q_UNUSED(handle);
    return false;
#endif
}

} // namespace link
