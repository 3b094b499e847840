// Whole numbers in option values, stored settings and the program state: decimal digits with an
// optional minus sign, nothing before or after them, within the type.
#pragma once

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace kx::cli {

template <typename Integer>
std::optional<Integer> ParseWholeNumber(std::string_view text) {
  Integer value = 0;
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || rest != end)
    return std::nullopt;
  return value;
}

}  // namespace kx::cli
