// Reads and UID reads: the commands each type and format sends, and what comes back.
#include "flows/read_flow.h"
#include "emulated_reader.h"

namespace kx::flows {
namespace {

using convert::DataFormat;
using testing::Bytes;
using testing::ConnectedReader;
using testing::Numbered;

using testing::kBlockRead;
using testing::kWholeRead;
using testing::kWholeWrite;

class ReadFlowTest : public ConnectedReader {};

struct FormatCase {
  DataFormat format;
  int n;
  std::vector<Bytes> commands;  // TI Multi Page from start block 1
  const char* text;
};

TEST_F(ReadFlowTest, EveryFormatReadsItsBlocksAndShowsTheText) {
  kxemu::Transponder transponder = kxemu::MakeTransponder(33);
  const Bytes value = {'4', '2', 'A', 'b', 0x01, 0x02, 0x03, 0x04, 'x', 'y', 'z', 0, 0, 0, 0, 0};
  std::copy(value.begin(), value.end(), transponder.memory.begin() + 8);
  With(transponder);

  const FormatCase cases[] = {
      {DataFormat::kHexBinary, 4, {{kBlockRead, 33, 1, 1}}, "62413234"},
      {DataFormat::kHexAscii, 4, {{kBlockRead, 33, 1, 1}}, "42Ab"},
      // One block only, whatever n says: the 8 bytes are one little-endian number.
      {DataFormat::kDecimalBinary, 8, {{kBlockRead, 33, 1, 1}}, "289077006048506420"},
      {DataFormat::kDecimalAscii, 2, {{kBlockRead, 33, 1, 1}}, "42"},
      {DataFormat::kDataBinary,
       11,
       {{kBlockRead, 33, 1, 1}, {kBlockRead, 33, 2, 1}},
       "34 32 41 62 01 02 03 04 78 79 7A"},
      {DataFormat::kDataAscii,
       16,
       {{kBlockRead, 33, 1, 1}, {kBlockRead, 33, 2, 1}},
       "42Ab\x01\x02\x03\x04xyz"},
  };
  for (const FormatCase& c : cases) {
    model_->ClearReceivedRequests();
    const ReadDisplay read = ReadOnce(handle_, ReadRequest{2, 1, c.n, c.format});
    ASSERT_TRUE(read.ok()) << static_cast<int>(c.format);
    EXPECT_EQ(Commands(), c.commands) << static_cast<int>(c.format);
    EXPECT_EQ(read.text, c.text) << static_cast<int>(c.format);
  }
}

TEST_F(ReadFlowTest, HdxPlusStepsByTwoBlockNumbers) {
  With(Numbered(35));
  const ReadDisplay read = ReadOnce(handle_, ReadRequest{3, 2, 16, DataFormat::kDataBinary});
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{kBlockRead, 35, 2, 1}, {kBlockRead, 35, 4, 1}}));
  EXPECT_EQ(read.bytes[0], 0x10 + 16);
  EXPECT_EQ(read.bytes[8], 0x10 + 32);
}

TEST_F(ReadFlowTest, ReadOnlyAndReadWriteUseBlockZero) {
  With(Numbered(33));
  for (int type : {0, 1}) {
    model_->ClearReceivedRequests();
    ASSERT_TRUE(ReadOnce(handle_, ReadRequest{type, 7, 8, DataFormat::kHexBinary}).ok());
    EXPECT_EQ(Commands(), (std::vector<Bytes>{{kBlockRead, 33, 0, 1}}));
  }
}

TEST_F(ReadFlowTest, SicTypesAreSelectedByTheirUidFirst) {
  const kxemu::Transponder transponder = Numbered(36);
  With(transponder);
  // DecimalBinary with n = 8 on a 4-byte-block type still reads one block.
  const ReadDisplay read = ReadOnce(handle_, ReadRequest{5, 3, 8, DataFormat::kDecimalBinary});
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{kWholeRead, 36, 0},
                                            testing::Join({kWholeWrite, 36}, transponder.uid),
                                            {kBlockRead, 36, 3, 1}}));
  EXPECT_EQ(read.bytes.size(), 4u);
}

TEST_F(ReadFlowTest, FailingSelectionStopsBeforeAnyBlockRead) {
  With(Numbered(38));
  kxemu::Faults faults;
  faults.swallowNext = 1;  // the UID read goes unanswered
  model_->SetFaults(faults);
  const ReadDisplay read = ReadOnce(handle_, ReadRequest{6, 1, 4, DataFormat::kHexBinary});
  EXPECT_EQ(read.failure, (Failure{StatusMessage::kTimeout, KXLF_ERR_TIMEOUT}));
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{kWholeRead, 38, 0}}));
}

TEST_F(ReadFlowTest, EmptyFieldStopsAtTheFirstBlock) {
  StartConnected();
  const ReadDisplay read = ReadOnce(handle_, ReadRequest{2, 1, 24, DataFormat::kHexAscii});
  EXPECT_EQ(read.failure, (Failure{StatusMessage::kNoTransponder, kNoTransponderStatus}));
  EXPECT_TRUE(read.text.empty());
  EXPECT_EQ(Commands().size(), 1u);
}

TEST_F(ReadFlowTest, BlockBeyondTheMemoryIsAnUnknownError) {
  With(kxemu::MakeTransponder(39, 4));
  const ReadDisplay read = ReadOnce(handle_, ReadRequest{7, 3, 8, DataFormat::kHexBinary});
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(std::get<StatusMessage>(read.failure->message), StatusMessage::kUnknownError);
  EXPECT_EQ(Commands().size(), 2u) << "block 3 answered, block 4 did not";
}

TEST_F(ReadFlowTest, UidIsShownInTheFormat) {
  kxemu::Transponder transponder = kxemu::MakeTransponder(34);
  transponder.uid = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0xF8};
  With(transponder);
  const ReadDisplay hex = ReadUid(handle_, 4, DataFormat::kHexBinary, 8);
  ASSERT_TRUE(hex.ok());
  EXPECT_EQ(hex.text, "F807060504030201");
  EXPECT_EQ(Commands(), (std::vector<Bytes>{{kWholeRead, 34, 0}}));
  EXPECT_EQ(ReadUid(handle_, 4, DataFormat::kDataBinary, 8).text, "01 02 03 04 05 06 07 F8");
  // With the main window's default n = 4 only four bytes show.
  EXPECT_EQ(ReadUid(handle_, 4, DataFormat::kHexBinary, 4).text, "04030201");
}

TEST_F(ReadFlowTest, UidOfAnotherLengthOrMissingTransponderFails) {
  kxemu::Transponder transponder = kxemu::MakeTransponder(39);
  transponder.uid = {1, 2, 3, 4, 5};
  With(transponder);
  EXPECT_EQ(ReadUid(handle_, 7, DataFormat::kHexBinary, 8).failure,
            (Failure{StatusMessage::kWrongDataCount, KXLF_ERR_DATA_COUNT}));
  EXPECT_EQ(ReadUid(handle_, 2, DataFormat::kHexBinary, 8).failure,
            (Failure{StatusMessage::kNoTransponder, kNoTransponderStatus}))
      << "a TI code meets no EM4017";
}

}  // namespace
}  // namespace kx::flows
