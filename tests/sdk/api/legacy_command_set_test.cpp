// Readers of the older command set, opened by name and driven through the entry points: the
// capability word each identity earns, the per-type commands that go out for it, and the data
// that comes back into the caller's buffers. The emulated reader interprets those commands on
// its own, so a command that is well framed but means something else shows up as wrong data.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "emulated_reader.h"
#include "kxemu/reader_identity.h"
#include "kxemu/status_codes.h"
#include "kxemu/transponder.h"
#include "kxlf.h"
#include "link/frame_codec.h"
#include "link/transponder_operations.h"
#include "sdk_app.h"

namespace kxlf {
namespace {

using testing::NumberedTransponder;
using Commands = std::vector<Bytes>;

constexpr size_t kBlock = 4;  // bytes per block of every legacy type used here

std::string PresetVersion(const std::string& preset) {
  const std::optional<kxemu::IdentityPreset> found = kxemu::FindIdentityPreset(preset);
  EXPECT_TRUE(found.has_value()) << preset;
  return found ? found->versionText : "";
}

class LegacyReaderTest : public testing::ConnectedReaderTest {
 protected:
  void Connect(const std::string& preset, std::optional<kxemu::Transponder> transponder,
               FrameMode mode = FrameMode::kXor) {
    kxemu::ReaderConfig config;
    config.versionText = PresetVersion(preset);
    config.transponder = std::move(transponder);
    config.answersOnlyInCrcMode = mode == FrameMode::kCrc16;
    mode_ = mode;
    ConnectedReaderTest::Connect(config);
  }

  // Command byte and parameters of every request since the last call.
  Commands Sent() {
    Commands commands;
    for (const Bytes& request : reader_->model.ReceivedRequests()) {
      const DecodedFrame frame = DecodeFrame(mode_, request);
      EXPECT_EQ(frame.check, FrameCheck::kOk);
      Bytes command{frame.code};
      command.insert(command.end(), frame.data.begin(), frame.data.end());
      commands.push_back(command);
    }
    reader_->model.ClearReceivedRequests();
    return commands;
  }
  Bytes Memory(size_t block, size_t blocks) const {
    const kxemu::Transponder transponder = *reader_->model.CurrentTransponder();
    const auto first = transponder.memory.begin() + static_cast<std::ptrdiff_t>(block * kBlock);
    return Bytes(first, first + static_cast<std::ptrdiff_t>(blocks * kBlock));
  }
  bool Locked(size_t block) const {
    return kxemu::IsLocked(*reader_->model.CurrentTransponder(), block);
  }
  // The registered connection; only called after a successful Connect.
  CKX_RW_Port& Port() const { return CKX_LF_SDKApp::Instance().FindConnection(handle_)->port; }
  int LastError() const { return KxLfGetLastError(handle_); }
  // Leaves a known code behind, so that a failure that stores nothing can be told apart.
  void PresetErrorCode() {
    unsigned char scratch[8];
    ASSERT_EQ(KxLfReadTransponder(handle_, 11, scratch, sizeof scratch), -1);
    ASSERT_EQ(LastError(), KXLF_ERR_NOT_SUPPORTED);
    Sent();
  }

  FrameMode mode_ = FrameMode::kXor;
};

TEST_F(LegacyReaderTest, EveryIdentityGetsItsCapabilityWord) {
  struct Case {
    const char* preset;
    uint16_t word;
  };
  for (const Case& c : {Case{"standard", 0x7F3}, Case{"legacy", 0x073}, Case{"legacy-em", 0x001},
                        Case{"legacy-bitpacked", 0x010}, Case{"legacy-reversed", 0x000},
                        Case{"text-answer", 0x103}}) {
    SCOPED_TRACE(c.preset);
    ASSERT_NO_FATAL_FAILURE(Connect(c.preset, std::nullopt));
    EXPECT_EQ(Port().CapabilityWord(), c.word);
    KxLfClose(handle_);
    handle_ = 0;
  }
}

TEST_F(LegacyReaderTest, TextVersionAnswerMeansAnExtendedReader) {
  ASSERT_NO_FATAL_FAILURE(Connect("text-answer", NumberedTransponder(33)));
  const CKX_RW_Port& port = Port();
  EXPECT_EQ(port.TypeCode(), 0x242);
  EXPECT_EQ(port.VersionValue(), 3);

  unsigned char buffer[16];
  ASSERT_EQ(KxLfReadBlocks(handle_, 33, 2, buffer, 16), 16);
  EXPECT_EQ(Sent(), (Commands{{0xC2, 33, 2, 2}}));
  const Bytes memory = reader_->model.CurrentTransponder()->memory;
  EXPECT_EQ(Bytes(buffer, buffer + 16), Bytes(memory.begin() + 16, memory.begin() + 32));
}

TEST_F(LegacyReaderTest, BlockReadsAndWritesMoveOneBlockPerCommand) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy", NumberedTransponder(4)));
  unsigned char buffer[16];
  ASSERT_EQ(KxLfReadBlocks(handle_, 4, 2, buffer, 12), 12);
  EXPECT_EQ(Sent(), (Commands{{0x42, 2}, {0x42, 3}, {0x42, 4}}));
  EXPECT_EQ(Bytes(buffer, buffer + 12), Memory(2, 3));

  ASSERT_EQ(KxLfReadBlocks(handle_, 4 | KXLF_INVERT, 2, buffer, 4), 4);
  EXPECT_EQ(Sent(), (Commands{{0x42, 2}}));
  EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{0xF7, 0xF6, 0xF5, 0xF4}));

  // Whole blocks come back: six bytes asked are eight delivered, one more than the buffer holds.
  std::memset(buffer, 0xEE, sizeof buffer);
  EXPECT_EQ(KxLfReadBlocks(handle_, 4, 2, buffer, 6), -1);
  EXPECT_EQ(LastError(), KXLF_ERR_BUFFER_TOO_SMALL);
  EXPECT_EQ(buffer[0], 0xEE);
  EXPECT_EQ(Sent(), (Commands{{0x42, 2}, {0x42, 3}}));

  // The last piece is filled up with zeros; type 4 has no lock bit, so lock 1 changes nothing.
  const unsigned char data[6] = {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6};
  ASSERT_EQ(KxLfWriteBlocks(handle_, 4, 5, data, 6, 1), 0);
  EXPECT_EQ(Sent(), (Commands{{0x41, 5, 0xA1, 0xA2, 0xA3, 0xA4}, {0x41, 6, 0xA5, 0xA6, 0, 0}}));
  EXPECT_EQ(Memory(5, 2), (Bytes{0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0, 0}));
  EXPECT_FALSE(Locked(5));
}

TEST_F(LegacyReaderTest, WriteStopsAtTheFirstRefusedPieceAndKeepsTheEarlierOnes) {
  kxemu::Transponder transponder = NumberedTransponder(4);
  transponder.locked[3] = true;
  ASSERT_NO_FATAL_FAILURE(Connect("legacy", transponder));
  const unsigned char data[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  EXPECT_EQ(KxLfWriteBlocks(handle_, 4, 2, data, 12, 0), -1);
  EXPECT_EQ(LastError(), kxemu::kStatusBlockLocked);
  EXPECT_EQ(Sent(), (Commands{{0x41, 2, 1, 2, 3, 4}, {0x41, 3, 5, 6, 7, 8}}));
  EXPECT_EQ(Memory(2, 1), (Bytes{1, 2, 3, 4}));
}

TEST_F(LegacyReaderTest, LockBitOnlyForLockableTypesAndLockOne) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy", NumberedTransponder(9)));
  const unsigned char data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_EQ(KxLfWriteBlocks(handle_, 9, 2, data, 8, 1), 0);
  EXPECT_EQ(Sent(), (Commands{{0x31, 0x82, 1, 2, 3, 4}, {0x31, 0x83, 5, 6, 7, 8}}));
  EXPECT_TRUE(Locked(2));
  EXPECT_TRUE(Locked(3));

  // Only lock 1 asks for the lock.
  ASSERT_EQ(KxLfWriteBlocks(handle_, 9, 4, data, 4, 2), 0);
  EXPECT_EQ(Sent(), (Commands{{0x31, 4, 1, 2, 3, 4}}));
  EXPECT_FALSE(Locked(4));

  EXPECT_EQ(KxLfWriteBlocks(handle_, 9, 2, data, 4, 0), -1);
  EXPECT_EQ(LastError(), kxemu::kStatusBlockLocked);
}

TEST_F(LegacyReaderTest, VerifyReadsTheWrittenBlocksBack) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy", NumberedTransponder(4)));
  const unsigned char data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_EQ(KxLfWriteBlocks(handle_, 4 | KXLF_VERIFY, 2, data, 8, 0), 0);
  EXPECT_EQ(Sent(), (Commands{{0x41, 2, 1, 2, 3, 4}, {0x41, 3, 5, 6, 7, 8}, {0x42, 2}, {0x42, 3}}));

  // The type-3 option means nothing for other types.
  ASSERT_EQ(KxLfWriteBlocks(handle_, 4 | KXLF_VERIFY_TYPE3, 2, data, 4, 0), 0);
  EXPECT_EQ(Sent(), (Commands{{0x41, 2, 1, 2, 3, 4}}));

  // A read-back that never delivers its bytes is a failed verification, not the read's error.
  kxemu::Faults empty;
  empty.emptyPayloads = true;
  reader_->model.SetFaults(empty);
  EXPECT_EQ(KxLfWriteBlocks(handle_, 4 | KXLF_VERIFY, 2, data, 4, 0), -1);
  EXPECT_EQ(LastError(), KXLF_ERR_VERIFY);
  const Commands sent = Sent();
  ASSERT_EQ(sent.size(), 1u + kMaxEmptyBlockAnswers);
  EXPECT_EQ(sent[1], (Bytes{0x42, 2}));
}

TEST_F(LegacyReaderTest, Type3VerifyOptionsCompareStraightOrInverted) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy", NumberedTransponder(3)));
  const unsigned char data[4] = {0x11, 0x22, 0x33, 0x44};
  ASSERT_EQ(KxLfWriteBlocks(handle_, 3 | KXLF_VERIFY, 1, data, 4, 0), 0);
  EXPECT_EQ(Sent(), (Commands{{0x31, 1, 0x11, 0x22, 0x33, 0x44}, {0x32, 1}}));

  // With 0x200 the read-back is inverted before the comparison; a transponder that keeps the
  // bytes as written therefore fails it.
  EXPECT_EQ(KxLfWriteBlocks(handle_, 3 | KXLF_VERIFY_TYPE3, 1, data, 4, 0), -1);
  EXPECT_EQ(LastError(), KXLF_ERR_VERIFY);
  EXPECT_EQ(Sent(), (Commands{{0x31, 1, 0x11, 0x22, 0x33, 0x44}, {0x32, 1}}));
  EXPECT_EQ(KxLfWriteBlocks(handle_, 3 | KXLF_VERIFY | KXLF_VERIFY_TYPE3, 1, data, 4, 0), -1);
  EXPECT_EQ(LastError(), KXLF_ERR_VERIFY);
}

TEST_F(LegacyReaderTest, BitPackedType3Commands) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy-bitpacked", NumberedTransponder(3)));
  unsigned char buffer[4];
  ASSERT_EQ(KxLfReadBlocks(handle_, 3, 5, buffer, 4), 4);
  EXPECT_EQ(Sent(), (Commands{{0x32, 0x94}}));
  EXPECT_EQ(Bytes(buffer, buffer + 4), Memory(5, 1));

  const unsigned char data[4] = {0x11, 0x22, 0x33, 0x44};
  ASSERT_EQ(KxLfWriteBlocks(handle_, 3, 5, data, 4, 0), 0);
  EXPECT_EQ(Sent(), (Commands{{0x31, 0x88, 0x86, 0x64, 0x42, 0x34}}));
  EXPECT_EQ(Memory(5, 1), Bytes(data, data + 4));
  EXPECT_FALSE(Locked(5));

  // Here any lock value other than 0 sets the lock bit.
  ASSERT_EQ(KxLfWriteBlocks(handle_, 3, 6, data, 4, 2), 0);
  EXPECT_EQ(Sent(), (Commands{{0x31, 0xA8, 0x86, 0x64, 0x42, 0x38}}));
  EXPECT_TRUE(Locked(6));

  const unsigned char two[8] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
  ASSERT_EQ(KxLfWriteBlocks(handle_, 3 | KXLF_VERIFY, 2, two, 8, 0), 0);
  EXPECT_EQ(Sent(), (Commands{{0x31, 0x88, 0x86, 0x64, 0x42, 0x28},
                              {0x31, 0x91, 0x0E, 0xEC, 0xCA, 0xAC},
                              {0x32, 0x88},
                              {0x32, 0x8C}}));
}

TEST_F(LegacyReaderTest, WordZeroReaderDataIsTurnedBackIntoOrder) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy-reversed", NumberedTransponder(2)));
  unsigned char buffer[16];
  ASSERT_EQ(KxLfReadBlocks(handle_, 2, 1, buffer, 8), 8);
  EXPECT_EQ(Sent(), (Commands{{0x22, 1}, {0x22, 2}}));
  EXPECT_EQ(Bytes(buffer, buffer + 8), Memory(1, 2));

  const Bytes uid = reader_->model.CurrentTransponder()->uid;
  ASSERT_EQ(KxLfReadTransponder(handle_, 2, buffer, sizeof buffer), static_cast<int>(uid.size()));
  EXPECT_EQ(Sent(), (Commands{{0x28}}));
  EXPECT_EQ(Bytes(buffer, buffer + uid.size()), uid);

  const unsigned char data[5] = {1, 2, 3, 4, 5};
  unsigned char answer[5];
  ASSERT_EQ(KxLfWriteTransponder(handle_, 2, data, 5, answer, 5), 5);
  EXPECT_EQ(Sent(), (Commands{{0x29, 1, 2, 3, 4, 5}}));
  EXPECT_EQ(Bytes(answer, answer + 5), Bytes(data, data + 5));

  reader_->model.SetTransponder(NumberedTransponder(6));
  ASSERT_EQ(KxLfReadTransponder(handle_, 6, buffer, sizeof buffer), 4);
  EXPECT_EQ(Sent(), (Commands{{0x62, 32}}));
  EXPECT_EQ(Bytes(buffer, buffer + 4), Memory(32, 1));

  // Type 3 on this reader goes bit-packed and comes back reversed like the others.
  reader_->model.SetTransponder(NumberedTransponder(3));
  ASSERT_EQ(KxLfReadBlocks(handle_, 3, 5, buffer, 4), 4);
  EXPECT_EQ(Sent(), (Commands{{0x32, 0x94}}));
  EXPECT_EQ(Bytes(buffer, buffer + 4), Memory(5, 1));

  // Other types keep the reader's order.
  reader_->model.SetTransponder(NumberedTransponder(4));
  ASSERT_EQ(KxLfReadBlocks(handle_, 4, 5, buffer, 4), 4);
  EXPECT_EQ(Bytes(buffer, buffer + 4), Memory(5, 1));
}

TEST_F(LegacyReaderTest, UniqueCodeReadByTheReaderOrDecodedHere) {
  for (const char* preset : {"legacy", "legacy-em", "legacy-bitpacked"}) {
    SCOPED_TRACE(preset);
    ASSERT_NO_FATAL_FAILURE(Connect(preset, NumberedTransponder(3)));
    const bool readerDecodes = (Port().CapabilityWord() & 0x002) != 0;
    const Bytes uid = reader_->model.CurrentTransponder()->uid;
    unsigned char buffer[8];
    ASSERT_EQ(KxLfReadTransponder(handle_, 3, buffer, sizeof buffer), 5);
    EXPECT_EQ(Sent(), (Commands{{0x39}, {static_cast<uint8_t>(readerDecodes ? 0x10 : 0x34)}}));
    EXPECT_EQ(Bytes(buffer, buffer + 5), Bytes(uid.begin(), uid.begin() + 5));
    KxLfClose(handle_);
    handle_ = 0;
  }
}

TEST_F(LegacyReaderTest, RawUniqueCodeAnswersOfEveryShape) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy-em", NumberedTransponder(3)));
  const Bytes value = {0x9A, 0x78, 0x56, 0x34, 0x12};
  struct Case {
    const char* what;
    Bytes payload;
    bool decodes;
  };
  for (const Case& c : {
           Case{"code", {0xFF, 0x8C, 0xA6, 0x4A, 0x98, 0xF8, 0xCA, 0x96}, true},
           Case{"code caught mid-stream", {0xDF, 0xF1, 0x94, 0xC9, 0x53, 0x1F, 0x19, 0x52}, true},
           Case{"value bytes", value, true},
           Case{"row parity wrong", {0xFF, 0x8D, 0xA6, 0x4A, 0x98, 0xF8, 0xCA, 0x96}, false},
           Case{"stop bit set", {0xFF, 0x8C, 0xA6, 0x4A, 0x98, 0xF8, 0xCA, 0x97}, false},
           Case{"no header", Bytes(8, 0x00), false},
           Case{"seven bytes", Bytes(7, 0xFF), false},
       }) {
    SCOPED_TRACE(c.what);
    ASSERT_NO_FATAL_FAILURE(PresetErrorCode());
    kxemu::Faults faults;
    faults.payloadOverride = c.payload;
    reader_->model.SetFaults(faults);
    unsigned char buffer[8];
    std::memset(buffer, 0xEE, sizeof buffer);
    const int length = KxLfReadTransponder(handle_, 3, buffer, sizeof buffer);
    EXPECT_EQ(Sent(), (Commands{{0x39}, {0x34}}));
    EXPECT_EQ(LastError(), KXLF_ERR_NOT_SUPPORTED) << "no new code in any case";
    if (c.decodes) {
      ASSERT_EQ(length, 5);
      EXPECT_EQ(Bytes(buffer, buffer + 5), value);
    } else {
      EXPECT_EQ(length, -1);
      EXPECT_EQ(buffer[0], 0xEE);
    }
    reader_->model.SetFaults({});
  }
}

TEST_F(LegacyReaderTest, UndecodableUniqueCodeFailsWithoutANewErrorCode) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy-em", NumberedTransponder(3)));
  PresetErrorCode();
  kxemu::Faults empty;
  empty.emptyPayloads = true;
  reader_->model.SetFaults(empty);
  unsigned char buffer[8] = {};
  EXPECT_EQ(KxLfReadTransponder(handle_, 3, buffer, sizeof buffer), -1);
  EXPECT_EQ(LastError(), KXLF_ERR_NOT_SUPPORTED);
  EXPECT_EQ(Sent(), (Commands{{0x39}, {0x34}}));
  EXPECT_EQ(buffer[0], 0);

  // No transponder: the selection already fails, with the reader's status.
  reader_->model.SetFaults({});
  reader_->model.SetTransponder(std::nullopt);
  EXPECT_EQ(KxLfReadTransponder(handle_, 3, buffer, sizeof buffer), -1);
  EXPECT_EQ(LastError(), kxemu::kStatusNoTransponder);
  EXPECT_EQ(Sent(), (Commands{{0x39}}));
}

TEST_F(LegacyReaderTest, Type10KeyDataConfigurationAndBlocks) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy", NumberedTransponder(10)));
  const unsigned char key[6] = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60};
  unsigned char answer[8];
  EXPECT_EQ(KxLfWriteTransponder(handle_, 10, key, 6, answer, sizeof answer), 0);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(Port().KeyData(), Bytes(key, key + 6));

  const Bytes record = reader_->model.CurrentTransponder()->configRecord;
  unsigned char buffer[16];
  std::memset(buffer, 0xEE, sizeof buffer);
  EXPECT_EQ(KxLfReadConfiguration(handle_, 10, buffer, static_cast<int>(record.size()) - 1), -1);
  EXPECT_EQ(LastError(), KXLF_ERR_BUFFER_TOO_SMALL);
  EXPECT_EQ(buffer[0], 0xEE);
  ASSERT_EQ(KxLfReadConfiguration(handle_, 10, buffer, static_cast<int>(record.size())),
            static_cast<int>(record.size()));
  EXPECT_EQ(Bytes(buffer, buffer + record.size()), record);
  EXPECT_EQ(Sent(), (Commands{{0xB0, 0, 23}, {0xB0, 0, 23}}));

  EXPECT_EQ(KxLfReadConfiguration(handle_, 38, buffer, sizeof buffer), -1);
  EXPECT_EQ(LastError(), KXLF_ERR_NOT_SUPPORTED);
  EXPECT_TRUE(Sent().empty());

  const Bytes uid = reader_->model.CurrentTransponder()->uid;
  ASSERT_EQ(KxLfReadTransponder(handle_, 10, buffer, sizeof buffer), static_cast<int>(uid.size()));
  EXPECT_EQ(Sent(), (Commands{{0xB0, 0, 2}}));

  ASSERT_EQ(KxLfReadBlocks(handle_, 10, 3, buffer, 8), 8);
  EXPECT_EQ(Sent(), (Commands{{0xB0, 0, 18, 3, 1}}));
  EXPECT_EQ(Bytes(buffer, buffer + 8), Memory(3, 2));

  ASSERT_EQ(KxLfWriteBlocks(handle_, 10, 200, key, 6, 0), 0);
  EXPECT_EQ(Sent(), (Commands{{0xB0, 0, 20, 200, 0x10, 0x20, 0x30, 0x40},
                              {0xB0, 0, 20, 201, 0x50, 0x60, 0, 0}}));
  EXPECT_EQ(Memory(200, 2), (Bytes{0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0, 0}));
}

TEST_F(LegacyReaderTest, Type9IdentityCountsOnlyBehindItsMarker) {
  kxemu::Transponder transponder = NumberedTransponder(9);
  const Bytes blocks = {0xA0, 0xA1, 0x15, 0xE0, 0xB0, 0xB1, 0xB2, 0xB3};
  std::copy(blocks.begin(), blocks.end(), transponder.memory.begin() + 9 * kBlock);
  ASSERT_NO_FATAL_FAILURE(Connect("legacy", transponder));
  unsigned char buffer[8];
  ASSERT_EQ(KxLfReadTransponder(handle_, 9, buffer, sizeof buffer), 6);
  EXPECT_EQ(Sent(), (Commands{{0x32, 9}, {0x32, 10}}));
  EXPECT_EQ(Bytes(buffer, buffer + 6), (Bytes{0xB0, 0xB1, 0xB2, 0xB3, 0xA0, 0xA1}));

  reader_->model.SetTransponder(NumberedTransponder(9));
  PresetErrorCode();
  EXPECT_EQ(KxLfReadTransponder(handle_, 9, buffer, sizeof buffer), -1);
  EXPECT_EQ(LastError(), KXLF_ERR_NOT_SUPPORTED);
  EXPECT_EQ(Sent().size(), 2u);
}

TEST_F(LegacyReaderTest, WholeTransponderCommandsPerType) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy", std::nullopt));
  struct Case {
    int type;
    Commands read;
  };
  for (const Case& c : {Case{4, {{0x48}}}, Case{12, {{0x48}}}, Case{5, {{0x58}}},
                        Case{7, {{0x72, 1}}}, Case{8, {{0xA2, 1}}}, Case{16, {{0x02, 1}}}}) {
    SCOPED_TRACE(c.type);
    reader_->model.SetTransponder(NumberedTransponder(c.type));
    unsigned char buffer[16];
    EXPECT_GT(KxLfReadTransponder(handle_, c.type, buffer, sizeof buffer), 0);
    EXPECT_EQ(Sent(), c.read);
  }

  const unsigned char data[3] = {7, 8, 9};
  reader_->model.SetTransponder(NumberedTransponder(4));
  EXPECT_EQ(KxLfWriteTransponder(handle_, 4, data, 3, nullptr, 0), 3);
  EXPECT_EQ(Sent(), (Commands{{0x49, 7, 8, 9}}));
  reader_->model.SetTransponder(NumberedTransponder(5));
  EXPECT_EQ(KxLfWriteTransponder(handle_, 5, data, 3, nullptr, 0), 3);
  EXPECT_EQ(Sent(), (Commands{{0x59, 7, 8, 9}}));
}

TEST_F(LegacyReaderTest, RefusalsBeforeAnythingIsSent) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy", NumberedTransponder(8)));
  unsigned char buffer[8] = {};
  const unsigned char data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  struct Range {
    int type;
    int block;
  };
  for (const Range& r : {Range{6, 35}, Range{2, 8}, Range{9, 12}, Range{12, 44}, Range{15, 640},
                         Range{17, 16}, Range{4, -1}}) {
    SCOPED_TRACE(::testing::Message() << r.type << " block " << r.block);
    EXPECT_EQ(KxLfReadBlocks(handle_, r.type, r.block, buffer, 4), -1);
    EXPECT_EQ(LastError(), KXLF_ERR_BLOCK_NUMBER);
    EXPECT_EQ(KxLfWriteBlocks(handle_, r.type, r.block, data, 4, 0), -1);
    EXPECT_EQ(LastError(), KXLF_ERR_BLOCK_NUMBER);
  }
  EXPECT_TRUE(Sent().empty());

  // Blocks 14 and 15 of type 8 take exactly one 4-byte piece, without a block number.
  for (int length : {8, 3, 0}) {
    EXPECT_EQ(KxLfWriteBlocks(handle_, 8, 14, data, length, 0), -1) << length;
    EXPECT_EQ(LastError(), KXLF_ERR_DATA_COUNT);
  }
  EXPECT_TRUE(Sent().empty());
  ASSERT_EQ(KxLfWriteBlocks(handle_, 8, 15, data, 4, 0), 0);
  EXPECT_EQ(Sent(), (Commands{{0xA8, 1, 2, 3, 4}}));
  EXPECT_EQ(Memory(14, 1), (Bytes{1, 2, 3, 4}));

  EXPECT_EQ(KxLfReadTransponder(handle_, 11, buffer, sizeof buffer), -1);
  EXPECT_EQ(LastError(), KXLF_ERR_NOT_SUPPORTED);
  EXPECT_EQ(KxLfWriteTransponder(handle_, 3, data, 4, nullptr, 0), -1);
  EXPECT_EQ(LastError(), KXLF_ERR_NOT_SUPPORTED);
  EXPECT_EQ(KxLfReadConfiguration(handle_, 33, buffer, sizeof buffer), -1);
  EXPECT_EQ(LastError(), KXLF_ERR_NOT_SUPPORTED);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(LegacyReaderTest, TypesOutsideTheLegacyRangeAreSentUnchecked) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy", NumberedTransponder(8)));
  unsigned char buffer[4];
  EXPECT_EQ(KxLfReadBlocks(handle_, 19, 300, buffer, 4), -1);
  EXPECT_EQ(LastError(), kxemu::kStatusNoTransponder);
  EXPECT_EQ(Sent(), (Commands{{0x02, 0x2C}}));
}

TEST_F(LegacyReaderTest, ReaderThatKeepsAnsweringEmptyEndsTheRead) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy", NumberedTransponder(4)));
  kxemu::Faults empty;
  empty.emptyPayloads = true;
  reader_->model.SetFaults(empty);
  unsigned char buffer[8];
  std::memset(buffer, 0xEE, sizeof buffer);
  EXPECT_EQ(KxLfReadBlocks(handle_, 4, 0, buffer, 8), -1);
  EXPECT_EQ(LastError(), KXLF_ERR_DATA_COUNT);
  EXPECT_EQ(buffer[0], 0xEE);
  const Commands sent = Sent();
  ASSERT_EQ(sent.size(), static_cast<size_t>(kMaxEmptyBlockAnswers));
  EXPECT_EQ(sent.back(), (Bytes{0x42, static_cast<uint8_t>(kMaxEmptyBlockAnswers - 1)}));
}

TEST_F(LegacyReaderTest, BlockReadCountsTheBytesAnsweredNotTheBlocks) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy", NumberedTransponder(4)));
  kxemu::Faults faults;
  faults.payloadOverride = Bytes{1, 2, 3, 4, 5, 6, 7, 8};
  reader_->model.SetFaults(faults);
  unsigned char buffer[8];
  ASSERT_EQ(KxLfReadBlocks(handle_, 4, 0, buffer, 8), 8);
  EXPECT_EQ(Sent(), (Commands{{0x42, 0}}));
  EXPECT_EQ(Bytes(buffer, buffer + 8), (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));

  faults.payloadOverride = Bytes{1, 2, 3};
  reader_->model.SetFaults(faults);
  EXPECT_EQ(KxLfReadBlocks(handle_, 4, 0, buffer, 8), -1);
  EXPECT_EQ(LastError(), KXLF_ERR_BUFFER_TOO_SMALL) << "three answers of three bytes";
  EXPECT_EQ(Sent(), (Commands{{0x42, 0}, {0x42, 1}, {0x42, 2}}));
}

TEST_F(LegacyReaderTest, CrcOnlyLegacyReader) {
  ASSERT_NO_FATAL_FAILURE(Connect("legacy-bitpacked", NumberedTransponder(3), FrameMode::kCrc16));
  EXPECT_EQ(Port().Mode(), FrameMode::kCrc16);
  unsigned char buffer[8];
  ASSERT_EQ(KxLfReadBlocks(handle_, 3, 0, buffer, 8), 8);
  EXPECT_EQ(Sent(), (Commands{{0x32, 0x80}, {0x32, 0x84}}));
  EXPECT_EQ(Bytes(buffer, buffer + 8), Memory(0, 2));
}

}  // namespace
}  // namespace kxlf
