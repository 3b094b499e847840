#include "convert/byte_text.h"

#include <algorithm>

namespace kx::convert {

uint8_t HexDigitValue(char character) {
  if (character >= '0' && character <= '9')
    return static_cast<uint8_t>(character - '0');
  if (character >= 'A' && character <= 'F')
    return static_cast<uint8_t>(character - 'A' + 10);
  if (character >= 'a' && character <= 'f')
    return static_cast<uint8_t>(character - 'a' + 10);
  return kNotAHexDigit;
}

bool IsHexDigit(char character) {
  return HexDigitValue(character) != kNotAHexDigit;
}

bool IsDecimalDigit(char character) {
  return character >= '0' && character <= '9';
}

char HexDigitChar(unsigned value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return kDigits[value & 0x0F];
}

uint8_t HexPairValue(char high, char low) {
  return static_cast<uint8_t>((HexDigitValue(high) << 4) | HexDigitValue(low));
}

std::string FormatBytes(const Bytes& bytes, int count, ByteTextMode mode, bool separator) {
  const size_t limit = std::min(bytes.size(), static_cast<size_t>(std::max(count, 0)));
  std::string text;
  if (mode == ByteTextMode::kCharacters) {
    text.assign(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(limit));
    return text;
  }
  text.reserve(limit * 3);
  for (size_t i = 0; i < limit; ++i) {
    if (separator && i > 0)
      text += ' ';
    text += HexDigitChar(bytes[i] >> 4);
    text += HexDigitChar(bytes[i]);
  }
  return text;
}

Bytes ReverseBytes(Bytes buffer) {
  std::reverse(buffer.begin(), buffer.end());
  return buffer;
}

}  // namespace kx::convert
