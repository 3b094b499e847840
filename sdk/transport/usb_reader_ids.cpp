#include "transport/usb_reader_ids.h"

#include <algorithm>
#include <optional>

namespace kxlf {
namespace {

std::optional<uint16_t> ParseHexId(std::string_view text) {
  if (text.size() != 4)
    return std::nullopt;
  uint16_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return std::nullopt;
    value = static_cast<uint16_t>(value * 16 + digit);
  }
  return value;
}

}  // namespace

bool IsUsbReader(UsbReaderKind kind, uint16_t vendorId, uint16_t productId) {
  return std::ranges::any_of(kUsbReaderIds, [&](const UsbReaderId& id) {
    return id.kind == kind && id.vendorId == vendorId && id.productId == productId;
  });
}

bool IsUsbReader(UsbReaderKind kind, std::string_view vendorId, std::string_view productId) {
  const std::optional<uint16_t> vendor = ParseHexId(vendorId);
  const std::optional<uint16_t> product = ParseHexId(productId);
  return vendor && product && IsUsbReader(kind, *vendor, *product);
}

}  // namespace kxlf
