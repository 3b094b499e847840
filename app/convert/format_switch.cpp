#include "convert/format_switch.h"

#include "convert/display_conversion.h"
#include "convert/write_conversion.h"

namespace kx::convert {

namespace {

// DataBinary bounded by n rather than by whole blocks.
Bytes DataBinaryBytes(std::string_view text, int n) {
  if (n < 1 || n > kMaxByteCount)
    return {};
  Bytes bytes(static_cast<size_t>(n), 0);
  PutHexPairs(text, bytes);
  return bytes;
}

void AddStatus(std::vector<Message>& statuses, const Message& message) {
  // One cause shows one line, even when both directions report it.
  if (statuses.empty() || statuses.back() != message)
    statuses.push_back(message);
}

}  // namespace

SwitchedText SwitchFormatText(std::string_view text, DataFormat from, DataFormat to, int n,
                              int typeIndex, bool leadingZeros) {
  SwitchedText result;
  if (from == to) {
    result.text = text;
    return result;
  }
  Bytes bytes;
  switch (from) {
    case DataFormat::kHexBinary: {
      WriteBuffer buffer = TextToBytes(text, from, n, typeIndex, leadingZeros);
      if (buffer.failure)
        AddStatus(result.statuses, *buffer.failure);
      bytes = std::move(buffer.bytes);
      break;
    }
    case DataFormat::kDecimalBinary:
      // A value that does not suit gives no bytes, and no status line of its own.
      bytes = TextToBytes(text, from, n, typeIndex, leadingZeros).bytes;
      break;
    case DataFormat::kDataBinary:
      bytes = DataBinaryBytes(text, n);
      break;
    case DataFormat::kHexAscii:
    case DataFormat::kDecimalAscii:
    case DataFormat::kDataAscii:
    default:
      bytes = AsciiTextToBytes(text, n, typeIndex, leadingZeros).bytes;
      break;
  }
  DisplayText display = BytesToText(bytes, to, n);
  if (display.failure)
    AddStatus(result.statuses, *display.failure);
  result.text = std::move(display.text);
  return result;
}

}  // namespace kx::convert
