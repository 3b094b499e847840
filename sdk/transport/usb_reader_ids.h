// The USB vendor and product ids of the family's readers, in one table for every part that
// recognises a reader: the virtual COM port list, the driver check, the HID transport, and the
// packaging, which writes its udev rules from this file at build time.
//
// cmake/UsbReaderIds.cmake reads the entries of kUsbReaderIds straight from this header, with a
// regular expression that expects each entry exactly in the form
//   {0xVVVV, 0xPPPP, UsbReaderKind::kKind},
// four hex digits each, one entry per line. Keep that form when adding a reader; a test compares
// what CMake reads with the table the compiler sees.
#pragma once

#include <cstdint>
#include <string_view>

namespace kxlf {

enum class UsbReaderKind {
  kVirtualCom,  // a CDC-ACM serial port
  kFtdi,        // an FTDI converter, driven through the D2XX library
  kHid,         // a HID device with the reader's 9-byte reports
};

struct UsbReaderId {
  uint16_t vendorId;
  uint16_t productId;
  UsbReaderKind kind;
};

// clang-format off
inline constexpr UsbReaderId kUsbReaderIds[] = {
    {0x6A7B, 0x0C5D, UsbReaderKind::kVirtualCom},
    {0x0403, 0x9D42, UsbReaderKind::kFtdi},
    {0x16C0, 0x4B1D, UsbReaderKind::kHid},
    {0x6A7B, 0x0C5C, UsbReaderKind::kHid},
    {0x6A7B, 0x0C5E, UsbReaderKind::kHid},
    {0x6A7B, 0x0C5F, UsbReaderKind::kHid},
    {0x6A7B, 0x0C60, UsbReaderKind::kHid},
};
// clang-format on

// Whether the ids name a reader of this kind.
bool IsUsbReader(UsbReaderKind kind, uint16_t vendorId, uint16_t productId);
// The same for ids as sysfs and udev give them: four hex digits in either letter case. Anything
// that is not such a number matches nothing.
bool IsUsbReader(UsbReaderKind kind, std::string_view vendorId, std::string_view productId);

}  // namespace kxlf
