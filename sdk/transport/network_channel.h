// Reaching a reader's network module: the configuration channel's socket and the probe.
#pragma once

#include <string>

#include "transport/tcp_socket.h"

namespace kxlf {

// Resolves a bracketed name, then tries the adapters in turn until the reader answers the
// broadcast query from its own address. True with the socket left open in UDP mode on the
// adapter that reached it; false with the socket closed.
bool ReachNetworkModule(CTCPSocket& socket, const std::string& name);

}  // namespace kxlf
