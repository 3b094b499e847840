// The network module of an emulated Ethernet reader: the UDP protocol on port 30718 that finds
// readers and changes their network settings. Datagrams in, datagrams out, no sockets; the
// module server puts it on the network.
//
// The module keeps 16 records of 126 bytes and an information block. Record 0 holds the
// network settings (address, host bits of the mask, gateway, TCP port, the DHCP name in two
// halves), record 2 the device name, record 3 the second half of the DHCP name again; the
// information block holds the maker code "ORV" (when the module understands the extended
// IP-SETUP) and the MAC address. Written records are kept as written, whole. IP-SETUP changes
// the settings at once; a written record 0 takes effect with the closing command, as a module
// that restarts with its new settings. Every datagram received is kept for the tests.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "transport/lan_address.h"

namespace kxemu {

using Bytes = std::vector<uint8_t>;

struct ModuleSettings {
  kxlf::Ipv4 address{};  // where the module is on the network
  bool dhcp = false;     // record 0 holds 0.0.0.0: the address comes from the network
  int hostBits = 8;
  kxlf::Ipv4 gateway{};
  uint16_t port = 10001;  // the reader's TCP port
  std::string dhcpName;   // up to 16 characters
  std::array<uint8_t, 6> mac = {0x00, 0x80, 0xA3, 0x5C, 0x21, 0x07};
  bool makerCode = true;  // "ORV" in the information block
  std::string deviceName = "KX-M71-LAN";
};

struct ModuleFaults {
  bool silent = false;     // nothing is answered
  int silentAfter = -1;    // >= 0: only the first this many datagrams are answered
  std::string answerFrom;  // set: answers leave from this address (the server's business)
  size_t recordSize = 0;   // > 0: records are answered with only this many bytes
  std::chrono::milliseconds answerDelay{0};
  int extraDevices = 0;  // the query is also answered for this many other DHCP devices
  bool junk = false;     // every answer follows a 3-byte and a 600-byte datagram
};

struct CapturedDatagram {
  std::string sender;
  bool broadcast = false;  // sent to 255.255.255.255
  Bytes bytes;
};

// Where the module has to go after a change of its settings.
struct ModuleMove {
  kxlf::Ipv4 from{};
  int fromHostBits = 8;
  kxlf::Ipv4 to{};
  int hostBits = 8;
  uint16_t port = 10001;
};

class NetworkModule {
 public:
  static constexpr size_t kRecordSize = 126;

  explicit NetworkModule(ModuleSettings settings = {});

  // One datagram from `sender`; the answers to send back to it, in order.
  std::vector<Bytes> Receive(const std::string& sender, bool broadcast, const Bytes& datagram);

  void SetFaults(const ModuleFaults& faults);
  ModuleFaults Faults() const;
  std::vector<CapturedDatagram> Captured() const;
  void ClearCaptured();
  int ClosingCommands() const;

  Bytes Record(int number) const;
  void SetRecord(int number, const Bytes& record);
  Bytes Info() const;
  // The settings as record 0 and the module's place on the network give them.
  ModuleSettings Settings() const;
  // A move the server still has to carry out.
  std::optional<ModuleMove> TakeMove();

 private:
  Bytes Answer(uint8_t flag, uint8_t code, const Bytes& payload) const;
  Bytes RecordAnswer(uint8_t flag, uint8_t code, const Bytes& record) const;
  void HandleIpSetup(const Bytes& datagram);
  // Plans a move to what record 0 says.
  void FollowRecord0();

  mutable std::mutex mutex_;
  std::array<Bytes, 16> records_;
  Bytes info_;
  kxlf::Ipv4 place_{};  // the address the module answers from
  int placeHostBits_ = 8;
  bool record0Written_ = false;
  ModuleFaults faults_;
  std::vector<CapturedDatagram> captured_;
  std::optional<ModuleMove> move_;
  int closingCommands_ = 0;
  int datagramsReceived_ = 0;
};

}  // namespace kxemu
