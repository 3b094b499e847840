#include "transport/port_name.h"

#include <sys/stat.h>
#include <algorithm>

#include <climits>
#include <string>

#include "transport/ascii_case.h"

namespace kxlf {
namespace {

constexpr std::string_view kDevicePathPrefix = "/dev/";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool ContainsComIgnoringCase(std::string_view text) {
  for (size_t i = 0; i + 3 <= text.size(); ++i) {
    if (EqualsAsciiNoCase(text.substr(i, 3), "COM"))
      return true;
  }
  return false;
}

struct ArticleRange {
  int first;
  int last;
};

constexpr ArticleRange kArticleNumbers[] = {
    {4841, 4841}, {4865, 4865}, {4877, 4877}, {4881, 4881}, {5361, 5380},
    {5391, 5400}, {5421, 5421}, {6040, 6139}, {7722, 7731},
};

}  // namespace

bool IsDevicePath(std::string_view name) {
  if (name.starts_with(kDevicePathPrefix))
    return true;
  if (!name.starts_with('/'))
    return false;
  // The path may carry a description after it, as the port list shows it.
  const std::string path(name.substr(0, std::min(name.find(" ["), name.find(" ("))));
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISCHR(status.st_mode);
}

PortAddress SplitDeviceAddress(std::string_view text) {
  const size_t colon = text.rfind(':');
  if (colon == std::string_view::npos || colon + 1 == text.size()) {
    return {std::string(text), kDefaultDeviceAddress};
  }
  long long address = 0;
  for (size_t i = colon + 1; i < text.size() && IsDigit(text[i]); ++i) {
    address = std::min<long long>(address * 10 + (text[i] - '0'), INT_MAX);
  }
  return {std::string(text.substr(0, colon)), static_cast<int>(address)};
}

PortKind ClassifyPortName(std::string_view name) {
  if (IsDevicePath(name))
    return PortKind::kSerial;
  if (name.starts_with('['))
    return PortKind::kLan;
  if (name.size() > 1 && std::count(name.begin() + 1, name.end(), '.') >= 3)
    return PortKind::kLan;
  if (name.find("HID") != std::string_view::npos)
    return PortKind::kHid;
  return PortKind::kSerial;
}

int EffectiveBaudRate(std::string_view portName, int baudRate) {
  if (ContainsComIgnoringCase(portName) || IsDevicePath(portName))
    return baudRate;
  return kFixedBaudRate;
}

SerialFormat SerialFormatFromOptions(int options) {
  switch (options & 0x0F) {
    case 1:
      return {'E', 1};
    case 2:
      return {'O', 1};
    case 3:
      return {'N', 2};
    default:
      return {'N', 1};
  }
}

bool HasFamilyArticleNumber(std::string_view entry) {
  int number = 0;
  for (size_t i = 0; i < entry.size() && i < 4 && IsDigit(entry[i]); ++i) {
    number = number * 10 + (entry[i] - '0');
  }
  return std::any_of(
      std::begin(kArticleNumbers), std::end(kArticleNumbers),
      [number](const ArticleRange& r) { return number >= r.first && number <= r.last; });
}

}  // namespace kxlf
