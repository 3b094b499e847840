#include "convert/write_conversion.h"

#include <algorithm>
#include <string>

#include "convert/byte_text.h"
#include "convert/decimal.h"

namespace kx::convert {

namespace {

WriteBuffer EmptyBuffer(int typeIndex, int n) {
  WriteBuffer result;
  result.geometry = BlockGeometry(typeIndex, n);
  result.bytes.assign(static_cast<size_t>(result.geometry.ByteSize()), 0);
  return result;
}

WriteBuffer Failure(Message message) {
  WriteBuffer result;
  result.failure = message;
  return result;
}

void PutLittleEndian(int64_t value, int n, Bytes& buffer) {
  const auto bits = static_cast<uint64_t>(value);
  const size_t count = std::min(buffer.size(), static_cast<size_t>(n));
  for (size_t i = 0; i < count; ++i)
    buffer[i] = static_cast<uint8_t>(bits >> (8 * i));
}

// The first 2n characters, padded with "0" in front to 2n, are a big-endian number of n bytes;
// the buffer gets it least significant byte first. n is within the accepted range here.
void PutHexNumber(std::string_view text, int n, Bytes& buffer) {
  const size_t digits = 2 * static_cast<size_t>(std::max(n, 0));
  std::string number(text.substr(0, digits));
  number.insert(0, digits - number.size(), '0');
  const size_t count = digits / 2;
  for (size_t k = 0; k < count; ++k) {
    const size_t target = count - 1 - k;
    if (target < buffer.size())
      buffer[target] = HexPairValue(number[2 * k], number[2 * k + 1]);
  }
}

}  // namespace

std::optional<Message> CheckByteCount(DataFormat format, int n) {
  const ByteCountRange range = AcceptedByteCounts(format);
  if (format == DataFormat::kDecimalBinary && n > range.highest) {
    return MessageId::kDecimalByteCountAbove8;
  }
  if (n < range.lowest || n > range.highest) {
    return StandardMessage{StandardMessageId::kEnterIntegerBetween, range.lowest, range.highest};
  }
  return std::nullopt;
}

void PutHexPairs(std::string_view text, Bytes& buffer) {
  size_t j = 0;
  for (size_t i = 0; j < text.size() && i < buffer.size(); ++i) {
    // A lone digit at the end pairs with a non-hex character.
    const char low = j + 1 < text.size() ? text[j + 1] : '\0';
    buffer[i] = HexPairValue(text[j], low);
    j += 2;
    while (j < text.size() && text[j] == ' ')
      ++j;
  }
}

WriteBuffer AsciiTextToBytes(std::string_view text, int n, int typeIndex, bool leadingZeros) {
  if (n < 1 || n > kMaxByteCount) {
    return Failure(StandardMessage{StandardMessageId::kEnterIntegerBetween, 1, kMaxByteCount});
  }
  std::string characters(text.substr(0, static_cast<size_t>(n)));
  if (leadingZeros)
    characters.insert(0, static_cast<size_t>(n) - characters.size(), '0');
  WriteBuffer result = EmptyBuffer(typeIndex, n);
  const size_t count = std::min(characters.size(), result.bytes.size());
  std::copy_n(characters.begin(), count, result.bytes.begin());
  return result;
}

WriteBuffer TextToBytes(std::string_view text, DataFormat format, int n, int typeIndex,
                        bool leadingZeros) {
  if (text.empty())
    return Failure(MessageId::kNoData);
  if (auto failure = CheckByteCount(format, n))
    return Failure(*failure);

  switch (format) {
    case DataFormat::kHexBinary: {
      WriteBuffer result = EmptyBuffer(typeIndex, n);
      PutHexNumber(text, n, result.bytes);
      return result;
    }
    case DataFormat::kDecimalBinary: {
      const int64_t value = ParseDecimal(text);
      if (!ValueFitsBytes(value, n))
        return Failure(MessageId::kByteCountTooSmall);
      WriteBuffer result = EmptyBuffer(typeIndex, n);
      PutLittleEndian(value, n, result.bytes);
      return result;
    }
    case DataFormat::kDataBinary: {
      WriteBuffer result = EmptyBuffer(typeIndex, n);
      PutHexPairs(text, result.bytes);
      return result;
    }
    case DataFormat::kHexAscii:
    case DataFormat::kDecimalAscii:
    case DataFormat::kDataAscii:
    default:
      return AsciiTextToBytes(text, n, typeIndex, leadingZeros);
  }
}

}  // namespace kx::convert
