// The six data formats of the write text and the read display, and the limits that follow from
// the format and the byte count n.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kx::convert {

using Bytes = std::vector<uint8_t>;

// The index is what the settings and the data record files store ("Datenformat") and the order of
// the format radio buttons.
enum class DataFormat : int {
  kHexBinary = 0,      // big-endian hex number, sent least significant byte first
  kHexAscii = 1,       // hex digits sent as characters
  kDecimalBinary = 2,  // signed decimal number, sent as n little-endian bytes
  kDecimalAscii = 3,   // decimal digits sent as characters
  kDataBinary = 4,     // hex byte pairs, optionally separated by blanks, first byte first
  kDataAscii = 5,      // free text sent as characters
};

// nullopt for an index outside 0..5 (a hand-edited data record file can hold one).
std::optional<DataFormat> DataFormatFromIndex(int index);

// Highest byte count of every format; the transponders' largest user memory fits into it.
constexpr int kMaxByteCount = 1023;
// Highest byte count of DecimalBinary: the value is a signed 64-bit number.
constexpr int kMaxDecimalBinaryByteCount = 8;

struct ByteCountRange {
  int lowest;
  int highest;
};

// The byte counts a write or a display in the format accepts.
ByteCountRange AcceptedByteCounts(DataFormat format);

// Longest write text the write edit of the format takes: 2n, n, 20, 20, 3n, n.
int WriteTextLimit(DataFormat format, int n);

}  // namespace kx::convert
