#include "stopsignals.h"

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t requested = 0;
int wakePipe[2] = {-1, -1};

void onSignal(int)
{
    requested = 1;
    const char c = 0;
    if (wakePipe[1] >= 0) {
        ssize_t n = ::write(wakePipe[1], &c, 1);
        (void)n;
    }
}

} // namespace

void catchStopSignals()
{
    if (::pipe(wakePipe) == 0) {
        ::fcntl(wakePipe[0], F_SETFD, FD_CLOEXEC);
        ::fcntl(wakePipe[1], F_SETFD, FD_CLOEXEC);
        ::fcntl(wakePipe[1], F_SETFL, O_NONBLOCK);
    }
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGHUP, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
}

bool stopRequested()
{
    return requested;
}

int stopWakeFd()
{
    return wakePipe[0];
}
