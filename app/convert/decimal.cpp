#include "convert/decimal.h"

#include <limits>

namespace kx::convert {

namespace {

bool IsWhiteSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

int64_t ParseDecimal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsWhiteSpace(text[i]))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate the magnitude unsigned: the negative limit has no positive counterpart.
  const uint64_t limit =
      negative ? uint64_t{1} << 63 : uint64_t{std::numeric_limits<int64_t>::max()};
  uint64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const uint64_t digit = static_cast<uint64_t>(text[i] - '0');
    if (magnitude > (limit - digit) / 10) {
      magnitude = limit;
      break;
    }
    magnitude = magnitude * 10 + digit;
  }
  if (!negative)
    return static_cast<int64_t>(magnitude);
  return magnitude == limit ? std::numeric_limits<int64_t>::min()
                            : -static_cast<int64_t>(magnitude);
}

std::string FormatDecimal(int64_t value) {
  return std::to_string(value);
}

bool ValueFitsBytes(int64_t value, int n) {
  if (value < 0 || n >= 8)
    return true;
  if (n <= 0)
    return value == 0;
  // Compared in integers: in double precision 2^56 - 1 rounds up to 2^56, and 7-byte values just
  // above the limit would pass and lose their top bits.
  return static_cast<uint64_t>(value) <= (uint64_t{1} << (8 * n)) - 1;
}

}  // namespace kx::convert
