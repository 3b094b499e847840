#include "convert/display_conversion.h"

#include <gtest/gtest.h>

namespace kx::convert {
namespace {

std::string Shown(const Bytes& bytes, DataFormat format, int n) {
  DisplayText display = BytesToText(bytes, format, n);
  EXPECT_TRUE(display.ok());
  return display.text;
}

TEST(BytesToText, HexBinaryShowsTheMostSignificantByteFirst) {
  EXPECT_EQ(Shown({0x2B, 0x1A, 0, 0, 0, 0, 0, 0}, DataFormat::kHexBinary, 4), "00001A2B");
  EXPECT_EQ(Shown({0xAB}, DataFormat::kHexBinary, 3), "0000AB");  // short buffer: zero bytes
}

TEST(BytesToText, DecimalBinaryReadsAllEightBytes) {
  const Bytes allOnes(8, 0xFF);
  for (int n = 1; n <= 8; ++n)
    EXPECT_EQ(Shown(allOnes, DataFormat::kDecimalBinary, n), "-1");
  EXPECT_EQ(Shown({0xFF, 0, 0, 0, 0, 0, 0, 0}, DataFormat::kDecimalBinary, 1), "255");
  EXPECT_EQ(Shown({0x01, 0x02}, DataFormat::kDecimalBinary, 2), "513");
  EXPECT_EQ(Shown({}, DataFormat::kDecimalBinary, 2), "0");

  const DisplayText tooLong = BytesToText(allOnes, DataFormat::kDecimalBinary, 9);
  EXPECT_EQ(tooLong.failure, Message{MessageId::kDecimalByteCountAbove8});
  EXPECT_TRUE(tooLong.text.empty());
}

TEST(BytesToText, DataBinaryShowsSeparatedPairs) {
  EXPECT_EQ(Shown({0x01, 0x02, 0xA0, 0x55}, DataFormat::kDataBinary, 3), "01 02 A0");
  EXPECT_EQ(Shown({0x01}, DataFormat::kDataBinary, 3), "01 00 00");
}

TEST(BytesToText, AsciiFormatsEndAtTheFirstZeroByte) {
  EXPECT_EQ(Shown({'1', '2', '3', '4', '5'}, DataFormat::kHexAscii, 4), "1234");
  EXPECT_EQ(Shown({'A', 0, 'B', 'C'}, DataFormat::kDataAscii, 4), "A");
  EXPECT_EQ(Shown({'7', '8'}, DataFormat::kDecimalAscii, 6), "78");
  EXPECT_EQ(Shown({0xE4, 0xFF, 0x01}, DataFormat::kDataAscii, 3), "\xE4\xFF\x01");
}

TEST(BytesToText, ByteCountsOutsideTheRangeFail) {
  const Bytes block(8, 0x31);
  for (int n : {0, -3, 1024, 1 << 30}) {
    for (DataFormat format : {DataFormat::kHexBinary, DataFormat::kHexAscii,
                              DataFormat::kDataBinary, DataFormat::kDataAscii}) {
      const DisplayText display = BytesToText(block, format, n);
      EXPECT_EQ(display.failure,
                (Message{StandardMessage{StandardMessageId::kEnterIntegerBetween, 1, 1023}}));
      EXPECT_TRUE(display.text.empty());
    }
  }
}

}  // namespace
}  // namespace kx::convert
