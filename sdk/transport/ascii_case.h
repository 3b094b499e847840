// Letter-case-blind comparison for port names and USB identifiers, which are plain ASCII.
#pragma once

#include <algorithm>
#include <string_view>

namespace kxlf {

inline char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace kxlf
