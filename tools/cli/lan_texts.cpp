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

// The leading decimal digits of `text` as a number, as the dialog reads its port texts.
int LeadingNumber(std::string_view text) {
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      break;
    value = std::min<long>(value * 10 + (c - '0'), kHighestTcpPort + 1);
  }
  return static_cast<int>(value);
}

uint32_t AddressBits(const std::vector<int>& numbers) {
  uint32_t bits = 0;
  for (int number : numbers)
    bits = (bits << 8) | static_cast<uint32_t>(number);
  return bits;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
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

LanSettings SettingsFromConfigTexts(std::string_view nameText, std::string_view addressText,
                                    std::string_view mask, std::string_view gateway) {
  LanSettings settings;
  settings.mask = std::string(mask);
  settings.gateway = std::string(gateway);
  settings.dhcp = addressText.empty();
  if (!settings.dhcp) {
    const size_t dash = addressText.find('-');
    settings.address = std::string(addressText.substr(0, dash));
    if (dash != std::string_view::npos)
      settings.port = LeadingNumber(addressText.substr(dash + 1));
  }
  const size_t close = nameText.find(']');
  if (nameText.starts_with('[') && close != std::string_view::npos) {
    settings.dhcpName = std::string(nameText.substr(1, close - 1));
    if (settings.dhcp && nameText.substr(close + 1).starts_with('-'))
      settings.port = LeadingNumber(nameText.substr(close + 2));
  } else {
    settings.dhcpName = std::string(nameText);
  }
  return settings;
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

std::string AddressText(const LanSettings& settings) {
  const std::string port = "-" + std::to_string(settings.port);
  return settings.dhcp ? "[" + settings.dhcpName + "]" + port : settings.address + port;
}

LanEntry SplitLanEntry(std::string_view entry, bool confirmed) {
  LanEntry split;
  split.entry = std::string(entry);
  split.confirmed = confirmed;
  std::string_view rest = entry;
  const size_t close = entry.find(']');
  if (entry.starts_with('[') && close != std::string_view::npos) {
    split.dhcpName = std::string(entry.substr(1, close - 1));
    split.reader = std::string(entry.substr(0, close + 1));
    rest = entry.substr(close + 1);
  } else {
    split.reader = split.entry;
  }
  const size_t dash = rest.rfind('-');
  split.address = std::string(rest.substr(0, dash));
  if (dash != std::string_view::npos)
    split.port = LeadingNumber(rest.substr(dash + 1));
  return split;
}

std::vector<LanEntry> MergeLanLists(const std::vector<std::string>& readers,
                                    const std::vector<std::string>& devices) {
  std::vector<LanEntry> merged;
  for (const std::string& reader : readers) {
    if (!reader.empty())
      merged.push_back(SplitLanEntry(reader, true));
  }
  for (const std::string& device : devices) {
    if (device.empty())
      continue;
    const size_t close = device.find(']');
    const std::string_view key = device.starts_with('[') && close != std::string::npos
                                     ? std::string_view(device).substr(0, close + 1)
                                     : std::string_view(device);
    const auto same = std::find_if(merged.begin(), merged.end(), [&](const LanEntry& item) {
      return EqualIgnoringCase(item.entry, key);
    });
    if (same != merged.end())
      *same = SplitLanEntry(device, true);
    else
      merged.push_back(SplitLanEntry(device, false));
  }
  return merged;
}

}  // namespace kx::cli
