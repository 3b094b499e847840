// Bytes read from a transponder turned into the display text of a format.
#pragma once

#include <optional>
#include <string>

#include "convert/data_format.h"
#include "convert/messages.h"

namespace kx::convert {

struct DisplayText {
  std::optional<Message> failure;  // status line of a failed conversion; the text is then empty
  std::string text;

  bool ok() const { return !failure.has_value(); }
};

// Missing bytes (a buffer shorter than the format needs) count as zero bytes. The ASCII formats
// end at the first zero byte, as an edit control shows them. Fails with kDecimalByteCountAbove8
// in DecimalBinary above 8 bytes, and with the range message for other byte counts outside
// AcceptedByteCounts(format).
DisplayText BytesToText(const Bytes& bytes, DataFormat format, int n);

}  // namespace kx::convert
