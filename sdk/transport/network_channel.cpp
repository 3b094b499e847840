#include "transport/network_channel.h"

#include "transport/lan_address.h"

namespace kxlf {

bool ReachNetworkModule(CTCPSocket& socket, const std::string& name) {
  const std::string resolved =
      name.find('[') != std::string::npos ? socket.ResolveReaderName(name) : name;
  const std::string host = HostOfName(resolved);
  // A name that nobody answered to leaves no host that a module could answer from.
  if (host.empty())
    return false;
  if (socket.Adapters().empty())
    socket.GatherAdapters();
  if (!socket.FirstAdapter())
    return false;
  do {
    Bytes record;
    if (socket.OpenUdp(host) && socket.ReadRecord(0, true, record))
      return true;
    socket.CloseUdp();
  } while (socket.NextAdapter());
  return false;
}

}  // namespace kxlf
