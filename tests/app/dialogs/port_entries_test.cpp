// The interface dialog's texts and rules: list merging, entry texts, the two recognisers, the
// connection name and the baud code.
#include <gtest/gtest.h>

#include <list>
#include <string>

#include "dialogs/port_entries.h"

namespace kx::dialogs {
namespace {

using Strings = std::list<std::string>;

TEST(MergeStringList, KeepsMatchingFrontAndReportsChanges) {
  Strings list;
  EXPECT_TRUE(MergeStringList(list, {"COM1", "COM3"}));
  EXPECT_EQ(list, (Strings{"COM1", "COM3"}));
  EXPECT_FALSE(MergeStringList(list, {"COM1", "COM3"}));

  const std::string* front = &list.front();
  EXPECT_TRUE(MergeStringList(list, {"COM1", "COM4", "COM5"}));
  EXPECT_EQ(list, (Strings{"COM1", "COM4", "COM5"}));
  EXPECT_EQ(&list.front(), front) << "the matching head node stays";

  EXPECT_TRUE(MergeStringList(list, {"COM1", "COM4", "COM5", "COM6"}));
  EXPECT_EQ(list.back(), "COM6");
  EXPECT_TRUE(MergeStringList(list, {"COM1"}));
  EXPECT_EQ(list, (Strings{"COM1"}));
  EXPECT_TRUE(MergeStringList(list, {}));
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(MergeStringList(list, {}));
}

TEST(MergeStringList, ComparesExactly) {
  Strings list{"com1"};
  EXPECT_TRUE(MergeStringList(list, {"COM1"}));
  EXPECT_EQ(list, (Strings{"COM1"}));
}

TEST(ParseStringList, StopsAtTheEmptyStringAndTheResult) {
  const char buffer[] = "COM1\0/dev/ttyUSB0 [Orv Virtual COM]\0\0junk\0";
  EXPECT_EQ(ParseStringList(buffer, sizeof buffer, 38),
            (Strings{"COM1", "/dev/ttyUSB0 [Orv Virtual COM]"}));
  EXPECT_TRUE(ParseStringList(buffer, sizeof buffer, 0).empty());
  EXPECT_TRUE(ParseStringList(buffer, sizeof buffer, -1).empty());
  // A result beyond the buffer, or a last string without its NUL, ends at the buffer.
  const char unterminated[4] = {'C', 'O', 'M', '2'};
  EXPECT_EQ(ParseStringList(unterminated, 4, 99), (Strings{"COM2"}));
}

TEST(PortEntryTexts, ComThenUsbThenLanWithTheirPrefixes) {
  EXPECT_EQ(EntryTexts({"\\\\.\\COM12", "/dev/ttyS0"}, {"5391-000123 HID"}, {"[LAB01]"}),
            (QStringList{"COM12", "/dev/ttyS0", "USB: 5391-000123 HID", "LAN: [LAB01]"}));
}

TEST(PortRecognisers, SwitchableHidReader) {
  EXPECT_TRUE(IsSwitchableHidReader("USB: 5391-000123 HID"));
  EXPECT_TRUE(IsSwitchableHidReader("USB: 6045-7 HID"));
  EXPECT_FALSE(IsSwitchableHidReader("USB: 5392-000123 HID")) << "not a switchable article";
  EXPECT_FALSE(IsSwitchableHidReader("USB: 5391-000123")) << "no HID";
  EXPECT_FALSE(IsSwitchableHidReader("5391-000123 HID")) << "the article must follow the start";
  EXPECT_FALSE(IsSwitchableHidReader(" HID 5391-")) << "HID must follow the start";
}

TEST(PortRecognisers, MakersVirtualComPort) {
  EXPECT_TRUE(IsMakersVirtualComPort("COM3 [Orv Virtual COM Port]"));
  EXPECT_TRUE(IsMakersVirtualComPort("COM12 [QL-4 Virtual COM]"));
  EXPECT_TRUE(IsMakersVirtualComPort("/dev/ttyACM0 [Orv Virtual COM]"));
  EXPECT_FALSE(IsMakersVirtualComPort("COM3 [USB Serial Port]"));
  EXPECT_FALSE(IsMakersVirtualComPort("/dev/ttyS0"));
  EXPECT_FALSE(IsMakersVirtualComPort("USB: COM [Orv Virtual COM]"));
  EXPECT_FALSE(IsMakersVirtualComPort("LAN: [Orv Virtual COM]"));
}

TEST(PortConnectionName, DropsTheKindPrefixAndAppendsTheAddress) {
  EXPECT_EQ(ConnectionName("COM1", 1), "COM1:1");
  EXPECT_EQ(ConnectionName("USB: 5391-000123 HID", 1), "5391-000123 HID:1");
  EXPECT_EQ(ConnectionName("LAN: 192.168.1.20-10001", 7), "192.168.1.20-10001:7");
  EXPECT_EQ(ConnectionName("Bluetooth: Reader", 2), "Reader:2");
  EXPECT_EQ(ConnectionName("/dev/ttyACM0 [Orv Virtual COM]", 255),
            "/dev/ttyACM0 [Orv Virtual COM]:255");
  EXPECT_EQ(ConnectionName("", 1), ":1");
}

TEST(PortBaudCode, SplitsRateAndFormat) {
  const BaudSetting twoStops = SplitBaudCode(9603);
  EXPECT_EQ(twoStops.rate, 9600);
  EXPECT_EQ(twoStops.parityIndex, 0);
  EXPECT_EQ(twoStops.stopBitsIndex, 1);
  EXPECT_EQ(SplitBaudCode(9601).parityIndex, 1);
  EXPECT_EQ(SplitBaudCode(115202).parityIndex, 2);
  const BaudSetting unknown = SplitBaudCode(19250);
  EXPECT_EQ(unknown.rate, 19200);
  EXPECT_EQ(unknown.parityIndex, 0);
  EXPECT_EQ(unknown.stopBitsIndex, 0);
}

TEST(PortBaudCode, ParityWinsOverTwoStopBits) {
  EXPECT_EQ(ComposeBaudCode(9600, 0, 0), 9600);
  EXPECT_EQ(ComposeBaudCode(9600, 0, 1), 9603);
  EXPECT_EQ(ComposeBaudCode(9600, 1, 1), 9601);
  EXPECT_EQ(ComposeBaudCode(230400, 2, 0), 230402);
  EXPECT_EQ(SplitBaudCode(ComposeBaudCode(57600, 2, 0)).rate, 57600);
}

}  // namespace
}  // namespace kx::dialogs
