// The texts of the LAN commands, without a network: checking what the command line asks for and
// applying a change to the reader's settings. The settings' and the search's texts themselves
// are the flows' (flows/lan_settings.h), shared with the network dialogs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flows/lan_settings.h"

namespace kx::cli {

using flows::AddressText;
using flows::kLongestDhcpName;
using flows::LanEntry;
using flows::LanSettings;
using flows::MergeLanLists;
using flows::SettingsFromConfigTexts;
using flows::SplitLanEntry;

// Strict dotted IPv4 text (four numbers 0-255, nothing else), as four numbers.
std::optional<std::vector<int>> ParseDottedAddress(std::string_view text);

// Each returns an error text, empty when the value is fine.
std::string CheckDhcpName(std::string_view name);
std::string CheckFixedAddress(std::string_view address);
std::string CheckSubnetMask(std::string_view mask);
std::string CheckGateway(std::string_view gateway);
// A TCP port 1..65535; empty when `text` is none.
std::optional<int> ParseTcpPort(std::string_view text);

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

}  // namespace kx::cli
