#include "network_configuration.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "sdk_app.h"
#include "transport/busy_guard.h"
#include "transport/lan_address.h"
#include "transport/network_channel.h"
#include "transport/network_datagrams.h"
#include "transport/port_name.h"

namespace kxlf {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kSearchWindow{500};
constexpr std::chrono::milliseconds kProbeInterval{100};
constexpr std::chrono::milliseconds kComeBackWait{5000};
constexpr int kReopenAttempts = 21;
constexpr std::chrono::milliseconds kReopenInterval{100};
constexpr int kRecordWriteAttempts = 6;
constexpr std::chrono::milliseconds kRecordWriteInterval{500};

CKX_LF_SDKApp& Sdk() {
  return CKX_LF_SDKApp::Instance();
}

CTCPSocket* ChannelSocket(int handle) {
  const std::shared_ptr<Connection> connection = Sdk().FindConnection(handle);
  return connection ? &connection->port.Lan().Socket() : nullptr;
}

void CopyText(char* buffer, const std::string& text) {
  if (buffer != nullptr)
    std::memcpy(buffer, text.c_str(), text.size() + 1);
}

void PutAddress(Bytes& record, size_t offset, const Ipv4& address) {
  std::copy(address.begin(), address.end(), record.begin() + static_cast<std::ptrdiff_t>(offset));
}

// `size` characters of `name` from `from` on, NUL-padded.
void PutNamePart(Bytes& record, size_t offset, const std::string& name, size_t from, size_t size) {
  for (size_t i = 0; i < size; ++i)
    record[offset + i] = from + i < name.size() ? static_cast<uint8_t>(name[from + i]) : 0;
}

// What the caller asks for, from the texts of KxLfSetNetworkConfig.
struct WantedSettings {
  ConfigAddress address;
  bool maskGiven = false;
  Ipv4 mask{};
  int hostBits = 32;
  Ipv4 gateway{};
};

WantedSettings ParseWanted(const std::string& address, const std::string& subnetMask,
                           const std::string& gateway) {
  WantedSettings wanted;
  wanted.address = ParseConfigAddress(address);
  if (!gateway.empty())
    wanted.gateway = ParseLenientIpv4(gateway).value_or(Ipv4{});
  if (!subnetMask.empty()) {
    wanted.maskGiven = true;
    wanted.mask = ParseLenientIpv4(subnetMask).value_or(Ipv4{});
    wanted.hostBits = HostBitCount(wanted.mask);
  }
  return wanted;
}

// Waits until the reader answers at `address`, at most 5 seconds.
void WaitForReader(const std::string& address) {
  const Clock::time_point end = Clock::now() + kComeBackWait;
  while (!ProbeLanReader(address) && Clock::now() < end)
    std::this_thread::sleep_for(kProbeInterval);
}

// Settings other than the address go through record 0 (and record 3 for the name).
bool WriteSettings(CTCPSocket& socket, Bytes record0, const WantedSettings& wanted) {
  PutAddress(record0, kRecordAddressOffset, wanted.address.address);
  if (wanted.maskGiven)
    record0[kRecordHostBitsOffset] = static_cast<uint8_t>(wanted.hostBits);
  PutAddress(record0, kRecordGatewayOffset, wanted.gateway);
  if (wanted.address.port != 0) {
    record0[kRecordPortOffset] = static_cast<uint8_t>(wanted.address.port & 0xFF);
    record0[kRecordPortOffset + 1] = static_cast<uint8_t>(wanted.address.port >> 8);
  }
  if (wanted.address.nameGiven) {
    const std::string& name = wanted.address.name;
    PutNamePart(record0, kRecordNameFirstHalfOffset, name, 0, kNameHalfSize);
    PutNamePart(record0, kRecordNameSecondHalfOffset, name, kNameHalfSize, kNameHalfSize);
    Bytes record3;
    if (socket.ReadRecord(3, true, record3) && record3.size() == kNameRecordSize) {
      PutNamePart(record3, kRecord3NameOffset, name, kNameHalfSize, kNameHalfSize);
      socket.WriteRecord(3, record3);
    }
  }
  for (int attempt = 0; attempt < kRecordWriteAttempts; ++attempt) {
    if (attempt > 0)
      std::this_thread::sleep_for(kRecordWriteInterval);
    if (socket.WriteRecord(0, record0))
      return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> FindLanReaders(bool identityTest) {
  BusyGuard busy;
  CTCPSocket socket;
  CTCPSocket::ReaderList found;
  socket.GatherAdapters();
  if (socket.FirstAdapter()) {
    do {
      socket.SearchReaders(kSearchWindow, identityTest, found);
    } while (socket.NextAdapter());
  }
  return std::vector<std::string>(found.begin(), found.end());
}

bool ProbeLanReader(const std::string& name) {
  BusyGuard busy;
  CTCPSocket socket;
  const bool reached = ReachNetworkModule(socket, SplitDeviceAddress(name).name);
  socket.CloseUdp();
  return reached;
}

int GetNetworkConfig(const std::string& readerName, char* dhcpName, char* address, char* subnetMask,
                     char* gateway) {
  BusyGuard busy;
  const int handle = Sdk().OpenChannel(readerName);
  if (handle < 0)
    return handle;
  CTCPSocket* socket = ChannelSocket(handle);
  Bytes record;
  if (socket == nullptr || !socket->ReadRecord(0, true, record) || record.size() < kMinRecordSize) {
    Sdk().CloseChannel(handle, false);
    return -1;
  }
  const std::string port = "-" + std::to_string(RecordPort(record));
  const Ipv4 configured = RecordAddress(record);
  const std::string addressText = configured == Ipv4{} ? "" : FormatIpv4(configured) + port;
  const std::string nameText = RecordReaderName(record) + port;
  CopyText(address, addressText);
  CopyText(dhcpName, nameText);
  CopyText(subnetMask, FormatIpv4(MaskFromHostBits(RecordHostBits(record))));
  CopyText(gateway, FormatIpv4(RecordGateway(record)));
  if (dhcpName == nullptr && addressText.empty())
    CopyText(address, nameText);
  Sdk().CloseChannel(handle, false);
  return 0;
}

int SetNetworkConfig(const std::string& readerName, const std::string& address,
                     const std::string& subnetMask, const std::string& gateway) {
  BusyGuard busy;
  const WantedSettings wanted = ParseWanted(address, subnetMask, gateway);
  int handle = Sdk().OpenChannel(readerName);
  if (handle < 0)
    return handle;

  int result = 0;
  Bytes record0;
  CTCPSocket* socket = ChannelSocket(handle);
  if (socket == nullptr || !socket->ReadRecord(0, true, record0)) {
    result = -1;
  } else {
    const bool addressChanged = wanted.address.address != RecordAddress(record0);
    bool otherChanged = (wanted.address.port != 0 && wanted.address.port != RecordPort(record0)) ||
                        (wanted.maskGiven && wanted.hostBits != RecordHostBits(record0)) ||
                        wanted.gateway != RecordGateway(record0) ||
                        (wanted.address.nameGiven && wanted.address.name != RecordName(record0));
    if (addressChanged || otherChanged) {
      Bytes info;
      const bool infoRead = socket->ReadInfo(info);
      if (infoRead) {
        const uint8_t* mac = info.data() + kInfoMacOffset;
        if (UnderstandsExtendedIpSetup(info) && otherChanged) {
          ExtendedIpSetup setup;
          setup.mac = mac;
          setup.address = wanted.address.address;
          // What the caller left out stays as the reader has it: a port of 0 or a mask of
          // 0.0.0.0 would cut the reader off.
          setup.port = wanted.address.port != 0 ? wanted.address.port
                                                : static_cast<uint16_t>(RecordPort(record0));
          setup.mask = wanted.maskGiven ? wanted.mask : MaskFromHostBits(RecordHostBits(record0));
          setup.gateway = wanted.gateway;
          setup.name = wanted.address.nameGiven ? wanted.address.name : RecordName(record0);
          socket->SendIpSetup(ExtendedIpSetupData(setup), true);
          otherChanged = false;
        } else {
          socket->SendIpSetup(ShortIpSetupData(mac, wanted.address.address), false);
        }
      }
      // A short IP-SETUP with the address the reader already has moves nothing: the reader
      // stays where the channel reaches it, under the name it has until record 0 changes it.
      const bool moved = socket != nullptr && infoRead && (addressChanged || !otherChanged);
      if (moved) {
        Sdk().CloseChannel(handle, false);
        handle = 0;
        socket = nullptr;
        WaitForReader(address);
        if (otherChanged) {
          for (int attempt = 0; attempt < kReopenAttempts && handle <= 0; ++attempt) {
            if (attempt > 0)
              std::this_thread::sleep_for(kReopenInterval);
            handle = Sdk().OpenChannel(address);
          }
          if (handle <= 0)
            return handle;
          socket = ChannelSocket(handle);
        }
      }
      if (otherChanged)
        result = socket != nullptr && WriteSettings(*socket, record0, wanted) ? 0 : -1;
    }
  }
  if (handle > 0)
    Sdk().CloseChannel(handle, true);
  return result;
}

}  // namespace kxlf
