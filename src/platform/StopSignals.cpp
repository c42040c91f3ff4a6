#include "platform/StopSignals.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <pthread.h>
#include <sys/signalfd.h>

namespace StopSignals {

int block()
{
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    if (pthread_sigmask(SIG_BLOCK, &stop, nullptr) != 0)
        return -1;
    return ::signalfd(-1, &stop, SFD_CLOEXEC);
}

bool wait(int descriptor, int milliseconds)
{
    pollfd fd{descriptor, POLLIN, 0};
    int rc;
    do {
        rc = ::poll(&fd, 1, milliseconds);
    } while (rc < 0 && errno == EINTR);
    return rc > 0;
}

} // namespace StopSignals
