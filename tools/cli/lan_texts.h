// The texts of the LAN commands, without a network: checking what the command line asks for,
// the reader's settings as the SDK's configuration texts give them, the address text that
// asks the SDK for new settings, and the entries of the reader search.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx::cli {

constexpr int kDefaultLanPort = 10001;
// The LAN configuration dialog takes DHCP names of at most 15 characters.
constexpr size_t kLongestDhcpName = 15;

// Strict dotted IPv4 text (four numbers 0-255, nothing else), as four numbers.
std::optional<std::vector<int>> ParseDottedAddress(std::string_view text);

// Each returns an error text, empty when the value is fine.
std::string CheckDhcpName(std::string_view name);
std::string CheckFixedAddress(std::string_view address);
std::string CheckSubnetMask(std::string_view mask);
std::string CheckGateway(std::string_view gateway);
// A TCP port 1..65535; empty when `text` is none.
std::optional<int> ParseTcpPort(std::string_view text);

// A reader's network settings, as the LAN configuration dialog shows them.
struct LanSettings {
  bool dhcp = false;
  std::string dhcpName;
  std::string address;  // the fixed address; empty in DHCP mode
  int port = kDefaultLanPort;
  std::string mask;
  std::string gateway;

  bool operator==(const LanSettings&) const = default;
};

// From the four texts of KxLfGetNetworkConfig: the name text ("[LAB01]-10001"), the address
// text ("198.18.0.20-10001", empty for DHCP), the mask and the gateway.
LanSettings SettingsFromConfigTexts(std::string_view nameText, std::string_view addressText,
                                    std::string_view mask, std::string_view gateway);

// What `lan set` changes; what is not given stays as the reader has it.
struct LanChange {
  std::optional<std::string> dhcpName;  // switch to (or stay with) DHCP under this name
  std::optional<std::string> address;   // switch to (or stay at) this fixed address
  std::optional<int> port;
  std::optional<std::string> mask;
  std::optional<std::string> gateway;
};

// The settings after the change; an error text when they cannot be made (a DHCP reader without
// a name that stays in DHCP mode).
struct ChangedSettings {
  LanSettings settings;
  std::string error;
};
ChangedSettings ApplyChange(const LanSettings& current, const LanChange& change);

// The address text of KxLfSetNetworkConfig, which is also the reader's name afterwards:
// "[LAB01]-10001" for DHCP, "198.18.0.50-10001" for a fixed address.
std::string AddressText(const LanSettings& settings);

// One line of the reader search: the text the search gave, the name to reach the reader by, and
// its parts.
struct LanEntry {
  std::string entry;       // "[LAB01]198.18.0.33-10001", "198.18.0.20-10001", "[LAB01]"
  bool confirmed = false;  // passed the identity test: a reader of the family
  std::string reader;      // "[LAB01]" for a DHCP reader, else the entry
  std::string dhcpName;    // LAB01; empty for a fixed reader
  std::string address;     // where it answered; may be empty for a confirmed DHCP name alone
  std::optional<int> port;
};

LanEntry SplitLanEntry(std::string_view entry, bool confirmed);

// The list of the IP list dialog: the confirmed readers first, in the search's order; a device
// entry whose text, or bracketed name, equals a reader's (letter case ignored) takes that
// reader's place with its full text; other devices follow unconfirmed.
std::vector<LanEntry> MergeLanLists(const std::vector<std::string>& readers,
                                    const std::vector<std::string>& devices);

}  // namespace kx::cli
