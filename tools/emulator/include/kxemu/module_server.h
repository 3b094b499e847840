// Puts a NetworkModule on UDP port 30718 and carries out its moves: a changed address moves the
// module (through the mover, which changes the interface's address) and the reader's TCP
// listener with it; a changed port moves the listener.
//
// Like the TCP server it lives in the network namespace of the thread that starts it. Run it
// only inside a namespace of its own: it answers broadcasts and, with a mover, changes the
// addresses of an interface.
#pragma once

#include <functional>
#include <string>
#include <thread>

#include "kxemu/network_module.h"
#include "kxemu/tcp_server.h"

namespace kxemu {

// Changes the module's interface from one address to another; false when it could not.
using AddressMover = std::function<bool(const ModuleMove& move)>;

// A mover for the interface `interface` of the calling namespace, with the ip program.
AddressMover InterfaceMover(const std::string& interface);

class ModuleServer {
 public:
  // `tcp` (may be null) is the reader's listener that follows the module's moves.
  ModuleServer(NetworkModule& module, TcpServer* tcp, AddressMover mover = {});
  ~ModuleServer();
  ModuleServer(const ModuleServer&) = delete;
  ModuleServer& operator=(const ModuleServer&) = delete;

  bool Start(std::string* error = nullptr);
  void Stop();

 private:
  void Serve();
  void Send(const std::string& to, uint16_t port, const Bytes& datagram, const std::string& from);
  void CarryOutMove();

  NetworkModule& module_;
  TcpServer* tcp_;
  AddressMover mover_;
  int socket_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  std::thread thread_;
};

}  // namespace kxemu
