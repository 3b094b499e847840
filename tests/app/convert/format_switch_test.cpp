#include "convert/format_switch.h"

#include <gtest/gtest.h>

namespace kx::convert {
namespace {

constexpr int kMultiPage = 2;

SwitchedText Switch(std::string_view text, DataFormat from, DataFormat to, int n,
                    bool leadingZeros = false) {
  return SwitchFormatText(text, from, to, n, kMultiPage, leadingZeros);
}

TEST(SwitchFormatText, ReexpressesTheBytesInTheNewFormat) {
  EXPECT_EQ(Switch("1234", DataFormat::kHexAscii, DataFormat::kHexBinary, 4).text, "34333231");
  EXPECT_EQ(Switch("1234", DataFormat::kHexAscii, DataFormat::kDataBinary, 4).text, "31 32 33 34");
  EXPECT_EQ(Switch("1A2B", DataFormat::kHexBinary, DataFormat::kDataBinary, 4).text, "2B 1A 00 00");
  EXPECT_EQ(Switch("258", DataFormat::kDecimalBinary, DataFormat::kHexBinary, 2).text, "0102");
  EXPECT_EQ(Switch("01 02", DataFormat::kDataBinary, DataFormat::kDecimalBinary, 2).text, "513");
  EXPECT_EQ(Switch("41 42 00 43", DataFormat::kDataBinary, DataFormat::kDataAscii, 4).text, "AB");
  EXPECT_EQ(Switch("12", DataFormat::kDecimalAscii, DataFormat::kHexBinary, 4, true).text,
            "32313030");
}

TEST(SwitchFormatText, SameFormatKeepsTheText) {
  const SwitchedText result = Switch("not hex", DataFormat::kHexBinary, DataFormat::kHexBinary, 4);
  EXPECT_EQ(result.text, "not hex");
  EXPECT_TRUE(result.statuses.empty());
}

TEST(SwitchFormatText, FailuresGoOnWithTheBytesThereAre) {
  // An empty HexBinary text reports its status and gives no bytes.
  SwitchedText result = Switch("", DataFormat::kHexBinary, DataFormat::kDataBinary, 2);
  EXPECT_EQ(result.text, "00 00");
  EXPECT_EQ(result.statuses, std::vector<Message>{MessageId::kNoData});

  // A value too large for n gives no bytes and no status line.
  result = Switch("256", DataFormat::kDecimalBinary, DataFormat::kHexBinary, 1);
  EXPECT_EQ(result.text, "00");
  EXPECT_TRUE(result.statuses.empty());

  result = Switch("12", DataFormat::kHexAscii, DataFormat::kDecimalBinary, 9);
  EXPECT_EQ(result.text, "");
  EXPECT_EQ(result.statuses, std::vector<Message>{MessageId::kDecimalByteCountAbove8});

  // One line for a byte count that neither direction accepts.
  result = Switch("12", DataFormat::kHexBinary, DataFormat::kDataBinary, 0);
  EXPECT_EQ(result.text, "");
  EXPECT_EQ(result.statuses.size(), 1u);
}

}  // namespace
}  // namespace kx::convert
