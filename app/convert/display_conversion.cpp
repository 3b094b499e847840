#include "convert/display_conversion.h"

#include <algorithm>

#include "convert/byte_text.h"
#include "convert/decimal.h"
#include "convert/write_conversion.h"

namespace kx::convert {

namespace {

Bytes FirstBytes(const Bytes& bytes, size_t count) {
  Bytes first(count, 0);
  std::copy_n(bytes.begin(), std::min(count, bytes.size()), first.begin());
  return first;
}

int64_t LittleEndianValue(const Bytes& eightBytes) {
  uint64_t bits = 0;
  for (size_t i = 0; i < 8; ++i)
    bits |= static_cast<uint64_t>(eightBytes[i]) << (8 * i);
  return static_cast<int64_t>(bits);
}

}  // namespace

DisplayText BytesToText(const Bytes& bytes, DataFormat format, int n) {
  DisplayText result;
  if (auto failure = CheckByteCount(format, n)) {
    result.failure = failure;
    return result;
  }
  const auto count = static_cast<size_t>(n);
  switch (format) {
    case DataFormat::kHexBinary:
      result.text = FormatBytes(ReverseBytes(FirstBytes(bytes, count)), n, ByteTextMode::kHex);
      break;
    case DataFormat::kDecimalBinary:
      // All eight bytes count, whatever n is: the block holds the whole number.
      result.text = FormatDecimal(LittleEndianValue(FirstBytes(bytes, 8)));
      break;
    case DataFormat::kDataBinary:
      result.text = FormatBytes(FirstBytes(bytes, count), n, ByteTextMode::kHex, true);
      break;
    case DataFormat::kHexAscii:
    case DataFormat::kDecimalAscii:
    case DataFormat::kDataAscii:
    default: {
      std::string characters = FormatBytes(bytes, n, ByteTextMode::kCharacters);
      result.text = characters.substr(0, characters.find('\0'));
      break;
    }
  }
  return result;
}

}  // namespace kx::convert
