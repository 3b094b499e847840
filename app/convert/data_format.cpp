#include "convert/data_format.h"

#include <algorithm>

namespace kx::convert {

namespace {

// A signed 64-bit number has at most 19 digits and a sign.
constexpr int kDecimalTextLimit = 20;

}  // namespace

std::optional<DataFormat> DataFormatFromIndex(int index) {
  if (index < 0 || index > static_cast<int>(DataFormat::kDataAscii))
    return std::nullopt;
  return static_cast<DataFormat>(index);
}

ByteCountRange AcceptedByteCounts(DataFormat format) {
  if (format == DataFormat::kDecimalBinary)
    return {1, kMaxDecimalBinaryByteCount};
  return {1, kMaxByteCount};
}

int WriteTextLimit(DataFormat format, int n) {
  // Clamped so that the limit never overflows and never goes negative, whatever n holds.
  const int count = std::clamp(n, 0, kMaxByteCount);
  switch (format) {
    case DataFormat::kHexBinary:
      return 2 * count;
    case DataFormat::kDecimalBinary:
    case DataFormat::kDecimalAscii:
      return kDecimalTextLimit;
    case DataFormat::kDataBinary:
      return 3 * count;
    case DataFormat::kHexAscii:
    case DataFormat::kDataAscii:
    default:
      return count;
  }
}

}  // namespace kx::convert
