// The reader firmware's side of the HID report layout
//   [0] report id 0   [1] number n of data bytes   [2 .. 2+n) data   then 0x00 to the end,
// with lengths counted with the report id byte. Output reports arrive as hidraw's write takes
// them (id first); input reports leave as hidraw's read returns them (without the id).
// The test build of hidapi and the emulator's HID server both speak it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kxemu/transponder.h"

namespace kxemu {

inline constexpr uint8_t kHidControlCode = 0x82;
inline constexpr uint8_t kHidControlSubcode = 0x10;

struct OutputReport {
  enum class Kind { kData, kControl, kInvalid } kind = Kind::kInvalid;
  Bytes data;                // kData: the frame piece
  uint8_t controlValue = 0;  // kControl
};

// kInvalid for a report of another length than the device's output reports, or one whose id
// byte is not 0 (the reader has no numbered reports).
OutputReport ParseOutputReport(const uint8_t* report, size_t size, int outputLength);

// The input reports that carry `data`, each of inputLength - 1 bytes. `countExcess` is added
// to every count byte (a faulty firmware's report that claims more than it holds).
std::vector<Bytes> InputReports(const Bytes& data, int inputLength, int countExcess = 0);

// A vendor-defined report descriptor with one input and one output report of these lengths
// (report id byte included, so 9 declares 8 bytes each).
Bytes ReaderReportDescriptor(int inputLength, int outputLength);

// What a HID reader served on a bus folder (see hid_server.h) tells the host about itself.
struct HidIdentity {
  uint16_t vendorId = 0x6A7B;
  uint16_t productId = 0x0C5C;
  std::optional<std::string> serial;  // none: the device has no serial number string
  int inputLength = 9;
  int outputLength = 9;
};

// The info file beside a bus socket: "key=value" lines.
std::string FormatHidIdentity(const HidIdentity& identity);
std::optional<HidIdentity> ParseHidIdentity(const std::string& text);

}  // namespace kxemu
