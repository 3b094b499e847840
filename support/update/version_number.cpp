#include "update/version_number.h"

#include <algorithm>

namespace kx::update {

namespace {

// Larger numbers than a version can sensibly have are all the same.
constexpr uint64_t kLargestPart = 0xFFFFFFFFu;

uint64_t LeadingDigits(std::string_view text) {
  uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9')
      break;
    value = std::min(value * 10 + static_cast<uint64_t>(c - '0'), kLargestPart);
  }
  return value;
}

}  // namespace

uint64_t VersionNumber(std::string_view text) {
  const size_t dot = text.find('.');
  if (dot == std::string_view::npos || dot == 0)
    return LeadingDigits(text) * 1000;
  return LeadingDigits(text.substr(0, dot)) * 1000 + LeadingDigits(text.substr(dot + 1));
}

std::string InstalledVersionText(std::string_view productVersion) {
  constexpr size_t kTooLong = 20;
  constexpr size_t kShort = 4;
  if (productVersion.empty() || productVersion.size() >= kTooLong)
    return "-.--";
  std::string text(productVersion);
  if (text.size() < kShort)
    text += ' ';
  return text;
}

}  // namespace kx::update
