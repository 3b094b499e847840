// Random texts against the parsers of the network configuration and of LAN names, and random
// datagrams against what reads the network module's answers: nothing may read past its input,
// and what is parsed stays inside the ranges the protocol can carry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "transport/lan_address.h"
#include "transport/network_datagrams.h"

namespace {

void CheckConfigAddress(std::string_view text) {
  const kxlf::ConfigAddress parsed = kxlf::ParseConfigAddress(text);
  if (parsed.name.size() > kxlf::kDhcpNameLength)
    std::abort();
  // A DHCP request never carries an address.
  if (parsed.nameGiven && parsed.address != kxlf::Ipv4{})
    std::abort();
  // Parsing the formatted address again gives the same address.
  if (!parsed.nameGiven) {
    const std::optional<kxlf::Ipv4> again = kxlf::ParseIpv4(kxlf::FormatIpv4(parsed.address));
    if (!again || *again != parsed.address)
      std::abort();
  }
}

void CheckMask(std::string_view text) {
  const kxlf::Ipv4 mask = kxlf::ParseLenientIpv4(text).value_or(kxlf::Ipv4{});
  const int hostBits = kxlf::HostBitCount(mask);
  if (hostBits < 0 || hostBits > 32)
    std::abort();
  // The mask made of that count has the same count.
  if (kxlf::HostBitCount(kxlf::MaskFromHostBits(hostBits)) != hostBits)
    std::abort();
}

void CheckName(std::string_view text) {
  const kxlf::HostPort target = kxlf::SplitHostPort(text);
  if (target.port < 0 || target.port > 65535 || target.host.size() > text.size())
    std::abort();
}

void CheckDatagram(const uint8_t* data, size_t size) {
  const kxlf::Bytes entry = kxlf::QueueEntry({198, 18, 0, 2}, data, size);
  const std::optional<kxlf::Datagram> datagram = kxlf::ParseQueueEntry(entry);
  if (!datagram)
    return;
  const kxlf::Bytes& record = datagram->payload;
  kxlf::NamesFamilyReader(record);
  kxlf::UnderstandsExtendedIpSetup(record);
  if (record.size() < kxlf::kMinRecordSize)
    return;
  if (kxlf::RecordName(record).size() > kxlf::kDhcpNameLength)
    std::abort();
  kxlf::SearchEntry(record, datagram->sender);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckConfigAddress(text);
  CheckMask(text);
  CheckName(text);
  CheckDatagram(data, size);
  return 0;
}
