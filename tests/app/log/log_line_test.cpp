// The fields of a log line and the bytes that end up in the file.
#include "log/log_line.h"

#include <gtest/gtest.h>

#include "log_test_support.h"

namespace kx::log {
namespace {

using convert::DataFormat;

TEST(LogLine, FormatTextsNameBothDecimalFormatsAlike) {
  EXPECT_EQ(FormatText(DataFormat::kHexBinary), "HEX BIN");
  EXPECT_EQ(FormatText(DataFormat::kHexAscii), "HEX ASCII");
  EXPECT_EQ(FormatText(DataFormat::kDecimalBinary), "DEZ ASCII");
  EXPECT_EQ(FormatText(DataFormat::kDecimalAscii), "DEZ ASCII");
  EXPECT_EQ(FormatText(DataFormat::kDataBinary), "DATEN BIN");
  EXPECT_EQ(FormatText(DataFormat::kDataAscii), "DATEN ASCII");
  EXPECT_EQ(FormatText(static_cast<DataFormat>(6)), "");
}

TEST(LogLine, TimeStampPadsEveryFieldButTheYear) {
  EXPECT_EQ(TimeStampText(FixedTime()), "08.12.2025 14:03:59");
  std::tm early{};
  early.tm_mday = 1;
  early.tm_mon = 0;
  early.tm_year = 126;
  EXPECT_EQ(TimeStampText(early), "01.01.2026 00:00:00");
}

TEST(LogLine, FieldsAreRightAlignedAndTabSeparated) {
  EXPECT_EQ(NumberedLine(1, LineBody(HexRecord("1A2B"), FixedTime())),
            "     1\t08.12.2025 14:03:59\tHEX BIN\t   3\t   4\t1A2B\n");
  // Wider numbers take more places rather than being cut.
  const LogRecord wide{DataFormat::kDataAscii, 12345, 1023, "x"};
  EXPECT_EQ(NumberedLine(1234567, LineBody(wide, FixedTime())),
            "1234567\t08.12.2025 14:03:59\tDATEN ASCII\t12345\t1023\tx\n");
}

TEST(LogLine, ValueIsLoggedAsGiven) {
  const LogRecord extraText{DataFormat::kDecimalAscii, 0, 9, "ID-0099-X"};
  EXPECT_EQ(LineBody(extraText, FixedTime()),
            "08.12.2025 14:03:59\tDEZ ASCII\t   0\t   9\tID-0099-X\n");
  const LogRecord lowerCase{DataFormat::kHexBinary, 0, 1, "ab"};
  EXPECT_EQ(LineBody(lowerCase, FixedTime()), "08.12.2025 14:03:59\tHEX BIN\t   0\t   1\tab\n");
  const LogRecord empty{DataFormat::kDataAscii, 0, 4, ""};
  EXPECT_EQ(LineBody(empty, FixedTime()), "08.12.2025 14:03:59\tDATEN ASCII\t   0\t   4\t\n");
}

TEST(LogLine, EveryLineFeedIsWrittenAsCarriageReturnLineFeed) {
  EXPECT_EQ(TextModeBytes("a\tb\n"), "a\tb\r\n");
  // A multi-line data value keeps its breaks, each written the way a text-mode file writes it.
  EXPECT_EQ(TextModeBytes("x\ny\r\n"), "x\r\ny\r\r\n");
  EXPECT_EQ(TextModeBytes(std::string("\0\r", 2)), std::string("\0\r", 2));
}

}  // namespace
}  // namespace kx::log
