// The SDK object's configuration channels: short-lived registered connections that talk to a
// reader's network module over UDP.
#include "sdk_app.h"
#include "transport/busy_guard.h"
#include "transport/network_channel.h"
#include "transport/port_name.h"

namespace kxlf {

int CKX_LF_SDKApp::OpenChannel(const std::string& name) {
  BusyGuard busy;
  auto connection = std::make_shared<Connection>();
  if (!ReachNetworkModule(connection->port.Lan().Socket(), SplitDeviceAddress(name).name))
    return -1;
  {
    std::lock_guard<std::mutex> lock(registryMutex_);
    connection->lanHandle = lanHandles_.Take();
  }
  RegisterConnection(connection);
  return connection->Handle();
}

void CKX_LF_SDKApp::CloseChannel(int handle, bool closing) {
  const std::shared_ptr<Connection> connection = FindConnection(handle);
  if (!connection)
    return;
  CTCPSocket& socket = connection->port.Lan().Socket();
  if (closing)
    socket.SendClosingCommand();
  socket.CloseUdp();
  UnregisterConnection(connection);
  CloseTransport(*connection);
}

}  // namespace kxlf
