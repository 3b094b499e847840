// Report lengths from recorded descriptors (tests/data/hid_descriptors, one case per file) and
// the limits the HID transport accepts.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "transport/hid_report_descriptor.h"

namespace kxlf {
namespace {

struct Fixture {
  const char* file;
  std::optional<HidReportLengths> lengths;
  bool supported;
};

const Fixture kFixtures[] = {
    {"reader_9_byte_reports.bin", HidReportLengths{9, 9}, true},
    {"boot_keyboard.bin", HidReportLengths{9, 2}, false},
    {"numbered_reports.bin", HidReportLengths{64, 33}, true},
    {"push_pop.bin", HidReportLengths{65, 9}, true},
    {"truncated.bin", std::nullopt, false},
    {"pop_without_push.bin", std::nullopt, false},
};

class RecordedDescriptor : public ::testing::TestWithParam<Fixture> {};

TEST_P(RecordedDescriptor, GivesTheLongestReportsWithTheirIdByte) {
  const Fixture& fixture = GetParam();
  std::ifstream in(std::string(KX_HID_DESCRIPTORS) + "/" + fixture.file, std::ios::binary);
  ASSERT_TRUE(in) << fixture.file;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  const std::optional<HidReportLengths> lengths = ParseReportDescriptor(bytes.data(), bytes.size());
  ASSERT_EQ(lengths.has_value(), fixture.lengths.has_value());
  if (!lengths)
    return;
  EXPECT_EQ(lengths->input, fixture.lengths->input);
  EXPECT_EQ(lengths->output, fixture.lengths->output);
  EXPECT_EQ(HidReportLengthsSupported(*lengths), fixture.supported);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RecordedDescriptor, ::testing::ValuesIn(kFixtures),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           name = name.substr(0, name.find('.'));
                           std::erase(name, '_');
                           return name;
                         });

TEST(HidReportLimits, InputUpTo130AndOutputFrom3To65) {
  EXPECT_TRUE(HidReportLengthsSupported({130, 65}));
  EXPECT_TRUE(HidReportLengthsSupported({9, 3}));
  EXPECT_FALSE(HidReportLengthsSupported({131, 9}));
  EXPECT_FALSE(HidReportLengthsSupported({9, 66}));
  EXPECT_FALSE(HidReportLengthsSupported({9, 2}));
  EXPECT_FALSE(HidReportLengthsSupported({1, 9})) << "no room for the count byte";
}

TEST(HidReportLimits, LongItemsAreSkippedAndAnItemCutShortIsRefused) {
  // Report size 8, count 4, a long item with two data bytes, then one input item.
  const uint8_t withLongItem[] = {0x75, 0x08, 0x95, 0x04, 0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x81, 0x02};
  EXPECT_EQ(ParseReportDescriptor(withLongItem, sizeof withLongItem), (HidReportLengths{5, 0}));
  EXPECT_FALSE(ParseReportDescriptor(withLongItem, 8)) << "long item's data cut off";
  const uint8_t fourByteValue[] = {0x97, 0x02, 0x00, 0x00};  // report count, 4 bytes, one missing
  EXPECT_FALSE(ParseReportDescriptor(fourByteValue, sizeof fourByteValue));
  EXPECT_EQ(ParseReportDescriptor(nullptr, 0), (HidReportLengths{0, 0}));
}

TEST(HidrawDescriptorFile, OnlyHidrawNodesHaveOne) {
  EXPECT_EQ(HidrawDescriptorFile("/dev/hidraw3"),
            "/sys/class/hidraw/hidraw3/device/report_descriptor");
  EXPECT_EQ(HidrawDescriptorFile("/dev/hidraw12"),
            "/sys/class/hidraw/hidraw12/device/report_descriptor");
  EXPECT_EQ(HidrawDescriptorFile("/dev/hidraw"), "");
  EXPECT_EQ(HidrawDescriptorFile("/dev/hidraw1/../../etc"), "");
  EXPECT_EQ(HidrawDescriptorFile("1-2:1.0"), "") << "a libusb-style path";
  EXPECT_EQ(HidrawDescriptorFile("/dev/ttyACM0"), "");
  EXPECT_EQ(HidrawDescriptorFile("/dev/hidraw3", "/tmp/tree"),
            "/tmp/tree/sys/class/hidraw/hidraw3/device/report_descriptor");
}

}  // namespace
}  // namespace kxlf
