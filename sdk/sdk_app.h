// The SDK object: one per process. It owns every open connection, names each by a handle and
// opens connections by port name, identifying the reader on the way.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "handle_pool.h"
#include "link/rw_port.h"
#include "transport/hidapi_library.h"

namespace kxlf {

// A registered connection and the handles of its transports.
struct Connection {
  CKX_RW_Port port;
  int serialHandle = 0;
  int lanHandle = 0;
  int hidHandle = 0;

  // 0 once the connection has lost its transport (a HID device closes itself after a read error).
  int Handle() const;
};

class CKX_LF_SDKApp {
 public:
  static CKX_LF_SDKApp& Instance();

  // Binds hidapi for the process's HID readers.
  CKX_LF_SDKApp();
  // Connections left open at process end are closed here, then hidapi is released.
  ~CKX_LF_SDKApp();

  // Handle (> 0), or -1 (transport cannot be opened), -5 (negative timeout), -15 (no reader
  // answered in either frame mode), -18 (HID reader opened but its control report failed).
  int Open(const char* portName, int baudRate, int options, int timeoutMs);
  // 0, or -1 when no connection has the handle.
  int Close(int handle);

  // The connection with this handle, dropping connections that lost their transport on the
  // way. Shared, so that a connection closed from another thread stays alive for the call
  // that still holds it.
  std::shared_ptr<Connection> FindConnection(int handle);

  void RegisterConnection(const std::shared_ptr<Connection>& connection);
  void UnregisterConnection(const std::shared_ptr<Connection>& connection);

  size_t ConnectionCount();

  // A configuration channel to the network module of the reader `name`: a registered
  // connection with a LAN handle whose socket runs in UDP mode, without a socket thread.
  // The handle, or -1 when no adapter reaches the reader.
  int OpenChannel(const std::string& name);
  // Sends the closing command first when `closing` is set; nothing for an unknown handle.
  void CloseChannel(int handle, bool closing);

 private:
  // Opens the serial transport and takes a serial handle; false when the port cannot be opened.
  bool OpenSerial(Connection& connection, const std::string& name, int baudRate, int options);
  // Connects the LAN transport and takes a LAN handle; false when the reader cannot be reached.
  bool OpenLan(Connection& connection, const std::string& name);
  // Opens the HID device, takes a HID handle and sends control report 0. -1 when the device
  // cannot be opened, -18 when the report fails, else 0.
  int OpenHid(Connection& connection, const std::string& name);
  // Identification with the version command; false when the reader does not answer.
  bool Identify(Connection& connection, int timeoutMs, bool crcTrial, Bytes& version);
  void CloseTransport(Connection& connection);

  std::mutex registryMutex_;  // the registry and the handle pools
  std::mutex openMutex_;      // one open at a time
  std::vector<std::shared_ptr<Connection>> registry_;
  HandlePool serialHandles_{1};
  HandlePool hidHandles_{10001};
  HandlePool lanHandles_{20001};
  HidapiLibrary hidapi_;
};

}  // namespace kxlf
