#include "convert/increment.h"

#include <vector>

#include "convert/byte_text.h"
#include "convert/decimal.h"

namespace kx::convert {

namespace {

struct SplitText {
  std::string_view prefix;
  std::string_view run;
  std::string_view suffix;
};

SplitText SplitAroundDigits(std::string_view text, bool hexDigits) {
  const auto isDigit = hexDigits ? IsHexDigit : IsDecimalDigit;
  SplitText split;
  size_t first = 0;
  while (first < text.size() && !isDigit(text[first]))
    ++first;
  if (first < text.size()) {
    split.prefix = text.substr(0, first);
    text.remove_prefix(first);
  }
  size_t end = text.size();
  while (end > 0 && !isDigit(text[end - 1]))
    --end;
  split.run = text.substr(0, end);
  split.suffix = text.substr(end);
  return split;
}

std::string IncrementDecimal(std::string_view run) {
  const auto value = static_cast<uint64_t>(ParseDecimal(run));
  // Unsigned addition wraps where the signed one would overflow.
  return FormatDecimal(static_cast<int64_t>(value + 1));
}

}  // namespace

std::string IncrementHexDigits(std::string_view digits) {
  std::vector<uint8_t> values(digits.size());
  for (size_t i = 0; i < digits.size(); ++i)
    values[i] = HexDigitValue(digits[i]);
  for (size_t i = values.size(); i > 0; --i) {
    uint8_t& value = values[i - 1];
    value = static_cast<uint8_t>(value + 1);
    if (value != 16)
      break;
    value = 0;
  }
  std::string result(digits.size(), '0');
  for (size_t i = 0; i < values.size(); ++i)
    result[i] = HexDigitChar(values[i]);
  return result;
}

std::string IncrementValue(std::string_view text, DataFormat format, int n, bool extraTextAllowed,
                           bool leadingZerosTicked) {
  SplitText split;
  if (extraTextAllowed) {
    split = SplitAroundDigits(text, format == DataFormat::kHexAscii);
  } else {
    split.run = text;
  }

  std::string run;
  switch (format) {
    case DataFormat::kHexBinary:
    case DataFormat::kHexAscii:
      run = IncrementHexDigits(split.run);
      break;
    case DataFormat::kDecimalBinary:
    case DataFormat::kDecimalAscii:
      run = IncrementDecimal(split.run);
      if (format == DataFormat::kDecimalAscii && leadingZerosTicked && n <= kMaxByteCount) {
        const int64_t zeros = static_cast<int64_t>(n) - static_cast<int64_t>(split.prefix.size()) -
                              static_cast<int64_t>(split.suffix.size()) -
                              static_cast<int64_t>(run.size());
        if (zeros > 0)
          run.insert(0, static_cast<size_t>(zeros), '0');
      }
      break;
    default:
      return std::string(text);
  }
  std::string result(split.prefix);
  result += run;
  result += split.suffix;
  return result;
}

}  // namespace kx::convert
