// The SDK's C entry points. Each finds its connection, checks its arguments, runs the
// operation and copies the result into the caller's buffer only when everything succeeded.
#include <algorithm>
#include <cstring>
#include <vector>

#include "kxlf.h"
#include "link/error_codes.h"
#include "link/reader_commands.h"
#include "link/reader_identity.h"
#include "link/transponder_operations.h"
#include "link/wait_hooks.h"
#include "network_configuration.h"
#include "sdk_app.h"
#include "transport/ftd2xx_port.h"
#include "transport/port_name.h"
#include "transport/string_list.h"
#include "transport/usb_drivers.h"

namespace kxlf {
namespace {

CKX_LF_SDKApp& Sdk() {
  return CKX_LF_SDKApp::Instance();
}

// Runs `body` on the connection's port; `missing` when no connection has the handle.
template <typename Body>
int WithPort(int handle, int missing, Body body) {
  const std::shared_ptr<Connection> connection = Sdk().FindConnection(handle);
  if (!connection)
    return missing;
  return body(connection->port);
}

int Fail(CKX_RW_Port& port, int code) {
  port.StoreError(code);
  return -1;
}

// Copies a payload into a caller buffer of `capacity` bytes (a null buffer holds nothing).
int DeliverPayload(CKX_RW_Port& port, const Bytes& payload, unsigned char* buffer, int capacity) {
  if (buffer == nullptr)
    capacity = 0;
  if (static_cast<long>(payload.size()) > static_cast<long>(capacity))
    return Fail(port, kErrBufferTooSmall);
  std::copy(payload.begin(), payload.end(), buffer);
  return static_cast<int>(payload.size());
}

bool ValidBlockType(int typeAndOptions) {
  const int type = typeAndOptions & 0xFF;
  return type >= 1 && type <= 39;
}

constexpr int kFrequencyAttempts = 3;

uint8_t Low(int value) {
  return static_cast<uint8_t>(value & 0xFF);
}

}  // namespace
}  // namespace kxlf

using namespace kxlf;

extern "C" {

int KxLfOpen(const char* portName, int baudRate, int options, int timeoutMs) {
  return Sdk().Open(portName, baudRate, options, timeoutMs);
}

int KxLfClose(int handle) {
  return Sdk().Close(handle);
}

int KxLfGetLastError(int handle) {
  return WithPort(handle, kErrNoConnection, [](CKX_RW_Port& port) { return port.ErrorCode(); });
}

int KxLfSetKeepWindowEnabled(int handle, int keepEnabled) {
  return WithPort(handle, -1, [keepEnabled](CKX_RW_Port& port) {
    port.SetKeepWindowEnabled(keepEnabled != 0);
    return 1;
  });
}

int KxLfIsUsbConnection(int handle) {
  const std::shared_ptr<Connection> connection = Sdk().FindConnection(handle);
  if (!connection)
    return -1;
  if (connection->hidHandle != 0)
    return 1;
  return connection->port.IsFtdiMode() ? 1 : 0;
}

int KxLfGetVersion(int handle, unsigned char* version, int versionSize, char* modelName,
                   int modelNameSize) {
  return WithPort(handle, -1, [&](CKX_RW_Port& port) {
    Bytes payload;
    if (!port.Execute(kVersionCommand, {}, payload))
      return -1;
    const int delivered = DeliverPayload(port, payload, version, versionSize);
    if (delivered < 0)
      return -1;
    const std::string name = ModelName(payload);
    if (modelName != nullptr && modelNameSize > static_cast<int>(name.size())) {
      std::memset(modelName, 0, static_cast<size_t>(modelNameSize));
      std::memcpy(modelName, name.data(), name.size());
    }
    return delivered;
  });
}

int KxLfSetReaderMode(int handle, int mode) {
  return WithPort(handle, -1, [mode](CKX_RW_Port& port) {
    if (!IsReaderMode(mode))
      return Fail(port, kErrMode);
    return port.ExecuteStatus(kReaderModeCommand, {Low(mode)}) ? 0 : -1;
  });
}

int KxLfSetUsbInterface(int handle, int mode) {
  return WithPort(handle, -1, [mode](CKX_RW_Port& port) {
    return port.ExecuteStatus(kUsbInterfaceCommand, {Low(mode)}) ? 0 : -1;
  });
}

int KxLfCommandF6(int handle, int value1, int value2) {
  return WithPort(handle, -1, [=](CKX_RW_Port& port) {
    return port.ExecuteStatus(kCommandF6, {Low(value1), Low(value2)}) ? 0 : -1;
  });
}

int KxLfReadTransponder(int handle, int type, unsigned char* buffer, int bufferSize) {
  return WithPort(handle, -1, [&](CKX_RW_Port& port) {
    Bytes payload;
    if (!ReadWholeTransponder(port, type, payload))
      return -1;
    return DeliverPayload(port, payload, buffer, bufferSize);
  });
}

int KxLfWriteTransponder(int handle, int type, const unsigned char* data, int dataLength,
                         unsigned char* answer, int answerSize) {
  return WithPort(handle, -1, [&](CKX_RW_Port& port) {
    if (dataLength < 0 || (data == nullptr && dataLength > 0))
      return Fail(port, kErrParameter);
    const Bytes bytes(data, data + dataLength);
    Bytes payload;
    if (!WriteWholeTransponder(port, type, bytes, payload))
      return -1;
    if (answer == nullptr)
      return static_cast<int>(payload.size());
    return DeliverPayload(port, payload, answer, answerSize);
  });
}

int KxLfReadBlocks(int handle, int typeAndOptions, int startBlock, unsigned char* buffer,
                   int length) {
  return WithPort(handle, -1, [&](CKX_RW_Port& port) {
    if (!ValidBlockType(typeAndOptions) || length < 0 || (buffer == nullptr && length > 0))
      return Fail(port, kErrParameter);
    Bytes payload;
    if (!ReadBlocks(port, typeAndOptions, startBlock, length, payload))
      return -1;
    return DeliverPayload(port, payload, buffer, length);
  });
}

int KxLfWriteBlocks(int handle, int typeAndOptions, int startBlock, const unsigned char* data,
                    int length, int lock) {
  return WithPort(handle, -1, [&](CKX_RW_Port& port) {
    if (!ValidBlockType(typeAndOptions) || length < 0 || (data == nullptr && length > 0))
      return Fail(port, kErrParameter);
    const int type = typeAndOptions & 0xFF;
    const Bytes bytes(data, data + length);
    if (!WriteBlocks(port, type, startBlock, bytes, lock))
      return -1;

    const bool verifyType3 = type == 3 && (typeAndOptions & kOptionVerifyType3) != 0;
    if ((typeAndOptions & kOptionVerify) == 0 && !verifyType3)
      return 0;
    // Type 3 transponders hold their data inverted; the read-back inverts it again.
    const int readOptions = verifyType3 ? type | kOptionInvert : type;
    Bytes readBack;
    if (!ReadBlocks(port, readOptions, startBlock, length, readBack) || readBack != bytes)
      return Fail(port, kErrVerify);
    return 0;
  });
}

int KxLfReadConfiguration(int handle, int type, unsigned char* buffer, int bufferSize) {
  return WithPort(handle, -1, [&](CKX_RW_Port& port) {
    Bytes payload;
    if (!ReadConfiguration(port, type, payload))
      return -1;
    return DeliverPayload(port, payload, buffer, bufferSize);
  });
}

int KxLfReadChipConfig(int handle, int chipCode, int* value) {
  return WithPort(handle, -1, [&](CKX_RW_Port& port) {
    if (!IsChipCode(chipCode) || value == nullptr)
      return Fail(port, kErrParameter);
    Bytes payload;
    if (!port.Execute(kSpecialCommand, {Low(chipCode), kSpecialChipRead}, payload))
      return -1;
    if (payload.empty())
      return -1;
    *value = payload[0];
    return 0;
  });
}

int KxLfWriteChipConfig(int handle, int chipCode, int value) {
  return WithPort(handle, -1, [&](CKX_RW_Port& port) {
    if (!IsChipCode(chipCode))
      return Fail(port, kErrParameter);
    return port.ExecuteStatus(kSpecialCommand, {Low(chipCode), kSpecialChipWrite, Low(value)}) ? 0
                                                                                               : -1;
  });
}

int KxLfMeasureFrequency(int handle, int type, int p1, int p2, int p3, int p4, int* result) {
  return WithPort(handle, -1, [&](CKX_RW_Port& port) {
    if (result == nullptr)
      return Fail(port, kErrParameter);
    const Bytes parameters = {Low(type), kSpecialMeasure, Low(p1), Low(p2), Low(p3), Low(p4)};
    Bytes payload;
    bool measured = false;
    for (int attempt = 0; attempt < kFrequencyAttempts && !measured; ++attempt)
      measured = port.Execute(kSpecialCommand, parameters, payload);
    if (!measured)
      return -1;
    if (payload.size() < 2)
      return 0;
    const int divisor = payload[0] + 256 * payload[1];
    // A divisor of 0 is no frequency; the reader gave data that cannot be used.
    if (divisor == 0)
      return Fail(port, kErrDataCount);
    *result = static_cast<int>(kFrequencyReferenceHz / divisor);
    return 0;
  });
}

int KxLfListComPorts(char* buffer, int bufferSize) {
  std::vector<std::string> ports;
  CUSBSerialPort::ListComPorts(ports);
  return WriteStringList(ports, buffer, bufferSize);
}

int KxLfListUsbReaders(char* buffer, int bufferSize) {
  std::vector<std::string> devices;
  CFTD2xxPort ftdi;
  ftdi.ListFtdiDevices(devices);
  Sdk();  // binds hidapi when nothing else has started the SDK yet
  CHidDevice::ListHidReaders(devices);
  std::vector<std::string> readers;
  std::copy_if(devices.begin(), devices.end(), std::back_inserter(readers),
               [](const std::string& entry) { return HasFamilyArticleNumber(entry); });
  return WriteStringList(readers, buffer, bufferSize);
}

int KxLfFindLanReaders(char* buffer, int bufferSize) {
  return WriteStringList(FindLanReaders(true), buffer, bufferSize);
}

int KxLfFindLanDevices(char* buffer, int bufferSize) {
  return WriteStringList(FindLanReaders(false), buffer, bufferSize);
}

int KxLfProbeLanReader(const char* name) {
  return name != nullptr && ProbeLanReader(name) ? 1 : 0;
}

int KxLfGetNetworkConfig(const char* readerName, char* dhcpName, char* address, char* subnetMask,
                         char* gateway) {
  if (readerName == nullptr)
    return -1;
  return GetNetworkConfig(readerName, dhcpName, address, subnetMask, gateway);
}

int KxLfSetNetworkConfig(const char* readerName, const char* address, const char* subnetMask,
                         const char* gateway) {
  // Without an address text there is nothing to set.
  if (readerName == nullptr || address == nullptr)
    return -1;
  const auto text = [](const char* value) { return std::string(value != nullptr ? value : ""); };
  return SetNetworkConfig(readerName, address, text(subnetMask), text(gateway));
}

int KxLfCheckUsbDrivers(void) {
  return MissingUsbDrivers();
}

int KxLfIsVcomDriverInstalled(void) {
  return IsVirtualComDriverAvailable() ? 1 : 0;
}

int KxLfSetWaitHooks(KxLfPumpHook pump, KxLfLockWindowHook lockWindow,
                     KxLfUnlockWindowHook unlockWindow, void* context) {
  WaitHooks hooks;
  hooks.pump = pump;
  hooks.lockWindow = lockWindow;
  hooks.unlockWindow = unlockWindow;
  hooks.context = context;
  SetWaitHooks(hooks);
  return 0;
}

}  // extern "C"
