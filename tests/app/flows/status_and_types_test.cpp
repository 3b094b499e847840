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

TEST(ErrorMessageIdTest, EveryCodeOfTheTableAndTheRestAsUnknown) {
  EXPECT_EQ(ErrorMessageId(KXLF_ERR_NO_CONNECTION), StatusMessage::kPortOpenFailed);
  EXPECT_EQ(ErrorMessageId(KXLF_ERR_TIMEOUT), StatusMessage::kTimeout);
  EXPECT_EQ(ErrorMessageId(KXLF_ERR_BUFFER_TOO_SMALL), StatusMessage::kBlockLengthWrong);
  EXPECT_EQ(ErrorMessageId(KXLF_ERR_DATA_COUNT), StatusMessage::kWrongDataCount);
  EXPECT_EQ(ErrorMessageId(KXLF_ERR_NO_SEND_DATA), StatusMessage::kNoSendData);
  EXPECT_EQ(ErrorMessageId(KXLF_ERR_NO_READER), StatusMessage::kNoReaderAtPort);
  EXPECT_EQ(ErrorMessageId(kNoTransponderStatus), StatusMessage::kNoTransponder);
  for (int other : {0, -1, 3, KXLF_ERR_PARAMETER, KXLF_ERR_CHECKSUM, KXLF_ERR_VERIFY, 255}) {
    EXPECT_EQ(ErrorMessageId(other), StatusMessage::kUnknownError) << other;
  }
  EXPECT_EQ(static_cast<int>(StatusMessage::kNoTransponder), 220);
  EXPECT_EQ(static_cast<int>(StatusMessage::kReaderNotSupported), 231);
}

TEST(ReaderTypeTest, OnlyTheListedModelsAreAccepted) {
  for (int code : {0x054, 0x231, 0x244, 0x254, 0x284, 0x294, 0x554, 0x564, 0x565})
    EXPECT_TRUE(IsAcceptedReaderType(code)) << code;
  for (int code : {0, 0x039, 0x053, 0x055, 0x230, 0x566, 84 + 1})
    EXPECT_FALSE(IsAcceptedReaderType(code)) << code;
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

TEST(TransponderTypeTest, CodesBlocksAndAbilities) {
  ASSERT_EQ(TransponderTypes().size(), 8u);
  const int codes[] = {33, 33, 33, 35, 34, 36, 38, 39};
  for (const TransponderType& type : TransponderTypes())
    EXPECT_EQ(type.code, codes[type.index]) << type.label;
  EXPECT_FALSE(FindTransponderType(0)->writable);
  EXPECT_TRUE(FindTransponderType(1)->writable);
  EXPECT_EQ(FindTransponderType(3)->readStep, 2);
  EXPECT_TRUE(FindTransponderType(5)->selectsByUid);
  EXPECT_TRUE(FindTransponderType(6)->selectsByUid);
  EXPECT_FALSE(FindTransponderType(7)->selectsByUid);
  EXPECT_EQ(FindTransponderType(8), nullptr);
  EXPECT_EQ(FindTransponderType(-1), nullptr);
  EXPECT_EQ(FirstBlock(*FindTransponderType(1), 5), 0u);
  EXPECT_EQ(FirstBlock(*FindTransponderType(2), 5), 5u);
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
