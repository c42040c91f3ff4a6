#include "platform/net/HostLookup.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

namespace {

bool isLoopback(quint32 address)
{
    return (address >> 24) == 127;
}

std::optional<quint32> firstInterfaceAddress()
{
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return std::nullopt;
    std::optional<quint32> found;
    for (ifaddrs* entry = list; entry && !found; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !(entry->ifa_flags & IFF_UP))
            continue;
        const quint32 address = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr);
        if (!isLoopback(address))
            found = address;
    }
    ::freeifaddrs(list);
    return found;
}

} // namespace

std::optional<quint32> ResolveHost(const QByteArray& name)
{
    if (name.isEmpty() || name.contains('\0'))
        return std::nullopt;
    in_addr parsed{};
    if (::inet_pton(AF_INET, name.constData(), &parsed) == 1)
        return ntohl(parsed.s_addr);

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* result = nullptr;
    if (::getaddrinfo(name.constData(), nullptr, &hints, &result) != 0 || !result)
        return std::nullopt;
    const quint32 address = ntohl(reinterpret_cast<const sockaddr_in*>(result->ai_addr)->sin_addr.s_addr);
    ::freeaddrinfo(result);
    return address;
}

QByteArray LocalHostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        return QByteArrayLiteral("localhost");
    return QByteArray(name);
}

std::optional<quint32> LocalAddress()
{
    const std::optional<quint32> byName = ResolveHost(LocalHostName());
    if (byName && !isLoopback(*byName))
        return byName;
    if (const std::optional<quint32> byInterface = firstInterfaceAddress())
        return byInterface;
    return byName;
}
