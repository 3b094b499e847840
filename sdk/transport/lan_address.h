// Texts that name LAN readers and their network settings: "host-port" names, dotted IPv4
// addresses, subnet masks as host-bit counts, and the address text of a network configuration.
// Pure text and number work; nothing here touches a socket.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kxlf {

using Ipv4 = std::array<uint8_t, 4>;  // network order: 198.18.0.1 is {198, 18, 0, 1}

constexpr int kDefaultReaderPort = 10001;

std::string FormatIpv4(const Ipv4& address);
// Strict dotted form (four numbers 0-255, nothing else); nothing for any other text.
std::optional<Ipv4> ParseIpv4(std::string_view text);

struct HostPort {
  std::string host;
  int port = kDefaultReaderPort;
};

// A LAN name after the bracket resolution: after the last '-' comes the port (its leading
// decimal digits; a value beyond 65535 gives 0, which no connect accepts), before it the host.
// Without '-' the whole text is the host and the port is the reader default.
HostPort SplitHostPort(std::string_view text);

// The host part of a LAN name: the text up to its last '-' (all of it without one).
std::string HostOfName(std::string_view text);

// Lenient dotted form of the network configuration texts: each of the four numbers is the
// value of its decimal digits modulo 256, other characters are skipped. Nothing for fewer than
// three dots or a first dot at the very start; the callers take that as 0.0.0.0.
std::optional<Ipv4> ParseLenientIpv4(std::string_view text);

// Zero bits below the lowest one bit, counted from the last byte's lowest bit; 32 for 0.0.0.0.
int HostBitCount(const Ipv4& mask);
// The mask whose bits from `hostBits` up to bit 31 are set; 32 or more give 0.0.0.0.
Ipv4 MaskFromHostBits(int hostBits);

// The address text given to the network configuration call.
struct ConfigAddress {
  Ipv4 address{};     // 0.0.0.0 when DHCP is wanted
  uint16_t port = 0;  // 0 when no port was given
  bool nameGiven = false;
  std::string name;  // the DHCP name, at most 16 characters
};

constexpr size_t kDhcpNameLength = 16;

// "[" name "]" with an optional "-" port asks for DHCP under that name; a dotted address with
// an optional "-" port asks for a fixed address. Ports are taken modulo 65536.
ConfigAddress ParseConfigAddress(std::string_view text);

}  // namespace kxlf
