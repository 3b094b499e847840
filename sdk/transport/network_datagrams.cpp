#include "transport/network_datagrams.h"

#include <algorithm>
#include <cctype>

namespace kxlf {
namespace {

constexpr uint8_t kReadRecordBase = 0xE0;
constexpr uint8_t kReadAnswerBase = 0xD0;
constexpr uint8_t kWriteRecordBase = 0xC0;
constexpr uint8_t kWriteAnswerBase = 0xB0;
constexpr uint8_t kWriteRecord0Code = 0xFD;
constexpr uint8_t kWriteRecord0AnswerCode = 0xFB;

bool ValidRecord(int record) {
  return record >= 0 && record < kRecordCount;
}

Bytes Header(bool flag, uint8_t code) {
  return {0x00, static_cast<uint8_t>(flag ? 0x01 : 0x00), 0x00, code};
}

void Append(Bytes& bytes, const uint8_t* data, size_t size) {
  bytes.insert(bytes.end(), data, data + size);
}

void Append(Bytes& bytes, const Ipv4& address) {
  Append(bytes, address.data(), address.size());
}

// A name half: up to eight characters, ending at the first NUL.
std::string NameHalf(const Bytes& record, size_t offset) {
  const auto begin = record.begin() + static_cast<std::ptrdiff_t>(offset);
  return std::string(begin, std::find(begin, begin + kNameHalfSize, 0));
}

}  // namespace

Bytes ReadRecordRequest(int record) {
  if (!ValidRecord(record))
    return {};
  return Header(true, record == 0 ? kQueryCode : static_cast<uint8_t>(kReadRecordBase + record));
}

Bytes WriteRecordRequest(int record, const Bytes& data) {
  if (!ValidRecord(record))
    return {};
  Bytes request =
      Header(record != 0,
             record == 0 ? kWriteRecord0Code : static_cast<uint8_t>(kWriteRecordBase + record));
  Append(request, data.data(), data.size());
  return request;
}

Bytes InfoRequest() {
  return Header(true, kInfoCode);
}

Bytes IpSetupRequest(const Bytes& data, bool extended) {
  Bytes request = Header(false, kIpSetupCode);
  const char tag[] = "IP-SETUPEX";
  Append(request, reinterpret_cast<const uint8_t*>(tag), 8);
  if (extended) {
    Append(request, reinterpret_cast<const uint8_t*>(tag) + 8, 2);
  } else {
    request.push_back(0x00);
    request.push_back(0x00);
  }
  Append(request, data.data(), data.size());
  return request;
}

Bytes ShortIpSetupData(const uint8_t* mac, const Ipv4& address) {
  Bytes data(mac + 4, mac + kMacSize);
  Append(data, address);
  return data;
}

Bytes ExtendedIpSetupData(const ExtendedIpSetup& setup) {
  Bytes request(setup.mac, setup.mac + kMacSize);
  Append(request, setup.address);
  request.push_back(static_cast<uint8_t>(setup.port & 0xFF));
  request.push_back(static_cast<uint8_t>(setup.port >> 8));
  Append(request, setup.mask);
  Append(request, setup.gateway);
  uint8_t name[kDhcpNameLength] = {};
  std::copy_n(setup.name.begin(), std::min(setup.name.size(), kDhcpNameLength), name);
  Append(request, name, sizeof name);
  return request;
}

Bytes ClosingCommand() {
  Bytes command = Header(false, kClosingCode);
  command.push_back('X');
  command.push_back('3');
  return command;
}

uint8_t ReadRecordAnswerCode(int record) {
  return record == 0 ? kQueryAnswerCode : static_cast<uint8_t>(kReadAnswerBase + record);
}

uint8_t WriteRecordAnswerCode(int record) {
  return record == 0 ? kWriteRecord0AnswerCode : static_cast<uint8_t>(kWriteAnswerBase + record);
}

Bytes QueueEntry(const Ipv4& sender, const uint8_t* datagram, size_t size) {
  Bytes entry(sender.begin(), sender.end());
  Append(entry, datagram, size);
  return entry;
}

std::optional<Datagram> ParseQueueEntry(const Bytes& entry) {
  if (entry.size() < 4 + kDatagramHeaderSize)
    return std::nullopt;
  Datagram datagram;
  datagram.sender = FormatIpv4({entry[0], entry[1], entry[2], entry[3]});
  datagram.code = entry[4 + 3];
  datagram.payload.assign(entry.begin() + 4 + kDatagramHeaderSize, entry.end());
  return datagram;
}

Ipv4 RecordAddress(const Bytes& record) {
  return {record[0], record[1], record[2], record[3]};
}

int RecordHostBits(const Bytes& record) {
  return record[kRecordHostBitsOffset];
}

Ipv4 RecordGateway(const Bytes& record) {
  const size_t at = kRecordGatewayOffset;
  return {record[at], record[at + 1], record[at + 2], record[at + 3]};
}

int RecordPort(const Bytes& record) {
  return record[kRecordPortOffset] | (record[kRecordPortOffset + 1] << 8);
}

std::string RecordName(const Bytes& record) {
  return NameHalf(record, kRecordNameFirstHalfOffset) +
         NameHalf(record, kRecordNameSecondHalfOffset);
}

std::string RecordReaderName(const Bytes& record) {
  return "[" + RecordName(record) + "]";
}

std::string SearchEntry(const Bytes& record, const std::string& sender) {
  const std::string address = FormatIpv4(RecordAddress(record));
  const std::string port = "-" + std::to_string(RecordPort(record));
  if (address == sender)
    return address + port;
  return RecordReaderName(record) + sender + port;
}

bool NamesFamilyReader(const Bytes& record2) {
  if (record2.size() < kDeviceNameRecordMinSize)
    return false;
  const char prefix[] = "KX-";
  for (size_t i = 0; i < 3; ++i) {
    const int c = std::toupper(record2[kDeviceNameOffset + i]);
    if (c != prefix[i])
      return false;
  }
  return true;
}

bool UnderstandsExtendedIpSetup(const Bytes& info) {
  return info.size() >= kMinInfoSize && info[kInfoMakerOffset] == 'O' &&
         info[kInfoMakerOffset + 1] == 'R' && info[kInfoMakerOffset + 2] == 'V';
}

}  // namespace kxlf
