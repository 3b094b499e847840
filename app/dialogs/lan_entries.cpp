#include "dialogs/lan_entries.h"

#include "flows/lan_settings.h"

namespace kx::dialogs {

std::vector<FoundEntry> MergeFoundEntries(const std::list<std::string>& readers,
                                          const std::list<std::string>& devices) {
  std::vector<FoundEntry> entries;
  for (const flows::LanEntry& entry :
       flows::MergeLanLists({readers.begin(), readers.end()}, {devices.begin(), devices.end()})) {
    entries.push_back(
        {QString::fromLocal8Bit(entry.entry), entry.confirmed ? kConfirmedReader : kOtherDevice});
  }
  return entries;
}

QString ReaderNameOf(const QString& listText) {
  const int close = listText.indexOf(u']', 1);
  return close < 0 ? listText : listText.left(close + 1);
}

bool IsUsableFixedAddress(const QString& dotted) {
  return !dotted.isEmpty() && dotted != QLatin1String("0.0.0.0");
}

}  // namespace kx::dialogs
