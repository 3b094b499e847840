// This computer's usable IPv4 addresses and the one that reaches a given host.
#pragma once

#include <netinet/in.h>

#include <optional>
#include <string>
#include <vector>

namespace kxlf {

struct CAdapter {
  std::string address;  // dotted IPv4 address
  std::string mask;     // dotted subnet mask of that address
  int interfaceIndex = 0;
};

// Every IPv4 address (not 0.0.0.0) of an interface that is up, can broadcast and is of Ethernet
// type (wireless adapters report that type too), in the system's order; loopback never counts.
// False when the system gives no list.
bool ListAdapters(std::vector<CAdapter>& adapters);

// The index of the interface that the routing table picks for `host`; nothing when the host is
// no address or no route leads there. Sends nothing.
std::optional<int> BestInterfaceIndex(const std::string& host);

// The socket address of a strictly dotted IPv4 host and a port; nothing for any other text or
// a port outside 0-65535.
std::optional<sockaddr_in> SocketAddress(const std::string& host, int port);

}  // namespace kxlf
