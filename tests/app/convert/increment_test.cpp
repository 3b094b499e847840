#include "convert/increment.h"

#include <gtest/gtest.h>

namespace kx::convert {
namespace {

std::string Next(std::string_view text, DataFormat format, int n = 4, bool extra = false,
                 bool zeros = false) {
  return IncrementValue(text, format, n, extra, zeros);
}

TEST(IncrementHexDigits, CarriesWithinTheRun) {
  EXPECT_EQ(IncrementHexDigits("00FF"), "0100");
  EXPECT_EQ(IncrementHexDigits("FFFF"), "0000");
  EXPECT_EQ(IncrementHexDigits("ab"), "AC");
  EXPECT_EQ(IncrementHexDigits("09"), "0A");
  // A non-hex character reads as 0xFF: it ends a carry as "0" and is "F" where no carry reaches.
  EXPECT_EQ(IncrementHexDigits("1xF"), "100");
  EXPECT_EQ(IncrementHexDigits("x1"), "F2");
  EXPECT_EQ(IncrementHexDigits("1x"), "10");
}

TEST(IncrementHexDigits, EmptyRunStaysEmpty) {
  EXPECT_EQ(IncrementHexDigits(""), "");
}

TEST(IncrementValue, HexFormats) {
  EXPECT_EQ(Next("00FF", DataFormat::kHexAscii), "0100");
  EXPECT_EQ(Next("FFFF", DataFormat::kHexAscii), "0000");
  EXPECT_EQ(Next("ab", DataFormat::kHexBinary), "AC");
}

TEST(IncrementValue, DecimalFormats) {
  EXPECT_EQ(Next("0099", DataFormat::kDecimalAscii), "100");
  EXPECT_EQ(Next("0099", DataFormat::kDecimalAscii, 4, false, true), "0100");
  EXPECT_EQ(Next("9223372036854775807", DataFormat::kDecimalBinary), "-9223372036854775808");
  EXPECT_EQ(Next("-1", DataFormat::kDecimalBinary), "0");
  // Leading zeros pad DecimalAscii only.
  EXPECT_EQ(Next("0099", DataFormat::kDecimalBinary, 4, false, true), "100");
  EXPECT_EQ(Next("12", DataFormat::kDecimalAscii, 1 << 30, false, true), "13");
}

TEST(IncrementValue, DataFormatsStayAsTheyAre) {
  EXPECT_EQ(Next("01 02", DataFormat::kDataBinary), "01 02");
  EXPECT_EQ(Next("abc", DataFormat::kDataAscii, 4, true, true), "abc");
}

TEST(IncrementValue, ExtraTextAroundTheDigitRun) {
  EXPECT_EQ(Next("ID-0099-X", DataFormat::kDecimalAscii, 9, true, true), "ID-0100-X");
  EXPECT_EQ(Next("ID-0099-X", DataFormat::kDecimalAscii, 9, true, false), "ID-100-X");
  EXPECT_EQ(Next("A12B34", DataFormat::kDecimalAscii, 6, true), "A13");
  // In HexAscii letters a-f belong to the run: only "x" and "-" are extra text.
  EXPECT_EQ(Next("x-0aff-", DataFormat::kHexAscii, 8, true), "x-0B00-");
  // Without extra text the whole text is the run.
  EXPECT_EQ(Next("A12", DataFormat::kDecimalAscii, 6, false), "1");
}

TEST(IncrementValue, TextWithoutDigits) {
  // Decimal: the empty run parses as 0 and the text becomes the suffix.
  EXPECT_EQ(Next("ID-X", DataFormat::kDecimalAscii, 4, true), "1ID-X");
  // Hex: nothing to count, nothing changes.
  EXPECT_EQ(Next("xyz!", DataFormat::kHexAscii, 4, true), "xyz!");
  EXPECT_EQ(Next("", DataFormat::kHexAscii, 4, true), "");
  EXPECT_EQ(Next("", DataFormat::kHexBinary, 4, false), "");
}

}  // namespace
}  // namespace kx::convert
