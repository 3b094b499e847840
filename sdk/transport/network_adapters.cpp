#include "transport/network_adapters.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <map>

#include "transport/lan_address.h"

namespace kxlf {
namespace {

std::string Dotted(const sockaddr* address) {
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
  return text;
}

}  // namespace

bool ListAdapters(std::vector<CAdapter>& adapters) {
  adapters.clear();
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0)
    return false;
  // The link entries tell the hardware type; they come before the addresses of their interface.
  std::map<std::string, unsigned short> hardwareTypes;
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_PACKET) {
      hardwareTypes[entry->ifa_name] =
          reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr)->sll_hatype;
    }
  }
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
        entry->ifa_netmask == nullptr)
      continue;
    const unsigned flags = entry->ifa_flags;
    if ((flags & IFF_UP) == 0 || (flags & IFF_BROADCAST) == 0 || (flags & IFF_LOOPBACK) != 0)
      continue;
    const auto type = hardwareTypes.find(entry->ifa_name);
    if (type == hardwareTypes.end() || type->second != ARPHRD_ETHER)
      continue;
    const std::string address = Dotted(entry->ifa_addr);
    if (address == "0.0.0.0")
      continue;
    adapters.push_back(
        {address, Dotted(entry->ifa_netmask), static_cast<int>(if_nametoindex(entry->ifa_name))});
  }
  freeifaddrs(list);
  return true;
}

std::optional<sockaddr_in> SocketAddress(const std::string& host, int port) {
  const std::optional<Ipv4> address = ParseIpv4(host);
  if (!address || port < 0 || port > 65535)
    return std::nullopt;
  sockaddr_in result{};
  result.sin_family = AF_INET;
  result.sin_port = htons(static_cast<uint16_t>(port));
  std::memcpy(&result.sin_addr, address->data(), 4);
  return result;
}

std::optional<int> BestInterfaceIndex(const std::string& host) {
  // Any port does: the socket below only asks for a route.
  std::optional<sockaddr_in> target = SocketAddress(host, 9);
  if (!target)
    return std::nullopt;
  // A connected datagram socket only asks the routing table; nothing is sent.
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0)
    return std::nullopt;
  sockaddr_in local{};
  socklen_t size = sizeof local;
  const bool routed = connect(fd, reinterpret_cast<sockaddr*>(&*target), sizeof *target) == 0 &&
                      getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) == 0;
  close(fd);
  if (!routed)
    return std::nullopt;

  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0)
    return std::nullopt;
  std::optional<int> index;
  for (const ifaddrs* entry = list; entry != nullptr && !index; entry = entry->ifa_next) {
    if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET &&
        reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr ==
            local.sin_addr.s_addr)
      index = static_cast<int>(if_nametoindex(entry->ifa_name));
  }
  freeifaddrs(list);
  return index;
}

}  // namespace kxlf
