#include "convert/leading_zeros.h"

#include <gtest/gtest.h>

namespace kx::convert {
namespace {

TEST(StripLeadingZeros, KeepsOneZeroAndEmptyText) {
  EXPECT_EQ(StripLeadingZeros("0070"), "70");
  EXPECT_EQ(StripLeadingZeros("000"), "0");
  EXPECT_EQ(StripLeadingZeros(""), "");
  EXPECT_EQ(StripLeadingZeros("0A0"), "A0");
}

TEST(ApplyLeadingZeros, CutsThenPadsOrStrips) {
  EXPECT_EQ(ApplyLeadingZeros("12", 6, true), "000012");
  EXPECT_EQ(ApplyLeadingZeros("000012", 6, false), "12");
  EXPECT_EQ(ApplyLeadingZeros("12345678", 4, true), "1234");
  EXPECT_EQ(ApplyLeadingZeros("00123", 3, false), "1");
  EXPECT_EQ(ApplyLeadingZeros("123", 0, true), "");
  EXPECT_EQ(ApplyLeadingZeros("123", -4, false), "");
  EXPECT_EQ(ApplyLeadingZeros("123", -4, true), "");
  EXPECT_EQ(ApplyLeadingZeros("1", 1 << 30, true).size(), 1023u);
}

TEST(AfterWrite, DecimalBinaryIsTrimmedAndBinaryFormatsUpperCased) {
  EXPECT_EQ(TrimAfterWrite(DataFormat::kDecimalBinary, "007"), "7");
  EXPECT_EQ(TrimAfterWrite(DataFormat::kDecimalAscii, "007"), "007");
  EXPECT_EQ(TrimAfterWrite(DataFormat::kHexBinary, "00ab"), "00ab");
  EXPECT_EQ(UpperCaseAfterWrite(DataFormat::kHexBinary, "ab"), "AB");
  EXPECT_EQ(UpperCaseAfterWrite(DataFormat::kDataBinary, "0a 0b"), "0A 0B");
  EXPECT_EQ(UpperCaseAfterWrite(DataFormat::kHexAscii, "ab"), "ab");
  EXPECT_EQ(UpperCaseAfterWrite(DataFormat::kDataAscii, "ab"), "ab");
}

}  // namespace
}  // namespace kx::convert
