// Writes: the block commands each format sends, the text after a write, failures part-way, and
// the read-back of written blocks.
#include "flows/write_flow.h"
#include "emulated_reader.h"

namespace kx::flows {
namespace {

using convert::DataFormat;
using testing::Bytes;
using testing::ConnectedReader;
using testing::Join;

using testing::kBlockRead;
using testing::kBlockWrite;
using testing::kWholeRead;
using testing::kWholeWrite;

class WriteFlowTest : public ConnectedReader {};

WriteRequest Request(int type, unsigned start, int n, DataFormat format, std::string text) {
  WriteRequest request;
  request.typeIndex = type;
  request.startBlock = start;
  request.n = n;
  request.format = format;
  request.text = std::move(text);
  return request;
}

struct FormatCase {
  WriteRequest request;
  std::vector<Bytes> commands;
};

TEST_F(WriteFlowTest, EveryFormatSendsOneBlockWritePerBlock) {
  With(kxemu::MakeTransponder(33));
  WriteRequest zeros = Request(2, 3, 6, DataFormat::kHexAscii, "12");
  zeros.leadingZeros = true;
  const FormatCase cases[] = {
      {Request(2, 3, 4, DataFormat::kHexBinary, "1A2B"),
       {{kBlockWrite, 33, 3, 0x2B, 0x1A, 0, 0, 0, 0, 0, 0}}},
      {zeros, {{kBlockWrite, 33, 3, '0', '0', '0', '0', '1', '2', 0, 0}}},
      {Request(2, 3, 1, DataFormat::kDecimalBinary, "255"),
       {{kBlockWrite, 33, 3, 0xFF, 0, 0, 0, 0, 0, 0, 0}}},
      {Request(2, 3, 10, DataFormat::kDecimalAscii, "12345"),
       {{kBlockWrite, 33, 3, '1', '2', '3', '4', '5', 0, 0, 0},
        {kBlockWrite, 33, 4, 0, 0, 0, 0, 0, 0, 0, 0}}},
      {Request(2, 3, 3, DataFormat::kDataBinary, "01 02 03"),
       {{kBlockWrite, 33, 3, 1, 2, 3, 0, 0, 0, 0, 0}}},
      {Request(2, 3, 9, DataFormat::kDataAscii, "Hello KX!"),
       {{kBlockWrite, 33, 3, 'H', 'e', 'l', 'l', 'o', ' ', 'K', 'X'},
        {kBlockWrite, 33, 4, '!', 0, 0, 0, 0, 0, 0, 0}}},
  };
  for (const FormatCase& c : cases) {
    model_->ClearReceivedRequests();
    const WriteOutcome outcome = WriteOnce(handle_, c.request);
    ASSERT_TRUE(outcome.ok()) << c.request.text;
    EXPECT_EQ(Commands(), c.commands) << c.request.text;
    const Bytes memory = Memory();
    EXPECT_EQ(Bytes(memory.begin() + 24, memory.begin() + 24 + outcome.buffer.bytes.size()),
              outcome.buffer.bytes)
        << c.request.text;
  }
}

TEST_F(WriteFlowTest, HdxPlusWritesConsecutiveBlocks) {
  With(kxemu::MakeTransponder(35));
  ASSERT_TRUE(WriteOnce(handle_, Request(3, 2, 16, DataFormat::kDataBinary, "AA")).ok());
  const std::vector<Bytes> commands = Commands();
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(Bytes(commands[0].begin(), commands[0].begin() + 3), (Bytes{kBlockWrite, 35, 2}));
  EXPECT_EQ(Bytes(commands[1].begin(), commands[1].begin() + 3), (Bytes{kBlockWrite, 35, 3}));
}

TEST_F(WriteFlowTest, SicTypesAreSelectedBeforeWriting) {
  const kxemu::Transponder transponder = kxemu::MakeTransponder(38);
  With(transponder);
  ASSERT_TRUE(WriteOnce(handle_, Request(6, 5, 4, DataFormat::kHexBinary, "01020304")).ok());
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{kWholeRead, 38, 0},
                                            Join({kWholeWrite, 38}, transponder.uid),
                                            {kBlockWrite, 38, 5, 4, 3, 2, 1}}));
}

TEST_F(WriteFlowTest, TextIsNormalisedAndIncrementedAfterTheWrite) {
  With(kxemu::MakeTransponder(33));
  WriteRequest decimal = Request(2, 1, 4, DataFormat::kDecimalBinary, "007");
  decimal.autoIncrement = true;
  WriteOutcome outcome = WriteOnce(handle_, decimal);
  ASSERT_TRUE(outcome.ok());
  EXPECT_EQ(outcome.loggedText, "7");
  EXPECT_EQ(outcome.shownText, "7");
  EXPECT_EQ(outcome.nextText, "8");
  EXPECT_EQ(outcome.successLine, StatusMessage::kValueWritten);

  WriteRequest hex = Request(2, 1, 1, DataFormat::kHexBinary, "ab");
  hex.autoIncrement = true;
  outcome = WriteOnce(handle_, hex);
  EXPECT_EQ(outcome.loggedText, "ab") << "the log records the text before upper case";
  EXPECT_EQ(outcome.shownText, "AB");
  EXPECT_EQ(outcome.nextText, "AC");

  WriteRequest extra = Request(2, 1, 9, DataFormat::kDecimalAscii, "ID-0099-X");
  extra.autoIncrement = extra.extraText = extra.leadingZeros = true;
  EXPECT_EQ(WriteOnce(handle_, extra).nextText, "ID-0100-X");

  hex.autoIncrement = false;
  EXPECT_EQ(WriteOnce(handle_, hex).nextText, "AB");

  WriteRequest data = Request(2, 1, 2, DataFormat::kDataAscii, "ok");
  data.autoIncrement = true;
  outcome = WriteOnce(handle_, data);
  EXPECT_EQ(outcome.successLine, StatusMessage::kDataWritten);
  EXPECT_EQ(outcome.nextText, "ok");
}

TEST_F(WriteFlowTest, ConversionFailureSendsNothing) {
  With(kxemu::MakeTransponder(33));
  const WriteOutcome tooBig =
      WriteOnce(handle_, Request(2, 1, 1, DataFormat::kDecimalBinary, "256"));
  EXPECT_EQ(tooBig.failure, (Failure{convert::MessageId::kByteCountTooSmall, 0}));
  const WriteOutcome empty = WriteOnce(handle_, Request(2, 1, 4, DataFormat::kHexAscii, ""));
  EXPECT_EQ(empty.failure, (Failure{convert::MessageId::kNoData, 0}));
  EXPECT_TRUE(Commands().empty());
}

TEST_F(WriteFlowTest, FailingBlockStopsTheWriteAndKeepsEarlierBlocks) {
  kxemu::Transponder transponder = kxemu::MakeTransponder(33);
  transponder.locked[4] = true;
  With(transponder);
  WriteRequest request = Request(2, 3, 16, DataFormat::kDataBinary, "11 22 33 44 55 66 77 88 99");
  request.autoIncrement = true;
  const WriteOutcome outcome = WriteOnce(handle_, request);
  ASSERT_FALSE(outcome.ok());
  EXPECT_EQ(std::get<StatusMessage>(outcome.failure->message), StatusMessage::kUnknownError);
  EXPECT_NE(outcome.failure->sdkError, 0);
  EXPECT_TRUE(outcome.nextText.empty());
  EXPECT_EQ(Commands().size(), 2u);
  EXPECT_EQ(Memory()[24], 0x11) << "block 3 stays written";
  EXPECT_EQ(Memory()[32], 0x00);
}

TEST_F(WriteFlowTest, EmptyFieldIsNoTransponder) {
  StartConnected();
  const WriteOutcome outcome = WriteOnce(handle_, Request(7, 1, 8, DataFormat::kHexBinary, "1"));
  EXPECT_EQ(outcome.failure, (Failure{StatusMessage::kNoTransponder, kNoTransponderStatus}));
  EXPECT_EQ(Commands().size(), 1u);
}

TEST_F(WriteFlowTest, VerificationReadsTheWrittenBlocksBack) {
  With(kxemu::MakeTransponder(35));
  const WriteOutcome outcome =
      WriteOnce(handle_, Request(3, 2, 16, DataFormat::kDataBinary, "AB CD"));
  ASSERT_TRUE(outcome.ok());
  model_->ClearReceivedRequests();
  const Verification same = VerifyBlocks(handle_, 3, 2, outcome.buffer);
  ASSERT_TRUE(same.ok());
  EXPECT_TRUE(same.matches);
  // Not the read's step of two: the blocks that were written.
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{kBlockRead, 35, 2, 1}, {kBlockRead, 35, 3, 1}}));

  kxemu::Transponder changed = *model_->CurrentTransponder();
  changed.memory[24] ^= 0xFF;
  model_->SetTransponder(changed);
  const Verification differs = VerifyBlocks(handle_, 3, 2, outcome.buffer);
  ASSERT_TRUE(differs.ok());
  EXPECT_FALSE(differs.matches);
  EXPECT_EQ(differs.readBack[8], 0xFF);

  model_->SetTransponder(std::nullopt);
  EXPECT_EQ(VerifyBlocks(handle_, 3, 2, outcome.buffer).failure,
            (Failure{StatusMessage::kNoTransponder, kNoTransponderStatus}));
}

}  // namespace
}  // namespace kx::flows
