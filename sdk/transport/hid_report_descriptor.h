// Report lengths from a HID report descriptor, as the host's HID stack counts them: the longest
// input and the longest output report in bytes, plus the report id byte, which is counted even
// for a device without numbered reports (it travels as 0 then). Pure: bytes in, lengths out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kxlf {

struct HidReportLengths {
  int input = 0;
  int output = 0;

  bool operator==(const HidReportLengths&) const = default;
};

// Lengths used when a device's descriptor cannot be read: the reader family's 9-byte reports.
inline constexpr HidReportLengths kDefaultHidReportLengths{9, 9};

// Reports longer than these do not fit the transport's buffers (both counts with the report
// id byte); an output report needs room for the id, the count byte and at least one data byte.
inline constexpr int kMinHidInputReport = 2;  // id and count byte
inline constexpr int kMaxHidInputReport = 130;
inline constexpr int kMinHidOutputReport = 3;
inline constexpr int kMaxHidOutputReport = 65;

// None for a descriptor that ends inside an item or whose global state stack under- or
// overflows.
std::optional<HidReportLengths> ParseReportDescriptor(const uint8_t* data, size_t size);

// Whether the transport can work with reports of these lengths.
bool HidReportLengthsSupported(const HidReportLengths& lengths);

// The sysfs file under `root` ("/" on a running system) that holds the descriptor of the hidraw
// node `devicePath` (/dev/hidrawN), or empty for a path that names no hidraw node.
std::string HidrawDescriptorFile(const std::string& devicePath, const std::string& root = "/");

}  // namespace kxlf
