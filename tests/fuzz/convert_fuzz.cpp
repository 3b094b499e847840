// Random write texts, byte counts, types and switches through every conversion. Beyond not
// crashing: buffers are whole blocks, display texts keep their lengths, and a validated write
// read back and written again gives the same value bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "convert/display_conversion.h"
#include "convert/format_switch.h"
#include "convert/increment.h"
#include "convert/leading_zeros.h"
#include "convert/validation.h"
#include "convert/write_conversion.h"

namespace {

using namespace kx::convert;

void Require(bool condition) {
  if (!condition)
    std::abort();
}

struct Input {
  DataFormat format;
  DataFormat other;
  int n;
  int type;
  bool leadingZeros;
  bool extraText;
  std::string_view text;
};

// Mostly byte counts near the valid range; now and then any 32-bit value.
int ByteCount(const uint8_t* data) {
  if (data[0] & 0x80) {
    int32_t any;
    std::memcpy(&any, data + 1, sizeof any);
    return any;
  }
  return ((data[0] << 8) | data[1]) % 1100 - 10;
}

void CheckDisplayLength(const DisplayText& display, DataFormat format, int n) {
  if (!display.ok()) {
    Require(display.text.empty());
    return;
  }
  const auto count = static_cast<size_t>(n);
  switch (format) {
    case DataFormat::kHexBinary:
      Require(display.text.size() == 2 * count);
      break;
    case DataFormat::kDataBinary:
      Require(display.text.size() == 3 * count - 1);
      break;
    case DataFormat::kDecimalBinary:
      Require(display.text.size() <= 20);
      break;
    default:
      Require(display.text.size() <= count);
      Require(display.text.find('\0') == std::string::npos);
      break;
  }
}

// A value that passed the validation, written, read back and written again, sends the same n
// bytes: the display text is a faithful form of what the transponder holds.
void CheckRewrite(const Input& in) {
  const std::string length = std::to_string(in.n);
  const ValidatedInput valid =
      ValidateWriteInput({in.format, in.type, length, in.text, in.extraText, true});
  if (!valid.ok())
    return;
  const WriteBuffer first = TextToBytes(in.text, in.format, valid.n, in.type, in.leadingZeros);
  if (!first.ok())
    return;
  const size_t compared = std::min(first.bytes.size(), static_cast<size_t>(valid.n));
  // A zero byte ends an ASCII display text; bytes after it cannot come back.
  const auto end = first.bytes.begin() + static_cast<ptrdiff_t>(compared);
  const auto zero = std::find(first.bytes.begin(), end, 0);
  const bool ascii = in.format == DataFormat::kHexAscii || in.format == DataFormat::kDecimalAscii ||
                     in.format == DataFormat::kDataAscii;
  if (ascii && std::any_of(zero, end, [](uint8_t b) { return b != 0; }))
    return;
  const DisplayText shown = BytesToText(first.bytes, in.format, valid.n);
  Require(shown.ok());
  if (shown.text.empty())
    return;
  const WriteBuffer again = TextToBytes(shown.text, in.format, valid.n, in.type, false);
  Require(again.ok());
  Require(std::equal(first.bytes.begin(), end, again.bytes.begin()));
}

void Run(const Input& in) {
  const WriteBuffer buffer = TextToBytes(in.text, in.format, in.n, in.type, in.leadingZeros);
  if (buffer.ok()) {
    Require(static_cast<int64_t>(buffer.bytes.size()) == buffer.geometry.ByteSize());
  } else {
    Require(buffer.bytes.empty());
  }
  const Bytes raw(in.text.begin(), in.text.end());
  CheckDisplayLength(BytesToText(buffer.bytes, in.other, in.n), in.other, in.n);
  CheckDisplayLength(BytesToText(raw, in.format, in.n), in.format, in.n);

  SwitchFormatText(in.text, in.format, in.other, in.n, in.type, in.leadingZeros);
  ApplyLeadingZeros(in.text, in.n, in.leadingZeros);
  const std::string next = IncrementValue(in.text, in.format, in.n, in.extraText, in.leadingZeros);
  if (!in.extraText &&
      (in.format == DataFormat::kHexBinary || in.format == DataFormat::kHexAscii)) {
    Require(next.size() == in.text.size());
  }
  CheckRewrite(in);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kHeader = 8;
  if (size < kHeader)
    return 0;
  Input in{
      static_cast<DataFormat>(data[0] % 6),
      static_cast<DataFormat>(data[1] % 6),
      ByteCount(data + 2),
      data[7] % 10 - 1,  // the eight types and one unknown value on either side
      (data[0] & 0x40) != 0,
      (data[0] & 0x80) != 0,
      std::string_view(reinterpret_cast<const char*>(data + kHeader), size - kHeader),
  };
  Run(in);
  return 0;
}
