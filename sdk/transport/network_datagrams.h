// The datagrams of the readers' network module on UDP port 30718, and the fields of the records
// and the information block they carry. Every datagram starts with four header bytes:
//   00 | 01 (query, record reads, information, writes of records 1-15) or 00 | 00 | code
// followed by the payload. Pure byte work: building requests, cutting up received datagrams and
// reading record fields, never beyond the bytes that arrived.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/frame_codec.h"
#include "transport/lan_address.h"

namespace kxlf {

constexpr uint16_t kNetworkModulePort = 30718;
constexpr size_t kDatagramHeaderSize = 4;
constexpr size_t kMaxDatagramSize = 513;  // longer datagrams are not taken
constexpr int kRecordCount = 16;
constexpr size_t kMinRecordSize = 120;
constexpr size_t kDeviceNameRecordMinSize = 126;  // record 2
constexpr size_t kNameRecordSize = 126;           // record 3
constexpr size_t kMinInfoSize = 26;
constexpr size_t kMacSize = 6;

constexpr uint8_t kQueryCode = 0xF8;
constexpr uint8_t kQueryAnswerCode = 0xF9;
constexpr uint8_t kInfoCode = 0xF6;
constexpr uint8_t kInfoAnswerCode = 0xF7;
constexpr uint8_t kIpSetupCode = 0xFC;
constexpr uint8_t kClosingCode = 0x03;

// Record 0: the module's network settings.
constexpr size_t kRecordAddressOffset = 0;
constexpr size_t kRecordHostBitsOffset = 6;
constexpr size_t kRecordGatewayOffset = 12;
constexpr size_t kRecordPortOffset = 20;  // little-endian
constexpr size_t kRecordNameSecondHalfOffset = 84;
constexpr size_t kRecordNameFirstHalfOffset = 112;
constexpr size_t kNameHalfSize = 8;
// Record 2: the device name, from this offset to its NUL.
constexpr size_t kDeviceNameOffset = 93;
// Record 3: the second half of the DHCP name once more.
constexpr size_t kRecord3NameOffset = 102;
// Information block.
constexpr size_t kInfoMakerOffset = 11;
constexpr size_t kInfoMacOffset = 20;

// Requests. Record numbers outside 0-15 have no request: the result is empty.
Bytes ReadRecordRequest(int record);  // record 0 is the query
Bytes WriteRecordRequest(int record, const Bytes& data);
Bytes InfoRequest();
// IP-SETUP: "IP-SETUP", then "EX" for the extended form or two NUL bytes, then the data.
Bytes IpSetupRequest(const Bytes& data, bool extended);
// Short data: the MAC's last two bytes and the new address. Extended data: MAC, address, port,
// mask, gateway and the DHCP name's first 16 characters, NUL-padded.
Bytes ShortIpSetupData(const uint8_t* mac, const Ipv4& address);
struct ExtendedIpSetup {
  const uint8_t* mac = nullptr;  // 6 bytes
  Ipv4 address{};
  uint16_t port = 0;
  Ipv4 mask{};
  Ipv4 gateway{};
  std::string name;
};
Bytes ExtendedIpSetupData(const ExtendedIpSetup& setup);
Bytes ClosingCommand();

// Answer codes that end the waits.
uint8_t ReadRecordAnswerCode(int record);
uint8_t WriteRecordAnswerCode(int record);

// A received datagram as the socket queues it: the sender's address (4 bytes, network order),
// then the datagram itself.
Bytes QueueEntry(const Ipv4& sender, const uint8_t* datagram, size_t size);

struct Datagram {
  std::string sender;  // dotted address
  uint8_t code = 0;    // header byte 3
  Bytes payload;       // from byte 4 on
};
// Nothing for an entry whose datagram is shorter than its four header bytes.
std::optional<Datagram> ParseQueueEntry(const Bytes& entry);

// Record 0 fields; the caller has checked that the record holds kMinRecordSize bytes.
Ipv4 RecordAddress(const Bytes& record);
int RecordHostBits(const Bytes& record);
Ipv4 RecordGateway(const Bytes& record);
int RecordPort(const Bytes& record);
// The 16 characters of the DHCP name: the first half, then the second, each to its first NUL.
std::string RecordName(const Bytes& record);
// "[" name "]".
std::string RecordReaderName(const Bytes& record);

// A search list entry for record 0 from `sender`: a module with a fixed address (the record's
// address is the sender's) gives "address-port", a DHCP module "[name]sender-port".
std::string SearchEntry(const Bytes& record, const std::string& sender);

// Record 2 names a reader of the family: it holds at least 126 bytes and its device name begins
// with "KX-" in any letter case. Only bytes inside the record are looked at.
bool NamesFamilyReader(const Bytes& record2);

// The information block says that the module understands the extended IP-SETUP.
bool UnderstandsExtendedIpSetup(const Bytes& info);

}  // namespace kxlf
