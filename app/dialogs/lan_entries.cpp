#include "dialogs/lan_entries.h"

namespace kx::dialogs {

namespace {

// The decimal number at the start of `text`, as the reader's own texts carry it; 0 without one.
int LeadingNumber(const QString& text) {
  int digits = 0;
  while (digits < text.size() && digits < 9 && text[digits].isDigit())
    ++digits;
  return digits == 0 ? 0 : text.left(digits).toInt();
}

// A DHCP reader's device entry is known by its bracketed name, every other one by itself.
QString KeyOf(const QString& deviceEntry) {
  if (!deviceEntry.startsWith(u'['))
    return deviceEntry;
  const int close = deviceEntry.indexOf(u']');
  return close < 0 ? deviceEntry : deviceEntry.left(close + 1);
}

}  // namespace

std::vector<FoundEntry> MergeFoundEntries(const std::list<std::string>& readers,
                                          const std::list<std::string>& devices) {
  std::vector<FoundEntry> entries;
  for (const std::string& reader : readers) {
    if (!reader.empty())
      entries.push_back({QString::fromLocal8Bit(reader), kConfirmedReader});
  }
  for (const std::string& device : devices) {
    if (device.empty())
      continue;
    const QString text = QString::fromLocal8Bit(device);
    const QString key = KeyOf(text);
    bool replaced = false;
    for (FoundEntry& entry : entries) {
      if (entry.text.compare(key, Qt::CaseInsensitive) == 0) {
        entry = {text, kConfirmedReader};
        replaced = true;
        break;
      }
    }
    if (!replaced)
      entries.push_back({text, kOtherDevice});
  }
  return entries;
}

QString ReaderNameOf(const QString& listText) {
  const int close = listText.indexOf(u']', 1);
  return close < 0 ? listText : listText.left(close + 1);
}

LanSettings SettingsFromConfig(const QString& nameText, const QString& addressText) {
  LanSettings settings;
  if (!addressText.isEmpty()) {
    settings.mode = kFixedMode;
    const int dash = addressText.indexOf(u'-');
    if (dash >= 0) {
      settings.port = LeadingNumber(addressText.mid(dash + 1));
      settings.fixedAddress = addressText.left(dash);
    } else {
      settings.fixedAddress = addressText;
    }
  }
  const int close = nameText.indexOf(u']');
  if (nameText.startsWith(u'[') && close >= 0) {
    settings.dhcpName = nameText.mid(1, close - 1);
    if (nameText.mid(close + 1, 1) == u"-" && settings.mode == kDhcpMode)
      settings.port = LeadingNumber(nameText.mid(close + 2));
  } else {
    settings.dhcpName = nameText;
  }
  return settings;
}

QString AddressTextFor(int mode, const QString& fixedAddress, const QString& dhcpName, int port) {
  const QString address = mode == kFixedMode ? fixedAddress : u'[' + dhcpName + u']';
  return address + u'-' + QString::number(port);
}

bool IsUsableFixedAddress(const QString& dotted) {
  return !dotted.isEmpty() && dotted != QLatin1String("0.0.0.0");
}

}  // namespace kx::dialogs
