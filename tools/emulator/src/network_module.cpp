#include "kxemu/network_module.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kxemu {
namespace {

// The module's own copy of the record layout: the tests compare what the SDK writes with
// what a module reads, so the two must not share it.
constexpr size_t kAddress = 0;
constexpr size_t kHostBits = 6;
constexpr size_t kGateway = 12;
constexpr size_t kPort = 20;
constexpr size_t kNameSecondHalf = 84;
constexpr size_t kNameFirstHalf = 112;
constexpr size_t kDeviceName = 93;
constexpr size_t kRecord3Name = 102;
constexpr size_t kInfoSize = 32;
constexpr size_t kInfoMaker = 11;
constexpr size_t kInfoMac = 20;

constexpr size_t kJunkLength = 600;

void Put(Bytes& bytes, size_t offset, const void* data, size_t size) {
  std::memcpy(bytes.data() + offset, data, size);
}

// `text` into `size` bytes at `offset`, NUL-padded; a longer text is cut at the field's end.
void PutText(Bytes& bytes, size_t offset, const std::string& text, size_t size) {
  std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), size, 0);
  Put(bytes, offset, text.data(), std::min(size, text.size()));
}

kxlf::Ipv4 GetAddress(const Bytes& bytes, size_t offset) {
  return {bytes[offset], bytes[offset + 1], bytes[offset + 2], bytes[offset + 3]};
}

std::string GetText(const Bytes& bytes, size_t offset, size_t size) {
  const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(offset);
  return std::string(begin, std::find(begin, begin + static_cast<std::ptrdiff_t>(size), 0));
}

// Zero bits below the mask's lowest one bit.
uint8_t HostBits(const kxlf::Ipv4& mask) {
  const uint32_t bits = (uint32_t{mask[0]} << 24) | (mask[1] << 16) | (mask[2] << 8) | mask[3];
  uint8_t count = 0;
  while (count < 32 && ((bits >> count) & 1) == 0)
    ++count;
  return count;
}

void PutName(Bytes& record0, Bytes& record3, const std::string& name) {
  PutText(record0, kNameFirstHalf, name.substr(0, std::min<size_t>(8, name.size())), 8);
  const std::string second = name.size() > 8 ? name.substr(8, 8) : std::string();
  PutText(record0, kNameSecondHalf, second, 8);
  PutText(record3, kRecord3Name, second, 8);
}

}  // namespace

NetworkModule::NetworkModule(ModuleSettings settings) {
  for (Bytes& record : records_)
    record.assign(kRecordSize, 0);
  Bytes& record0 = records_[0];
  const kxlf::Ipv4 configured = settings.dhcp ? kxlf::Ipv4{} : settings.address;
  Put(record0, kAddress, configured.data(), 4);
  record0[kHostBits] = static_cast<uint8_t>(settings.hostBits);
  Put(record0, kGateway, settings.gateway.data(), 4);
  record0[kPort] = static_cast<uint8_t>(settings.port & 0xFF);
  record0[kPort + 1] = static_cast<uint8_t>(settings.port >> 8);
  PutName(record0, records_[3], settings.dhcpName);
  // The device name runs to its NUL, or to the end of the record when it is that long.
  PutText(records_[2], kDeviceName, settings.deviceName, kRecordSize - kDeviceName);
  info_.assign(kInfoSize, 0);
  if (settings.makerCode)
    Put(info_, kInfoMaker, "ORV", 3);
  Put(info_, kInfoMac, settings.mac.data(), settings.mac.size());
  place_ = settings.address;
  placeHostBits_ = settings.hostBits;
}

Bytes NetworkModule::Answer(uint8_t flag, uint8_t code, const Bytes& payload) const {
  Bytes answer(4 + payload.size());
  answer[1] = flag;
  answer[3] = code;
  std::copy(payload.begin(), payload.end(), answer.begin() + 4);
  return answer;
}

Bytes NetworkModule::RecordAnswer(uint8_t flag, uint8_t code, const Bytes& record) const {
  Bytes payload = record;
  if (faults_.recordSize > 0 && faults_.recordSize < payload.size())
    payload.resize(faults_.recordSize);
  return Answer(flag, code, payload);
}

std::vector<Bytes> NetworkModule::Receive(const std::string& sender, bool broadcast,
                                          const Bytes& datagram) {
  std::lock_guard lock(mutex_);
  captured_.push_back({sender, broadcast, datagram});
  if (datagram.size() < 4 || datagram[0] != 0x00)
    return {};
  const uint8_t flag = datagram[1];
  const uint8_t code = datagram[3];
  const Bytes payload(datagram.begin() + 4, datagram.end());
  std::vector<Bytes> answers;
  if (code == 0xF8) {
    answers.push_back(RecordAnswer(flag, 0xF9, records_[0]));
    for (int i = 0; i < faults_.extraDevices; ++i) {
      Bytes other = records_[0];
      std::fill_n(other.begin() + kAddress, 4, 0);
      char name[16];
      std::snprintf(name, sizeof name, "DEV%05d", i % 100000);
      Bytes unused(kRecordSize, 0);
      PutName(other, unused, name);
      answers.push_back(RecordAnswer(flag, 0xF9, other));
    }
  } else if (code >= 0xE1 && code <= 0xEF) {
    answers.push_back(RecordAnswer(flag, static_cast<uint8_t>(code - 0x10), records_[code - 0xE0]));
  } else if (code == 0xFD) {
    records_[0] = payload;
    record0Written_ = true;
    answers.push_back(Answer(flag, 0xFB, {}));
  } else if (code >= 0xC1 && code <= 0xCF) {
    records_[code - 0xC0] = payload;
    answers.push_back(Answer(flag, static_cast<uint8_t>(code - 0x10), {}));
  } else if (code == 0xF6) {
    answers.push_back(Answer(flag, 0xF7, info_));
  } else if (code == 0xFC) {
    HandleIpSetup(datagram);
  } else if (code == 0x03 && payload == Bytes{'X', '3'}) {
    ++closingCommands_;
    if (record0Written_)
      FollowRecord0();
    record0Written_ = false;
  }
  ++datagramsReceived_;
  if (faults_.silent || (faults_.silentAfter >= 0 && datagramsReceived_ > faults_.silentAfter))
    return {};
  if (faults_.junk && !answers.empty()) {
    answers.insert(answers.begin(), {Bytes{0x00, 0x01, 0x00}, Bytes(kJunkLength, 0x5A)});
  }
  return answers;
}

void NetworkModule::HandleIpSetup(const Bytes& datagram) {
  static const char kTag[] = "IP-SETUP";
  if (datagram.size() < 14 || std::memcmp(datagram.data() + 4, kTag, 8) != 0)
    return;
  const bool extended = datagram[12] == 'E' && datagram[13] == 'X';
  const Bytes data(datagram.begin() + 14, datagram.end());
  Bytes& record0 = records_[0];
  const uint8_t* mac = info_.data() + kInfoMac;
  if (!extended) {
    if (datagram[12] != 0 || datagram[13] != 0 || data.size() != 6 ||
        std::memcmp(data.data(), mac + 4, 2) != 0)
      return;
    Put(record0, kAddress, data.data() + 2, 4);
  } else {
    if (data.size() != 36 || std::memcmp(data.data(), mac, 6) != 0)
      return;
    Put(record0, kAddress, data.data() + 6, 4);
    record0[kPort] = data[10];
    record0[kPort + 1] = data[11];
    record0[kHostBits] = HostBits(GetAddress(data, 12));
    Put(record0, kGateway, data.data() + 16, 4);
    PutName(record0, records_[3], GetText(data, 20, 16));
  }
  FollowRecord0();
}

void NetworkModule::FollowRecord0() {
  const Bytes& record0 = records_[0];
  if (record0.size() < kNameFirstHalf + 8)
    return;
  const kxlf::Ipv4 configured = GetAddress(record0, kAddress);
  ModuleMove move;
  move.from = place_;
  move.fromHostBits = placeHostBits_;
  // A DHCP module keeps the address the network gave it.
  move.to = configured == kxlf::Ipv4{} ? place_ : configured;
  move.hostBits = record0[kHostBits];
  move.port = static_cast<uint16_t>(record0[kPort] | (record0[kPort + 1] << 8));
  place_ = move.to;
  placeHostBits_ = move.hostBits;
  move_ = move;
}

std::optional<ModuleMove> NetworkModule::TakeMove() {
  std::lock_guard lock(mutex_);
  std::optional<ModuleMove> move;
  move.swap(move_);
  return move;
}

void NetworkModule::SetFaults(const ModuleFaults& faults) {
  std::lock_guard lock(mutex_);
  faults_ = faults;
}

ModuleFaults NetworkModule::Faults() const {
  std::lock_guard lock(mutex_);
  return faults_;
}

std::vector<CapturedDatagram> NetworkModule::Captured() const {
  std::lock_guard lock(mutex_);
  return captured_;
}

void NetworkModule::ClearCaptured() {
  std::lock_guard lock(mutex_);
  captured_.clear();
}

int NetworkModule::ClosingCommands() const {
  std::lock_guard lock(mutex_);
  return closingCommands_;
}

Bytes NetworkModule::Record(int number) const {
  std::lock_guard lock(mutex_);
  return records_.at(static_cast<size_t>(number));
}

void NetworkModule::SetRecord(int number, const Bytes& record) {
  std::lock_guard lock(mutex_);
  records_.at(static_cast<size_t>(number)) = record;
}

Bytes NetworkModule::Info() const {
  std::lock_guard lock(mutex_);
  return info_;
}

ModuleSettings NetworkModule::Settings() const {
  std::lock_guard lock(mutex_);
  ModuleSettings settings;
  const Bytes& record0 = records_[0];
  settings.address = place_;
  if (record0.size() < kNameFirstHalf + 8)
    return settings;
  settings.dhcp = GetAddress(record0, kAddress) == kxlf::Ipv4{};
  settings.hostBits = record0[kHostBits];
  settings.gateway = GetAddress(record0, kGateway);
  settings.port = static_cast<uint16_t>(record0[kPort] | (record0[kPort + 1] << 8));
  settings.dhcpName = GetText(record0, kNameFirstHalf, 8) + GetText(record0, kNameSecondHalf, 8);
  settings.makerCode = info_[kInfoMaker] == 'O';
  std::copy_n(info_.begin() + kInfoMac, 6, settings.mac.begin());
  if (records_[2].size() >= kRecordSize)
    settings.deviceName = GetText(records_[2], kDeviceName, kRecordSize - kDeviceName);
  return settings;
}

}  // namespace kxemu
