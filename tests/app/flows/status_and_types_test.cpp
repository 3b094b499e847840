// The tables behind the flows: error codes to status lines, accepted readers, baud codes, the
// transponder types and the start block rule.
#include <gtest/gtest.h>

#include "flows/connect.h"
#include "flows/status_messages.h"
#include "flows/transponder_types.h"
#include "kxlf.h"

namespace kx::flows {
namespace {

using convert::StandardMessage;
using convert::StandardMessageId;

TEST(ErrorMessageIdTest, ReaderStatusesBesideTheSdkCodes) {
  EXPECT_EQ(ErrorMessageId(kNoTransponderStatus), StatusMessage::kNoTransponder);
  EXPECT_EQ(ErrorMessageId(KXLF_ERR_NO_CONNECTION), StatusMessage::kPortOpenFailed);
  // Reader statuses and SDK codes without a line of their own.
  for (int other : {0, -1, 3, KXLF_ERR_PARAMETER, KXLF_ERR_CHECKSUM, KXLF_ERR_VERIFY, 255})
    EXPECT_EQ(ErrorMessageId(other), StatusMessage::kUnknownError) << other;
}

TEST(BaudCodeTest, LastTwoDigitsAreTheSerialFormat) {
  EXPECT_EQ(SplitBaudCode(9601).baudRate, 9600);
  EXPECT_EQ(SplitBaudCode(9601).serialFormat, 1);
  EXPECT_EQ(SplitBaudCode(19200).baudRate, 19200);
  EXPECT_EQ(SplitBaudCode(19200).serialFormat, 0);
  EXPECT_EQ(SplitBaudCode(115203).serialFormat, 3);
  EXPECT_EQ(JoinBaudCode({57600, 2}), 57602);
}

TEST(ReaderTextTest, FirmwareAndCaptionParts) {
  EXPECT_EQ(FirmwareText(5), "FW V1.05");
  EXPECT_EQ(FirmwareText(10), "FW V1.10");
  ReaderIdentity reader;
  reader.modelName = "M";
  reader.usb = true;
  EXPECT_EQ(ReaderText(reader, "COM3:1"), "M USB:COM3:1");
  reader.usb = false;
  EXPECT_EQ(ReaderText(reader, "/dev/ttyUSB0:1"), "M /dev/ttyUSB0:1");
}

TEST(TransponderTypeTest, FixedTypesIgnoreTheStartBlock) {
  EXPECT_EQ(FirstBlock(*FindTransponderType(0), 5), 0u);
  EXPECT_EQ(FirstBlock(*FindTransponderType(1), 5), 0u);
  EXPECT_EQ(FirstBlock(*FindTransponderType(2), 5), 5u);
  EXPECT_EQ(FindTransponderType(8), nullptr);
  EXPECT_EQ(FindTransponderType(-1), nullptr);
}

TEST(StartBlockTest, RangeFollowsTheType) {
  EXPECT_EQ(ValidateStartBlock(2, "17").value, 17u);
  EXPECT_EQ(ValidateStartBlock(2, " 0 ").value, 0u);
  EXPECT_EQ(ValidateStartBlock(2, "18").failure,
            convert::Message(StandardMessage{StandardMessageId::kEnterIntegerBetween, 0, 17}));
  EXPECT_EQ(ValidateStartBlock(7, "5").failure,
            convert::Message(StandardMessage{StandardMessageId::kEnterIntegerBetween, 0, 4}));
  EXPECT_TRUE(ValidateStartBlock(0, "255").ok());
  EXPECT_TRUE(ValidateStartBlock(5, "32").ok());
  EXPECT_FALSE(ValidateStartBlock(3, "99999999999999999999").ok());
  for (const char* text : {"", "  ", "-1", "1a", "+3", "0x1"}) {
    EXPECT_EQ(ValidateStartBlock(2, text).failure,
              convert::Message(StandardMessage{StandardMessageId::kEnterPositiveInteger}))
        << text;
  }
}

}  // namespace
}  // namespace kx::flows
