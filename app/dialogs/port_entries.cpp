#include "dialogs/port_entries.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace kx::dialogs {

namespace {

constexpr char kComDevicePrefix[] = "\\\\.\\";
constexpr char kBluetoothPrefix[] = "Bluetooth: ";
constexpr char kDevicePathPrefix[] = "/dev/";

constexpr const char* kSwitchableArticles[] = {"5164-", "5166-", "5391-", "5396-",
                                               "5361-", "5371-", "6040-", "6045-"};
constexpr const char* kVirtualComMarkers[] = {" [Orv Virtual COM", " [QL-4 Virtual COM"};

// Found at a position after the first character.
bool ContainsAfterFirst(const QString& text, const QString& part) {
  return text.indexOf(part, 1) > 0;
}

struct ComEntry {
  QString name;   // what opens it
  QString shown;  // what the operator reads
};

// "<link> [description] (<kernel device>)" -> the link with its description, and the kernel
// device with the description; any other entry is both.
ComEntry SplitComEntry(const std::string& port) {
  QString text = QString::fromLocal8Bit(port);
  if (text.startsWith(QLatin1String(kComDevicePrefix)))
    text.remove(0, static_cast<int>(std::strlen(kComDevicePrefix)));
  const int kernelAt = text.lastIndexOf(QLatin1String(" (") + QLatin1String(kDevicePathPrefix));
  if (!text.startsWith(QLatin1String(kDevicePathPrefix)) || kernelAt < 0 || !text.endsWith(u')'))
    return {text, text};
  const QString name = text.left(kernelAt);
  const QString kernel = text.mid(kernelAt + 2, text.size() - kernelAt - 3);
  const int description = name.indexOf(QLatin1String(" ["));
  return {name, kernel + (description < 0 ? QString() : name.mid(description))};
}

QStringList Entries(const std::list<std::string>& comPorts,
                    const std::list<std::string>& usbReaders,
                    const std::list<std::string>& lanReaders, QString ComEntry::*part) {
  QStringList texts;
  for (const std::string& port : comPorts)
    texts.append(SplitComEntry(port).*part);
  for (const std::string& reader : usbReaders)
    texts.append(QLatin1String(kUsbPrefix) + QString::fromLocal8Bit(reader));
  for (const std::string& reader : lanReaders)
    texts.append(QLatin1String(kLanPrefix) + QString::fromLocal8Bit(reader));
  return texts;
}

}  // namespace

QStringList EntryTexts(const std::list<std::string>& comPorts,
                       const std::list<std::string>& usbReaders,
                       const std::list<std::string>& lanReaders) {
  return Entries(comPorts, usbReaders, lanReaders, &ComEntry::shown);
}

QStringList EntryNames(const std::list<std::string>& comPorts,
                       const std::list<std::string>& usbReaders,
                       const std::list<std::string>& lanReaders) {
  return Entries(comPorts, usbReaders, lanReaders, &ComEntry::name);
}

bool IsSwitchableHidReader(const QString& text) {
  if (!ContainsAfterFirst(text, QStringLiteral(" HID")))
    return false;
  return std::any_of(
      std::begin(kSwitchableArticles), std::end(kSwitchableArticles),
      [&text](const char* article) { return ContainsAfterFirst(text, QLatin1String(article)); });
}

bool IsMakersVirtualComPort(const QString& text) {
  // The description follows the port's own name: "COM3 [...]" or "/dev/ttyACM0 [...]".
  int nameLength = 0;
  if (text.startsWith(QLatin1String("COM")))
    nameLength = 4;
  else if (text.startsWith(QLatin1String(kDevicePathPrefix)))
    nameLength = static_cast<int>(std::strlen(kDevicePathPrefix));
  if (nameLength == 0 || text.size() < 4)
    return false;
  const QString rest = text.mid(nameLength);
  return std::any_of(std::begin(kVirtualComMarkers), std::end(kVirtualComMarkers),
                     [&rest](const char* marker) { return rest.contains(QLatin1String(marker)); });
}

bool HasSerialParameters(const QString& name) {
  return !name.startsWith(QLatin1String(kUsbPrefix)) && !name.startsWith(QLatin1String(kLanPrefix));
}

QString ConnectionName(const QString& name, int deviceAddress) {
  QString port = name;
  for (const char* prefix : {kUsbPrefix, kLanPrefix, kBluetoothPrefix}) {
    if (port.startsWith(QLatin1String(prefix))) {
      port.remove(0, static_cast<int>(std::strlen(prefix)));
      break;
    }
  }
  return port + u':' + QString::number(deviceAddress);
}

BaudSetting SplitBaudCode(int code) {
  const int format = code % 100;
  BaudSetting setting;
  setting.rate = code - format;
  switch (format) {
    case 1:
      setting.parityIndex = 1;
      break;
    case 2:
      setting.parityIndex = 2;
      break;
    case 3:
      setting.stopBitsIndex = 1;
      break;
    default:
      break;
  }
  return setting;
}

int ComposeBaudCode(int rate, int parityIndex, int stopBitsIndex) {
  if (parityIndex == 1)
    return rate + 1;
  if (parityIndex == 2)
    return rate + 2;
  if (parityIndex == 0 && stopBitsIndex == 1)
    return rate + 3;
  return rate;
}

std::list<std::string> ParseStringList(const char* buffer, int size, int result) {
  std::list<std::string> strings;
  const int end = std::min(result, size);
  int at = 0;
  while (at < end && buffer[at] != '\0') {
    const char* start = buffer + at;
    const char* nul = static_cast<const char*>(std::memchr(start, '\0', end - at));
    const int length = nul != nullptr ? static_cast<int>(nul - start) : end - at;
    strings.emplace_back(start, length);
    at += length + 1;
  }
  return strings;
}

bool MergeStringList(std::list<std::string>& list, const std::list<std::string>& fresh) {
  bool changed = false;
  auto cursor = list.begin();
  bool cursorLeft = true;
  for (const std::string& entry : fresh) {
    if (cursorLeft && cursor != list.end()) {
      if (*cursor == entry) {
        ++cursor;
        continue;
      }
      *cursor = entry;
      list.erase(std::next(cursor), list.end());
      cursorLeft = false;
      changed = true;
      continue;
    }
    cursorLeft = false;
    list.push_back(entry);
    changed = true;
  }
  if (cursorLeft && cursor != list.end()) {
    list.erase(cursor, list.end());
    changed = true;
  }
  return changed;
}

}  // namespace kx::dialogs
