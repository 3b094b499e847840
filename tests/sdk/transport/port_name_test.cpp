#include "transport/port_name.h"

#include <gtest/gtest.h>

namespace kxlf {
namespace {

TEST(PortName, DeviceAddressAfterTheLastColon) {
  struct Case {
    const char* text;
    const char* name;
    int address;
  };
  const Case cases[] = {
      {"COM4:2", "COM4", 2},
      {"COM4:", "COM4:", 1},  // a final colon stays with the name
      {"COM3", "COM3", 1},
      {"\\\\.\\COM5 [Orv Virtual COM]:1", "\\\\.\\COM5 [Orv Virtual COM]", 1},
      {"7731-0042 HID:3", "7731-0042 HID", 3},
      {"[READER01]:1", "[READER01]", 1},
      {"a:b:17", "a:b", 17},
      {"COM4:x", "COM4", 0},
      {"COM4:12ab", "COM4", 12},
      {"COM4:99999999999999999999", "COM4", 2147483647},
      {":5", "", 5},
      {"", "", 1},
  };
  for (const Case& c : cases) {
    const PortAddress split = SplitDeviceAddress(c.text);
    EXPECT_EQ(split.name, c.name) << c.text;
    EXPECT_EQ(split.deviceAddress, c.address) << c.text;
  }
}

TEST(PortName, NameChoosesTheTransport) {
  struct Case {
    const char* name;
    PortKind kind;
  };
  const Case cases[] = {
      {"[READER01]", PortKind::kLan},
      {"[x]-10002", PortKind::kLan},
      {"192.168.1.20-10001", PortKind::kLan},
      {"192.168.1.20", PortKind::kLan},
      {"COM3 [a.b.c.d]", PortKind::kLan},  // three dots in the description
      {".1.2.3", PortKind::kSerial},       // the first character's dot does not count
      {"a.b.c", PortKind::kSerial},
      {"7731-0042 HID", PortKind::kHid},
      {"COM3 [my HID port]", PortKind::kHid},
      {"7731-0042 hid", PortKind::kSerial},  // only upper case marks a HID reader
      {"COM3", PortKind::kSerial},
      {"12345678", PortKind::kSerial},
      {"/dev/ttyUSB0", PortKind::kSerial},
      {"/dev/serial/by-id/usb-Orv_KX.P71.v1.2-if00", PortKind::kSerial},
      {"", PortKind::kSerial},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ClassifyPortName(c.name), c.kind) << c.name;
}

TEST(PortName, OnlySerialNamesKeepTheirBaudRate) {
  EXPECT_EQ(EffectiveBaudRate("COM3:1", 115200), 115200);
  EXPECT_EQ(EffectiveBaudRate("\\\\.\\com5", 9600), 9600);
  EXPECT_EQ(EffectiveBaudRate("/dev/pts/4", 57600), 57600);
  EXPECT_EQ(EffectiveBaudRate("7731-0042 HID:1", 115200), 19200);
  EXPECT_EQ(EffectiveBaudRate("12345678", 115200), 19200);
  EXPECT_EQ(EffectiveBaudRate("192.168.1.20-10001:1", 9600), 19200);
  EXPECT_EQ(EffectiveBaudRate("", 9600), 19200);
}

TEST(PortName, SerialFormatFromTheLowFourOptionBits) {
  EXPECT_EQ(SerialFormatFromOptions(0), (SerialFormat{'N', 1}));
  EXPECT_EQ(SerialFormatFromOptions(1), (SerialFormat{'E', 1}));
  EXPECT_EQ(SerialFormatFromOptions(2), (SerialFormat{'O', 1}));
  EXPECT_EQ(SerialFormatFromOptions(3), (SerialFormat{'N', 2}));
  EXPECT_EQ(SerialFormatFromOptions(4), (SerialFormat{'N', 1}));
  EXPECT_EQ(SerialFormatFromOptions(15), (SerialFormat{'N', 1}));
  EXPECT_EQ(SerialFormatFromOptions(0xC2), (SerialFormat{'O', 1}));
  EXPECT_EQ(SerialFormatFromOptions(-1), (SerialFormat{'N', 1}));
}

TEST(PortName, ArticleNumberFilter) {
  for (const char* ours : {"7731-0042 HID", "4841", "4865x", "4877", "4881", "5361", "5380", "5391",
                           "5400", "5421", "6040", "6139", "7722", "77310001"}) {
    EXPECT_TRUE(HasFamilyArticleNumber(ours)) << ours;
  }
  for (const char* other : {"12345678", "4840", "4842", "5360", "5381", "5390", "5401", "5420",
                            "5422", "6039", "6140", "7721", "7732", "484", "48a1", "", "FT4XZ"}) {
    EXPECT_FALSE(HasFamilyArticleNumber(other)) << other;
  }
}

}  // namespace
}  // namespace kxlf
