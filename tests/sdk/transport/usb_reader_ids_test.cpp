#include "transport/usb_reader_ids.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace kxlf {
namespace {

const char* KindName(UsbReaderKind kind) {
  switch (kind) {
    case UsbReaderKind::kVirtualCom:
      return "VirtualCom";
    case UsbReaderKind::kFtdi:
      return "Ftdi";
    case UsbReaderKind::kHid:
      return "Hid";
  }
  return "?";
}

// The packaging writes its udev rules from what CMake reads out of the header; an entry that the
// build's pattern misses would leave a reader without access rights.
TEST(UsbReaderIds, CMakeReadsEveryEntryOfTheTable) {
  std::string compiled;
  for (const UsbReaderId& id : kUsbReaderIds) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "%s%04x:%04x:%s", compiled.empty() ? "" : " ", id.vendorId,
                  id.productId, KindName(id.kind));
    compiled += entry;
  }
  EXPECT_EQ(std::string(KX_USB_READER_IDS_FROM_CMAKE), compiled);
}

TEST(UsbReaderIds, SysfsTextsMatchInEitherCaseAndNothingElse) {
  EXPECT_TRUE(IsUsbReader(UsbReaderKind::kVirtualCom, "6a7b", "0c5d"));
  EXPECT_TRUE(IsUsbReader(UsbReaderKind::kVirtualCom, "6A7B", "0C5D"));
  EXPECT_FALSE(IsUsbReader(UsbReaderKind::kHid, "6a7b", "0c5d")) << "another kind";
  EXPECT_TRUE(IsUsbReader(UsbReaderKind::kHid, "16c0", "4b1d"));
  EXPECT_FALSE(IsUsbReader(UsbReaderKind::kHid, "16c0", "4b1e")) << "the vendor's other device";
  EXPECT_TRUE(IsUsbReader(UsbReaderKind::kFtdi, uint16_t{0x0403}, uint16_t{0x9D42}));
  EXPECT_FALSE(IsUsbReader(UsbReaderKind::kFtdi, uint16_t{0x0403}, uint16_t{0x6001}));
  for (const char* bad : {"", "403", "04030", "0x40", "g403", " 403"})
    EXPECT_FALSE(IsUsbReader(UsbReaderKind::kFtdi, bad, "9d42")) << bad;
}

}  // namespace
}  // namespace kxlf
