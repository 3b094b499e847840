// The texts of the two network dialogs, free of windows and network: the merged list of what a
// search found, the settings shown for a reader's configuration texts, and the address text
// that writes them back.
#pragma once

#include <QString>
#include <list>
#include <string>
#include <vector>

namespace kx::dialogs {

// Item values of the list of found readers.
inline constexpr int kConfirmedReader = 1;  // passed the identity test
inline constexpr int kOtherDevice = 2;      // answered the search, not known as a reader

struct FoundEntry {
  QString text;
  int value = kConfirmedReader;
};

// The confirmed readers in their order, each replaced at its place by the device entry that
// names it (a DHCP reader's "[NAME]" by "[NAME]address-port"); device entries that name no
// confirmed reader follow as other devices.
std::vector<FoundEntry> MergeFoundEntries(const std::list<std::string>& readers,
                                          const std::list<std::string>& devices);

// What the interface dialog stores for a reader chosen in the list: the text up to and with the
// first "]" when one stands after the first character, else the whole text.
QString ReaderNameOf(const QString& listText);

// Address modes of the configuration dialog.
inline constexpr int kDhcpMode = 0;
inline constexpr int kFixedMode = 1;
inline constexpr int kDefaultReaderPort = 10001;

struct LanSettings {
  int mode = kDhcpMode;
  QString fixedAddress;  // dotted, empty for none
  int port = kDefaultReaderPort;
  QString dhcpName;
};

// The settings shown for the texts that the SDK reads from a reader: the name text "[NAME]-port"
// and the address text "a.b.c.d-port", empty for a reader that takes its address from DHCP.
LanSettings SettingsFromConfig(const QString& nameText, const QString& addressText);

// The address text to write: "[NAME]-port" in DHCP mode, "a.b.c.d-port" with a fixed address.
QString AddressTextFor(int mode, const QString& fixedAddress, const QString& dhcpName, int port);

// Whether a fixed address can be written: not blank (empty) and not 0.0.0.0, which means
// "none".
bool IsUsableFixedAddress(const QString& dotted);

}  // namespace kx::dialogs
