#include "flows/lan_settings.h"

#include <algorithm>

namespace kx::flows {

namespace {

constexpr int kHighestTcpPort = 65535;

// The leading decimal digits of `text` as a number. Leading zeros count for nothing however
// many there are; a number above any port stops at 65536 instead of overflowing.
int LeadingNumber(std::string_view text) {
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      break;
    value = std::min<long>(value * 10 + (c - '0'), kHighestTcpPort + 1);
  }
  return static_cast<int>(value);
}

// Reader names are ASCII; a byte outside it compares as it is.
bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

// A DHCP reader's device entry is known by its bracketed name, every other one by itself.
std::string_view KeyOf(std::string_view deviceEntry) {
  const size_t close = deviceEntry.find(']');
  return deviceEntry.starts_with('[') && close != std::string_view::npos
             ? deviceEntry.substr(0, close + 1)
             : deviceEntry;
}

}  // namespace

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
    // The name text's port is the one a DHCP reader uses; a fixed reader's comes with its address.
    if (settings.dhcp && nameText.substr(close + 1).starts_with('-'))
      settings.port = LeadingNumber(nameText.substr(close + 2));
  } else {
    settings.dhcpName = std::string(nameText);
  }
  return settings;
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
    const std::string_view key = KeyOf(device);
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

}  // namespace kx::flows
