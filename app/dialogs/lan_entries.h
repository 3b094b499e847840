// The network dialogs' side of the reader search's texts: the merged list as the IP list dialog
// shows it, and what the interface dialog keeps of a chosen entry. The rules of the merge, of a
// reader's settings and of the address text are the flows' (flows/lan_settings.h); this edge
// only turns their texts into the dialogs' QStrings and item values.
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

// The merged list of flows::MergeLanLists with the list's item values.
std::vector<FoundEntry> MergeFoundEntries(const std::list<std::string>& readers,
                                          const std::list<std::string>& devices);

// What the interface dialog stores for a reader chosen in the list: the text up to and with the
// first "]" when one stands after the first character, else the whole text.
QString ReaderNameOf(const QString& listText);

// Address modes of the configuration dialog.
inline constexpr int kDhcpMode = 0;
inline constexpr int kFixedMode = 1;

// Whether a fixed address can be written: not blank (empty) and not 0.0.0.0, which means
// "none".
bool IsUsableFixedAddress(const QString& dotted);

}  // namespace kx::dialogs
