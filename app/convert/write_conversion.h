// The write text turned into the bytes that are written to the transponder.
#pragma once

#include <optional>
#include <string_view>

#include "convert/block_geometry.h"
#include "convert/data_format.h"
#include "convert/messages.h"

namespace kx::convert {

struct WriteBuffer {
  std::optional<Message> failure;  // status line of a failed conversion
  Geometry geometry;               // the blocks to write
  Bytes bytes;                     // geometry.ByteSize() bytes: the value, then zero bytes

  bool ok() const { return !failure.has_value(); }
};

// Fails with kNoData for an empty text, with kDecimalByteCountAbove8 or kByteCountTooSmall in
// DecimalBinary, and with the range message when n is outside AcceptedByteCounts(format).
// leadingZeros pads the ASCII formats with "0" up to n characters.
WriteBuffer TextToBytes(std::string_view text, DataFormat format, int n, int typeIndex,
                        bool leadingZeros);

// The branch of HexAscii, DecimalAscii and DataAscii: the first n characters as bytes. An empty
// text gives zero bytes; only an n outside 1..kMaxByteCount fails.
WriteBuffer AsciiTextToBytes(std::string_view text, int n, int typeIndex, bool leadingZeros);

// The DataBinary value: hex pairs, blanks between pairs skipped, until the text or the buffer
// ends. Bytes the text does not reach keep their value.
void PutHexPairs(std::string_view text, Bytes& buffer);

// The standard message for a byte count outside the format's range, nullopt when n is accepted.
// DecimalBinary above 8 is reported as kDecimalByteCountAbove8.
std::optional<Message> CheckByteCount(DataFormat format, int n);

}  // namespace kx::convert
