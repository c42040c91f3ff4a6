#include "support/peers/LoopbackPorts.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Binds a socket of the type to the port (0: any); returns the port bound, or 0.
quint16 bindable(int type, quint16 port)
{
    const int fd = ::socket(AF_INET, type, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    quint16 bound = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        bound = ntohs(address.sin_port);
    ::close(fd);
    return bound;
}

} // namespace

quint16 LoopbackPorts::Free(int count)
{
    for (int attempt = 0; attempt < 200; ++attempt) {
        const quint16 first = bindable(SOCK_DGRAM, 0);
        if (first == 0 || first > 65535 - count)
            continue;
        bool allFree = true;
        for (int i = 0; i < count && allFree; ++i)
            allFree = bindable(SOCK_DGRAM, first + i) && bindable(SOCK_STREAM, first + i);
        if (allFree)
            return first;
    }
    return 0;
}
