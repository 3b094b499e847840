// A LAN reader's network settings and the reader search's list, as texts: the settings read
// from the texts of KxLfGetNetworkConfig, the address text that KxLfSetNetworkConfig takes,
// and the merge of the confirmed readers with the devices that answered the search. Shared by
// the two network dialogs and kx-cli's lan commands; no network, no window.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx::flows {

constexpr int kDefaultLanPort = 10001;
// A reader keeps DHCP names of at most 15 characters.
constexpr size_t kLongestDhcpName = 15;

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
// text ("198.18.0.20-10001", empty for DHCP), the mask and the gateway. A port above 65535
// reads as 65536, which no check lets through.
LanSettings SettingsFromConfigTexts(std::string_view nameText, std::string_view addressText,
                                    std::string_view mask, std::string_view gateway);

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
// reader's place with its full text; other devices follow unconfirmed. Empty entries are left
// out.
std::vector<LanEntry> MergeLanLists(const std::vector<std::string>& readers,
                                    const std::vector<std::string>& devices);

}  // namespace kx::flows
