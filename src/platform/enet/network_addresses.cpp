// The machine's IPv4 addresses and name lookup, for connecting and finding sessions.
#include "platform/net_transport.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>

#include <algorithm>

namespace quillon::platform {

std::optional<std::uint32_t> resolve_ipv4(std::string_view host)
{
    std::string name(host);
    in_addr literal {};
    if (inet_pton(AF_INET, name.c_str(), &literal) == 1)
        return literal.s_addr;
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || !found)
        return std::nullopt;
    std::uint32_t address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return address;
}

std::vector<std::uint32_t> broadcast_addresses()
{
    std::vector<std::uint32_t> addresses { htonl(INADDR_LOOPBACK) };
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return addresses;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !(entry->ifa_flags & IFF_UP)
            || !(entry->ifa_flags & IFF_BROADCAST) || !entry->ifa_broadaddr)
            continue;
        std::uint32_t address = reinterpret_cast<const sockaddr_in*>(entry->ifa_broadaddr)->sin_addr.s_addr;
        if (std::find(addresses.begin(), addresses.end(), address) == addresses.end())
            addresses.push_back(address);
    }
    freeifaddrs(list);
    return addresses;
}

std::string first_ipv4_address()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return {};
    std::string text;
    for (const ifaddrs* entry = list; entry && text.empty(); entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || (entry->ifa_flags & IFF_LOOPBACK))
            continue;
        text = dotted_decimal(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr);
    }
    freeifaddrs(list);
    return text;
}

std::string dotted_decimal(std::uint32_t ipv4)
{
    char text[INET_ADDRSTRLEN] = {};
    in_addr address {};
    address.s_addr = ipv4;
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

} // namespace quillon::platform
