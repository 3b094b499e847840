#include "sdk_app.h"

#include <algorithm>

#include "kxlf.h"
#include "link/error_codes.h"
#include "link/reader_identity.h"
#include "transport/port_name.h"

namespace kxlf {
namespace {

// The version answer comes at once from every reader of the family; a longer caller timeout
// would only slow down the search for the right frame mode.
constexpr int kIdentificationTimeoutMs = 300;
constexpr size_t kWriteQueueSize = 512;
constexpr int kDataBits = 8;
// The control report's value after opening a HID reader and before closing it.
constexpr uint8_t kHidControlOpened = 0;
constexpr uint8_t kHidControlClosing = 1;
constexpr int kErrHidControlReport = -18;

}  // namespace

int Connection::Handle() const {
  if (serialHandle != 0)
    return serialHandle;
  if (lanHandle != 0)
    return lanHandle;
  return port.Hid().IsOpen() ? hidHandle : 0;
}

CKX_LF_SDKApp& CKX_LF_SDKApp::Instance() {
  static CKX_LF_SDKApp app;
  return app;
}

CKX_LF_SDKApp::CKX_LF_SDKApp() {
  hidapi_.Bind();
  SetBoundHidapi(&hidapi_);
}

CKX_LF_SDKApp::~CKX_LF_SDKApp() {
  std::vector<std::shared_ptr<Connection>> left;
  {
    std::lock_guard<std::mutex> lock(registryMutex_);
    left.swap(registry_);
  }
  for (const auto& connection : left)
    CloseTransport(*connection);
  SetBoundHidapi(nullptr);
  hidapi_.Release();
}

int CKX_LF_SDKApp::Open(const char* portName, int baudRate, int options, int timeoutMs) {
  if (portName == nullptr)
    return -1;
  const std::string text = portName;
  baudRate = EffectiveBaudRate(text, baudRate);
  std::lock_guard<std::mutex> openLock(openMutex_);
  const PortAddress address = SplitDeviceAddress(text);
  if (timeoutMs < 0)
    return -5;
  const PortKind kind = ClassifyPortName(address.name);

  for (int attempt = 0; attempt < 2; ++attempt) {
    auto connection = std::make_shared<Connection>();
    CKX_RW_Port& port = connection->port;
    port.SetKeepWindowEnabled((options & KXLF_OPEN_KEEP_WINDOW_ENABLED) != 0);
    port.SetTimeout(static_cast<uint32_t>(timeoutMs));
    port.SetDeviceAddress(address.deviceAddress);
    if (kind == PortKind::kHid) {
      const int failure = OpenHid(*connection, address.name);
      if (failure != 0) {
        CloseTransport(*connection);
        return failure;
      }
    } else {
      const bool opened = kind == PortKind::kLan
                              ? OpenLan(*connection, address.name)
                              : OpenSerial(*connection, address.name, baudRate, options);
      if (!opened) {
        CloseTransport(*connection);
        return -1;
      }
    }
    RegisterConnection(connection);

    // A reader that does not answer at first gets a complete reopen; only then the CRC
    // frame mode is tried, since most readers speak the XOR mode.
    const bool crcTrial = attempt == 1 && (options & KXLF_OPEN_NO_CRC_MODE_TRIAL) == 0;
    Bytes version;
    if (Identify(*connection, timeoutMs, crcTrial, version)) {
      const ReaderIdentity identity = EvaluateVersionAnswer(version);
      port.SetIdentity(identity.typeCode, identity.versionValue);
      port.SetCapabilityWord(identity.capabilityWord);
      return connection->Handle();
    }
    port.SetIdentity(0, 0);
    port.SetCapabilityWord(0);
    UnregisterConnection(connection);
    CloseTransport(*connection);
  }
  return -kErrNoReader;
}

bool CKX_LF_SDKApp::OpenSerial(Connection& connection, const std::string& name, int baudRate,
                               int options) {
  const SerialFormat format = SerialFormatFromOptions(options);
  CKX_RW_Port& port = connection.port;
  if (!port.OpenPort(name, baudRate, format.parity, kDataBits, format.stopBits, kWriteQueueSize))
    return false;
  if (!port.StartWorker())
    return false;
  std::lock_guard<std::mutex> lock(registryMutex_);
  connection.serialHandle = serialHandles_.Take();
  return true;
}

bool CKX_LF_SDKApp::OpenLan(Connection& connection, const std::string& name) {
  if (!connection.port.Lan().OpenLan(name))
    return false;
  std::lock_guard<std::mutex> lock(registryMutex_);
  connection.lanHandle = lanHandles_.Take();
  return true;
}

int CKX_LF_SDKApp::OpenHid(Connection& connection, const std::string& name) {
  CHidDevice& hid = connection.port.Hid();
  if (!hid.OpenHidDevice(name))
    return -1;
  {
    std::lock_guard<std::mutex> lock(registryMutex_);
    // A device closed by a read error has given its number up, even while its connection waits
    // in the registry for the lookup that drops it.
    for (const auto& registered : registry_) {
      if (registered->hidHandle != 0 && registered->Handle() == 0) {
        hidHandles_.GiveBack(registered->hidHandle);
        registered->hidHandle = 0;
      }
    }
    connection.hidHandle = hidHandles_.Take();
  }
  if (!hid.SendControlReport(kHidControlOpened)) {
    // Closed without the closing report: the reader never heard of the opening one.
    hid.CloseHidDevice();
    return kErrHidControlReport;
  }
  return 0;
}

bool CKX_LF_SDKApp::Identify(Connection& connection, int timeoutMs, bool crcTrial, Bytes& version) {
  CKX_RW_Port& port = connection.port;
  port.SetTimeout(static_cast<uint32_t>(std::min(timeoutMs, kIdentificationTimeoutMs)));
  port.SetMode(FrameMode::kXor);
  bool answered = port.Execute(kVersionCommand, {}, version);
  if (!answered && crcTrial) {
    port.SetMode(FrameMode::kCrc16);
    answered = port.Execute(kVersionCommand, {}, version);
    if (!answered)
      port.SetMode(FrameMode::kXor);
  }
  port.SetTimeout(static_cast<uint32_t>(timeoutMs));
  return answered;
}

void CKX_LF_SDKApp::CloseTransport(Connection& connection) {
  connection.port.ClosePort();
  connection.port.Lan().StopLan();
  CHidDevice& hid = connection.port.Hid();
  if (hid.IsOpen())
    hid.SendControlReport(kHidControlClosing);
  hid.CloseHidDevice();
  // Handles are read by registry walks on other threads.
  std::lock_guard<std::mutex> lock(registryMutex_);
  if (connection.serialHandle != 0) {
    serialHandles_.GiveBack(connection.serialHandle);
    connection.serialHandle = 0;
  }
  if (connection.lanHandle != 0) {
    lanHandles_.GiveBack(connection.lanHandle);
    connection.lanHandle = 0;
  }
  if (connection.hidHandle != 0) {
    hidHandles_.GiveBack(connection.hidHandle);
    connection.hidHandle = 0;
  }
}

int CKX_LF_SDKApp::Close(int handle) {
  std::shared_ptr<Connection> connection = FindConnection(handle);
  if (!connection)
    return -1;
  UnregisterConnection(connection);
  CloseTransport(*connection);
  return 0;
}

std::shared_ptr<Connection> CKX_LF_SDKApp::FindConnection(int handle) {
  if (handle <= 0)
    return nullptr;
  std::lock_guard<std::mutex> lock(registryMutex_);
  for (auto it = registry_.begin(); it != registry_.end();) {
    const int current = (*it)->Handle();
    if (current == handle)
      return *it;
    if (current == 0) {
      // A HID device closed by a read error still holds its number.
      if ((*it)->hidHandle != 0) {
        hidHandles_.GiveBack((*it)->hidHandle);
        (*it)->hidHandle = 0;
      }
      it = registry_.erase(it);
      continue;
    }
    ++it;
  }
  return nullptr;
}

void CKX_LF_SDKApp::RegisterConnection(const std::shared_ptr<Connection>& connection) {
  std::lock_guard<std::mutex> lock(registryMutex_);
  registry_.push_back(connection);
}

void CKX_LF_SDKApp::UnregisterConnection(const std::shared_ptr<Connection>& connection) {
  std::lock_guard<std::mutex> lock(registryMutex_);
  registry_.erase(std::remove(registry_.begin(), registry_.end(), connection), registry_.end());
}

size_t CKX_LF_SDKApp::ConnectionCount() {
  std::lock_guard<std::mutex> lock(registryMutex_);
  return registry_.size();
}

}  // namespace kxlf
