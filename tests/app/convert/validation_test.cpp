#include "convert/validation.h"

#include <gtest/gtest.h>

#include <string>

namespace kx::convert {
namespace {

constexpr int kMultiPage = 2;

ValidatedInput Check(DataFormat format, std::string_view length, std::string_view text,
                     bool extra = false, int type = kMultiPage) {
  return ValidateWriteInput({format, type, length, text, extra, true});
}

Message Between(int lowest, int highest) {
  return StandardMessage{StandardMessageId::kEnterIntegerBetween, lowest, highest};
}
Message AtMost(int count) {
  return StandardMessage{StandardMessageId::kEnterAtMostChars, count};
}

TEST(ValidateWriteInput, ReadOnlyTypesForceEightBytes) {
  for (int type : {0, 1}) {
    const ValidatedInput result = Check(DataFormat::kHexBinary, "garbage", "12", false, type);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.n, 8);
  }
}

TEST(ValidateWriteInput, LengthMustBeANumberInTheFormatsRange) {
  const Message positive = StandardMessage{StandardMessageId::kEnterPositiveInteger};
  EXPECT_EQ(Check(DataFormat::kHexAscii, "", "1").failure, positive);
  EXPECT_EQ(Check(DataFormat::kHexAscii, "-3", "1").failure, positive);
  EXPECT_EQ(Check(DataFormat::kHexAscii, "4x", "1").failure, positive);
  EXPECT_EQ(Check(DataFormat::kHexAscii, " 4 ", "1").n, 4);
  EXPECT_EQ(Check(DataFormat::kHexAscii, "0", "1").failure, Between(1, 1023));
  EXPECT_EQ(Check(DataFormat::kDataAscii, "1024", "1").failure, Between(1, 1023));
  EXPECT_EQ(Check(DataFormat::kHexBinary, "99999999999999999999999", "1").failure,
            Between(1, 1023));
  EXPECT_EQ(Check(DataFormat::kDecimalBinary, "9", "1").failure, Between(1, 8));
  EXPECT_TRUE(Check(DataFormat::kDataBinary, "1023", "01").ok());
}

TEST(ValidateWriteInput, DecimalAsciiKeepsTheCommonRange) {
  EXPECT_EQ(Check(DataFormat::kDecimalAscii, "0", "1").failure, Between(1, 1023));
  EXPECT_EQ(Check(DataFormat::kDecimalAscii, "5000", "1", true).failure, Between(1, 1023));
  EXPECT_EQ(Check(DataFormat::kDecimalAscii, "1023", "1").n, 1023);
}

TEST(ValidateWriteInput, TextLengthPerFormat) {
  EXPECT_EQ(Check(DataFormat::kHexBinary, "2", "12345").failure, AtMost(4));
  EXPECT_EQ(Check(DataFormat::kHexAscii, "2", "123").failure, AtMost(2));
  EXPECT_EQ(Check(DataFormat::kDecimalBinary, "8", std::string(21, '1')).failure, AtMost(20));
  EXPECT_EQ(Check(DataFormat::kDecimalAscii, "30", std::string(21, '1')).failure, AtMost(20));
  EXPECT_TRUE(Check(DataFormat::kDecimalAscii, "40", std::string(40, '1'), true).ok());
  EXPECT_EQ(Check(DataFormat::kDataBinary, "3", "01 02 03 04").failure, AtMost(9));
  EXPECT_EQ(Check(DataFormat::kDataAscii, "3", "abcd").failure, AtMost(3));
}

// Only the first n characters of a decimal ASCII text reach the transponder; a longer text
// must not be reported as written.
TEST(ValidateWriteInput, DecimalAsciiTextMustFitTheByteCount) {
  EXPECT_EQ(Check(DataFormat::kDecimalAscii, "4", "12345").failure, AtMost(4));
  EXPECT_TRUE(Check(DataFormat::kDecimalAscii, "4", "1234").ok());
  EXPECT_EQ(Check(DataFormat::kDecimalAscii, "8", "ID-0099-X", true).failure, AtMost(8));
  EXPECT_EQ(Check(DataFormat::kDecimalAscii, "4", std::string(40, '1'), true).failure, AtMost(4));
}

TEST(ValidateWriteInput, TextContentPerFormat) {
  EXPECT_EQ(Check(DataFormat::kHexBinary, "2", "12G4").failure, Message{MessageId::kNoHexInput});
  EXPECT_EQ(Check(DataFormat::kHexAscii, "4", "1 2").failure, Message{MessageId::kNoHexInput});
  EXPECT_TRUE(Check(DataFormat::kHexAscii, "4", "ID-7", true).ok());
  EXPECT_EQ(Check(DataFormat::kDecimalBinary, "8", "-12").failure,
            Message{MessageId::kNoDecimalInput});
  EXPECT_EQ(Check(DataFormat::kDecimalAscii, "8", "12a").failure,
            Message{MessageId::kNoDecimalInput});
  EXPECT_TRUE(Check(DataFormat::kDecimalAscii, "9", "ID-0099-X", true).ok());
  EXPECT_TRUE(Check(DataFormat::kDataAscii, "4", std::string("\0\xFF\r\n", 4)).ok());
}

TEST(ValidateWriteInput, DataBinaryCountsPairs) {
  EXPECT_TRUE(Check(DataFormat::kDataBinary, "3", "01 02 03").ok());
  EXPECT_EQ(Check(DataFormat::kDataBinary, "3", "01020304").failure,
            Message{MessageId::kDataFieldTooLong});
  EXPECT_TRUE(Check(DataFormat::kDataBinary, "3", " 0102 03").ok());
  // A lone digit would become a byte of it and the character after it: refused, wherever it is.
  for (std::string_view lone : {"0102030", "01 02 3", "1", "0 1", "012 3", "01 2 03"})
    EXPECT_EQ(Check(DataFormat::kDataBinary, "3", lone).failure, Message{MessageId::kNoHexInput})
        << lone;
  EXPECT_EQ(Check(DataFormat::kDataBinary, "3", "01,02").failure, Message{MessageId::kNoHexInput});
}

TEST(ValidateWriteInput, ReadCommandsSkipTheWriteText) {
  const ValidatedInput result =
      ValidateWriteInput({DataFormat::kHexBinary, kMultiPage, "2", "not hex at all", false, false});
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(result.n, 2);
  EXPECT_FALSE(
      ValidateWriteInput({DataFormat::kHexBinary, kMultiPage, "0", "", false, false}).ok());
}

}  // namespace
}  // namespace kx::convert
