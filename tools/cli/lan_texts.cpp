#include "lan_texts.h"

#include <algorithm>

#include "whole_number.h"

namespace kx::cli {

namespace {

constexpr int kHighestTcpPort = 65535;
constexpr int kLoopbackNet = 127;
constexpr int kFirstMulticastNet = 224;  // 224 and above: multicast, reserved, broadcast

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

uint32_t AddressBits(const std::vector<int>& numbers) {
  uint32_t bits = 0;
  for (int number : numbers)
    bits = (bits << 8) | static_cast<uint32_t>(number);
  return bits;
}

}  // namespace

std::optional<std::vector<int>> ParseDottedAddress(std::string_view text) {
  std::vector<int> numbers;
  size_t start = 0;
  for (int part = 0; part < 4; ++part) {
    const size_t dot = part < 3 ? text.find('.', start) : text.size();
    if (dot == std::string_view::npos)
      return std::nullopt;
    const std::string_view digits = text.substr(start, dot - start);
    // Digits only: no sign, no blanks, at most three of them.
    if (digits.empty() || digits.size() > 3 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return std::nullopt;
    const std::optional<int> number = ParseWholeNumber<int>(digits);
    if (!number || *number > 255)
      return std::nullopt;
    numbers.push_back(*number);
    start = dot + 1;
  }
  return numbers;
}

std::string CheckDhcpName(std::string_view name) {
  if (name.empty())
    return "--dhcp wants the reader's DHCP name, 1 to 15 characters";
  if (name.size() > kLongestDhcpName) {
    return "the DHCP name " + Quoted(name) + " has " + std::to_string(name.size()) +
           " characters; a reader takes at most 15";
  }
  // '[' and ']' enclose the name in reader names and ':' starts a device address there; a
  // name with them, blanks or control characters could not be given to --port again.
  const bool usable = std::all_of(name.begin(), name.end(), [](char c) {
    return c > ' ' && c < 0x7F && c != '[' && c != ']' && c != ':';
  });
  if (!usable) {
    return "the DHCP name " + Quoted(name) +
           " may hold letters, digits and punctuation, but no blanks, '[', ']' or ':'";
  }
  return {};
}

std::string CheckFixedAddress(std::string_view address) {
  if (address.find_first_not_of(" \t") == std::string_view::npos)
    return "--address wants the reader's fixed IPv4 address, such as 192.168.1.20";
  const std::optional<std::vector<int>> numbers = ParseDottedAddress(address);
  if (!numbers) {
    std::string error =
        "--address wants a dotted IPv4 address such as 192.168.1.20, not " + Quoted(address);
    if (address.find('-') != std::string_view::npos)
      error += " (give the TCP port with --port)";
    return error;
  }
  const int first = numbers->front();
  if (first == 0 || first == kLoopbackNet || first >= kFirstMulticastNet) {
    return Quoted(address) +
           " is no valid address for a reader: give a valid IP address (or --dhcp NAME)";
  }
  return {};
}

std::string CheckSubnetMask(std::string_view mask) {
  const std::optional<std::vector<int>> numbers = ParseDottedAddress(mask);
  if (!numbers)
    return "--mask wants a subnet mask such as 255.255.255.0, not " + Quoted(mask);
  const uint32_t bits = AddressBits(*numbers);
  // The reader keeps only the number of host bits: every one bit must lie above every zero bit.
  const uint32_t hostBits = ~bits;
  if (bits == 0 || (hostBits & (hostBits + 1)) != 0) {
    return Quoted(mask) +
           " is no subnet mask: its one bits must all come first, as in 255.255.255.0";
  }
  return {};
}

std::string CheckGateway(std::string_view gateway) {
  if (!ParseDottedAddress(gateway)) {
    return "--gateway wants a dotted IPv4 address such as 192.168.1.1 (0.0.0.0 for none), not " +
           Quoted(gateway);
  }
  return {};
}

std::optional<int> ParseTcpPort(std::string_view text) {
  const std::optional<long> port = ParseWholeNumber<long>(text);
  if (!port || *port < 1 || *port > kHighestTcpPort)
    return std::nullopt;
  return static_cast<int>(*port);
}

ChangedSettings ApplyChange(const LanSettings& current, const LanChange& change) {
  ChangedSettings changed{current, {}};
  LanSettings& settings = changed.settings;
  if (change.dhcpName) {
    settings.dhcp = true;
    settings.dhcpName = *change.dhcpName;
    settings.address.clear();
  }
  if (change.address) {
    settings.dhcp = false;
    settings.address = *change.address;
  }
  settings.port = change.port.value_or(settings.port);
  settings.mask = change.mask.value_or(settings.mask);
  settings.gateway = change.gateway.value_or(settings.gateway);
  if (settings.dhcp && settings.dhcpName.empty())
    changed.error = "the reader has no DHCP name: give it one with --dhcp NAME";
  return changed;
}

}  // namespace kx::cli
