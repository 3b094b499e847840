#include "link/transponder_operations.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

#include "link/error_codes.h"

namespace kxlf {
namespace {

constexpr uint16_t kExtended = 0x7F3;
constexpr uint16_t kLegacyPlain = 0x003;   // plain type-3 commands, unique-code command 0x10
constexpr uint16_t kLegacyPacked = 0x010;  // bit-packed type-3 commands, code read with 0x34
constexpr uint16_t kLegacyReversed = 0x000;

struct Sent {
  uint8_t command;
  Bytes parameters;
  uint32_t timeoutOverrideMs = 0;

  bool operator==(const Sent&) const = default;
};

void PrintTo(const Sent& sent, std::ostream* os) {
  *os << std::hex << "cmd " << int(sent.command) << " [";
  for (uint8_t b : sent.parameters)
    *os << ' ' << int(b);
  *os << " ] timeout " << std::dec << sent.timeoutOverrideMs;
}

// Records every command and answers from a script; once the script is used up every command
// succeeds with an empty payload.
class ScriptedChannel : public CommandChannel {
 public:
  explicit ScriptedChannel(uint16_t capabilityWord, uint32_t timeoutMs = 500)
      : capabilityWord_(capabilityWord), timeoutMs_(timeoutMs) {}

  ScriptedChannel& Answer(Bytes payload) {
    script_.push_back({true, std::move(payload), 0});
    return *this;
  }
  ScriptedChannel& Fail(int code) {
    script_.push_back({false, {}, code});
    return *this;
  }

  bool Execute(uint8_t command, const Bytes& parameters, Bytes& payload,
               uint32_t timeoutOverrideMs) override {
    sent.push_back({command, parameters, timeoutOverrideMs});
    return Next(payload);
  }
  bool ExecuteStatus(uint8_t command, const Bytes& parameters) override {
    sent.push_back({command, parameters, 0});
    Bytes ignored;
    return Next(ignored);
  }
  uint32_t Timeout() const override { return timeoutMs_; }
  uint16_t CapabilityWord() const override { return capabilityWord_; }
  void StoreError(int code) override { error = code; }
  Bytes& KeyData() override { return keyData; }

  std::vector<Sent> sent;
  int error = 0;
  Bytes keyData;

 private:
  struct Step {
    bool ok;
    Bytes payload;
    int error;
  };

  bool Next(Bytes& payload) {
    if (script_.empty()) {
      payload.clear();
      return true;
    }
    Step step = std::move(script_.front());
    script_.pop_front();
    if (!step.ok) {
      error = step.error;
      return false;
    }
    payload = std::move(step.payload);
    return true;
  }

  uint16_t capabilityWord_;
  uint32_t timeoutMs_;
  std::deque<Step> script_;
};

using Operation = std::function<bool(CommandChannel&, Bytes&)>;

Operation Read(int typeAndOptions, int block, int length) {
  return [=](CommandChannel& c, Bytes& out) {
    return ReadBlocks(c, typeAndOptions, block, length, out);
  };
}
Operation Write(int type, int block, Bytes data, int lock = 0) {
  return [=](CommandChannel& c, Bytes&) { return WriteBlocks(c, type, block, data, lock); };
}
Operation WholeRead(int type) {
  return [=](CommandChannel& c, Bytes& out) { return ReadWholeTransponder(c, type, out); };
}
Operation WholeWrite(int type, Bytes data) {
  return [=](CommandChannel& c, Bytes& out) { return WriteWholeTransponder(c, type, data, out); };
}
Operation Configuration(int type) {
  return [=](CommandChannel& c, Bytes& out) { return ReadConfiguration(c, type, out); };
}

const Bytes kData{0x11, 0x22, 0x33, 0x44};
const Bytes kUntouched{0xEE};

TEST(TransponderOperations, CommandBytes) {
  struct Case {
    const char* what;
    uint16_t word;
    Operation run;
    std::vector<Sent> sent;
  };
  const Case cases[] = {
      // extended block reads: the reader counts blocks of 8, 4, 2 or 1 bytes
      {"read 33", kExtended, Read(33, 2, 16), {{0xC2, {33, 2, 2}}}},
      {"read 38", kExtended, Read(38, 5, 16), {{0xC2, {38, 5, 4}}}},
      {"read 11", kExtended, Read(11, 0, 3), {{0xC2, {11, 0, 3}}}},
      {"read 37 rounds down", kExtended, Read(37, 1, 23), {{0xC2, {37, 1, 2}}}},
      {"read 15 from 200", kExtended, Read(15, 200, 8), {{0xC4, {15, 2, 0xC8, 0, 4, 0}}}},
      {"read 15 one block", kExtended, Read(15, 300, 2), {{0xC4, {15, 13, 0x2C, 0x01}}}},
      {"read 15 from 100", kExtended, Read(15, 100, 8), {{0xC2, {15, 100, 4}}}},
      {"read 15 from 128", kExtended, Read(15, 128, 2), {{0xC2, {15, 128, 1}}}},
      {"read 15, 129 blocks", kExtended, Read(15, 0, 258), {{0xC4, {15, 2, 0, 0, 129, 0}}}},
      {"read 33 above 18 unranged", kExtended, Read(33, 200, 8), {{0xC2, {33, 200, 1}}}},
      {"read 0x421 is type 33", kExtended, Read(0x421, 0, 8), {{0xC2, {33, 0, 1}}}},
      // legacy block reads: base(type) | 2, one block per command
      {"legacy read 4", kLegacyPlain, Read(4, 3, 4), {{0x42, {3}}}},
      {"legacy read 2", kLegacyPlain, Read(2, 1, 4), {{0x22, {1}}}},
      {"legacy read 3 plain", kLegacyPlain, Read(3, 5, 4), {{0x32, {5}}}},
      {"legacy read 3 packed", kLegacyPacked, Read(3, 5, 4), {{0x32, {0x94}}}},
      {"legacy read 8", kLegacyPlain, Read(8, 1, 4), {{0xA2, {1}}}},
      {"legacy read 9", kLegacyPlain, Read(9, 1, 4), {{0x32, {1}}}},
      {"legacy read 12", kLegacyPlain, Read(12, 1, 4), {{0x42, {1}}}},
      {"legacy read 14", kLegacyPlain, Read(14, 1, 4), {{0x02, {1}}}},
      {"legacy read 10", kLegacyPlain, Read(10, 200, 16), {{0xB0, {0, 18, 200, 3}}}},
      // extended block writes: lock bit only for types 3, 9, 13, 17 and lock 1
      {"write 9 lock",
       kExtended,
       Write(9, 5, kData, 1),
       {{0xC3, {9, 0x85, 0x11, 0x22, 0x33, 0x44}}}},
      {"write 17 lock", kExtended, Write(17, 0, {7}, 1), {{0xC3, {17, 0x80, 7}}}},
      {"write 33 lock", kExtended, Write(33, 5, {7}, 1), {{0xC3, {33, 5, 7}}}},
      {"write 9 lock 2", kExtended, Write(9, 5, {7}, 2), {{0xC3, {9, 5, 7}}}},
      {"write 15 high",
       kExtended,
       Write(15, 300, {0xAB, 0xCD}),
       {{0xC4, {15, 14, 0x2C, 1, 0xAB, 0xCD}}}},
      {"write 15 at 128", kExtended, Write(15, 128, {0xAB}), {{0xC3, {15, 128, 0xAB}}}},
      {"write 8 block 14",
       kExtended,
       Write(8, 14, kData, 1),
       {{0xC4, {8, 3, 0x11, 0x22, 0x33, 0x44}}}},
      {"write 16 block 15", kLegacyPlain, Write(16, 15, kData), {{0xA8, kData}}},
      {"write 8 block 13",
       kExtended,
       Write(8, 13, {1, 2, 3, 4, 5}),
       {{0xC3, {8, 13, 1, 2, 3, 4, 5}}}},
      // legacy block writes: 4-byte pieces, the last one filled with zeros
      {"legacy write 4",
       kLegacyPlain,
       Write(4, 2, {1, 2, 3, 4, 5, 6}, 1),
       {{0x41, {2, 1, 2, 3, 4}}, {0x41, {3, 5, 6, 0, 0}}}},
      {"legacy write 9 lock", kLegacyPlain, Write(9, 10, {1}, 1), {{0x31, {0x8A, 1, 0, 0, 0}}}},
      {"legacy write 10",
       kLegacyPlain,
       Write(10, 7, kData),
       {{0xB0, {0, 20, 7, 0x11, 0x22, 0x33, 0x44}}}},
      {"legacy write 14", kLegacyPlain, Write(14, 1, {9}), {{0x01, {1, 9, 0, 0, 0}}}},
      {"legacy write 3 packed",
       kLegacyPacked,
       Write(3, 5, kData),
       {{0x31, {0x88, 0x86, 0x64, 0x42, 0x34}}}},
      {"legacy write 3 packed lock",
       kLegacyPacked,
       Write(3, 5, kData, 2),
       {{0x31, {0xA8, 0x86, 0x64, 0x42, 0x34}}}},
      {"legacy write 3 packed, two blocks",
       kLegacyPacked,
       Write(3, 6, {0xFF, 0, 0, 0, 1}),
       {{0x31, {0x80, 0, 0, 0x1F, 0xF8}}, {0x31, {0x80, 0, 0, 0, 0x3C}}}},
      // whole transponder: extended waits at least 1 s to read and 2 s to write
      {"whole read", kExtended, WholeRead(33), {{0xC0, {33, 0}, 1000}}},
      {"whole write", kExtended, WholeWrite(33, {9, 8}), {{0xC1, {33, 9, 8}, 2000}}},
      {"legacy whole read 2", kLegacyPlain, WholeRead(2), {{0x28, {}}}},
      {"legacy whole read 12", kLegacyPlain, WholeRead(12), {{0x48, {}}}},
      {"legacy whole read 5", kLegacyPlain, WholeRead(5), {{0x58, {}}}},
      {"legacy whole read 6", kLegacyPlain, WholeRead(6), {{0x62, {32}}}},
      {"legacy whole read 7", kLegacyPlain, WholeRead(7), {{0x72, {1}}}},
      {"legacy whole read 16", kLegacyPlain, WholeRead(16), {{0x02, {1}}}},
      {"legacy whole read 10", kLegacyPlain, WholeRead(10), {{0xB0, {0, 2}}}},
      {"legacy whole write 2", kLegacyPlain, WholeWrite(2, {7}), {{0x29, {7}}}},
      {"legacy whole write 12", kLegacyPlain, WholeWrite(12, {7}), {{0x49, {7}}}},
      {"legacy whole write 5", kLegacyPlain, WholeWrite(5, {7}), {{0x59, {7}}}},
      // configuration records
      {"configuration 10", kExtended, Configuration(10), {{0xC4, {10, 23, 0}}}},
      {"configuration 38", kExtended, Configuration(38), {{0xC4, {38, 2}}}},
      {"legacy configuration 10", kLegacyPlain, Configuration(10), {{0xB0, {0, 23}}}},
  };
  for (const Case& c : cases) {
    ScriptedChannel channel(c.word);
    channel.Answer({1, 2, 3, 4});
    Bytes out;
    EXPECT_TRUE(c.run(channel, out)) << c.what;
    EXPECT_EQ(channel.sent, c.sent) << c.what;
  }
}

TEST(TransponderOperations, RefusedBeforeAnythingIsSent) {
  struct Case {
    const char* what;
    uint16_t word;
    Operation run;
    int error;
  };
  const Case cases[] = {
      {"read 6 block 35", kExtended, Read(6, 35, 4), kErrBlockNumber},
      {"legacy read 6 block 35", kLegacyPlain, Read(6, 35, 4), kErrBlockNumber},
      {"read 2 block 8", kExtended, Read(2, 8, 4), kErrBlockNumber},
      {"read 9 block 12", kExtended, Read(9, 12, 4), kErrBlockNumber},
      {"read 10 block 256", kLegacyPlain, Read(10, 256, 4), kErrBlockNumber},
      {"read 11 block 17", kExtended, Read(11, 17, 1), kErrBlockNumber},
      {"read 12 block 44", kExtended, Read(12, 44, 4), kErrBlockNumber},
      {"read 15 block 640", kExtended, Read(15, 640, 2), kErrBlockNumber},
      {"read 18 block 16", kExtended, Read(18, 16, 4), kErrBlockNumber},
      {"read 4 block -1", kExtended, Read(4, -1, 4), kErrBlockNumber},
      {"write 6 block 35", kExtended, Write(6, 35, kData), kErrBlockNumber},
      {"legacy write 16 block 64", kLegacyPlain, Write(16, 64, kData), kErrBlockNumber},
      // A piece beyond the last block would wrap to block 0 on a bit-packed reader.
      {"legacy write 3 packed past block 7", kLegacyPacked, Write(3, 7, {0xFF, 0, 0, 0, 1}),
       kErrBlockNumber},
      {"legacy write 2 past block 7", kLegacyPlain, Write(2, 7, Bytes(8, 1)), kErrBlockNumber},
      {"negative length", kExtended, Read(33, 0, -8), kErrParameter},
      {"write 8 block 14, 3 bytes", kExtended, Write(8, 14, {1, 2, 3}), kErrDataCount},
      {"write 16 block 15, 5 bytes", kLegacyPlain, Write(16, 15, {1, 2, 3, 4, 5}), kErrDataCount},
      {"write 254 bytes", kExtended, Write(33, 0, Bytes(254, 1)), kErrParameter},
      {"write 15 high, 252 bytes", kExtended, Write(15, 200, Bytes(252, 1)), kErrParameter},
      {"whole write 255 bytes", kExtended, WholeWrite(33, Bytes(255, 1)), kErrParameter},
      {"legacy whole write 256 bytes", kLegacyPlain, WholeWrite(4, Bytes(256, 1)), kErrParameter},
      {"legacy whole read 11", kLegacyPlain, WholeRead(11), kErrNotSupported},
      {"legacy whole write 6", kLegacyPlain, WholeWrite(6, {1}), kErrNotSupported},
      {"legacy configuration 38", kLegacyPlain, Configuration(38), kErrNotSupported},
      {"configuration 33", kExtended, Configuration(33), kErrNotSupported},
  };
  for (const Case& c : cases) {
    ScriptedChannel channel(c.word);
    Bytes out = kUntouched;
    EXPECT_FALSE(c.run(channel, out)) << c.what;
    EXPECT_EQ(channel.error, c.error) << c.what;
    EXPECT_TRUE(channel.sent.empty()) << c.what;
    EXPECT_EQ(out, kUntouched) << c.what;
  }
  // the largest commands that still fit one frame go out
  ScriptedChannel channel(kExtended);
  Bytes out;
  EXPECT_TRUE(WriteBlocks(channel, 33, 0, Bytes(253, 1), 0));
  EXPECT_TRUE(WriteWholeTransponder(channel, 33, Bytes(254, 1), out));
  EXPECT_TRUE(ReadBlocks(channel, 6, 34, 4, out));
}

TEST(TransponderOperations, AnswersAreInvertedOrReversedAsAsked) {
  for (uint16_t word : {kExtended, kLegacyPlain}) {
    ScriptedChannel channel(word);
    channel.Answer({0x00, 0xFF, 0x5A}).Answer({0x00, 0xFF, 0x5A});
    Bytes result;
    ASSERT_TRUE(ReadBlocks(channel, 0x400 | 4, 0, 3, result));
    EXPECT_EQ(result, (Bytes{0xFF, 0x00, 0xA5}));
    ASSERT_TRUE(ReadBlocks(channel, 0x100 | 4, 0, 3, result));
    EXPECT_EQ(result, (Bytes{0x00, 0xFF, 0x5A}));
  }
  for (int type : {2, 3, 6}) {
    ScriptedChannel oldest(kLegacyReversed);
    oldest.Answer({1, 2, 3, 4}).Answer({5, 6, 7, 8});
    Bytes result;
    ASSERT_TRUE(ReadBlocks(oldest, type, 0, 8, result));
    EXPECT_EQ(result, (Bytes{4, 3, 2, 1, 8, 7, 6, 5})) << type;
  }
  ScriptedChannel oldest(kLegacyReversed);
  oldest.Answer({1, 2, 3}).Answer({4, 5, 6}).Answer({1, 2, 3, 4});
  Bytes result;
  ASSERT_TRUE(ReadWholeTransponder(oldest, 2, result));
  EXPECT_EQ(result, (Bytes{3, 2, 1}));
  ASSERT_TRUE(WriteWholeTransponder(oldest, 2, {7}, result));
  EXPECT_EQ(result, (Bytes{6, 5, 4}));
  ASSERT_TRUE(ReadBlocks(oldest, 4, 0, 4, result));
  EXPECT_EQ(result, (Bytes{1, 2, 3, 4}));

  ScriptedChannel newer(kLegacyPlain);
  newer.Answer({1, 2, 3});
  ASSERT_TRUE(ReadWholeTransponder(newer, 2, result));
  EXPECT_EQ(result, (Bytes{1, 2, 3}));
}

TEST(TransponderOperations, LongerConnectionTimeoutStaysForWholeTransponder) {
  ScriptedChannel channel(kExtended, 2500);
  Bytes result;
  ASSERT_TRUE(ReadWholeTransponder(channel, 33, result));
  ASSERT_TRUE(WriteWholeTransponder(channel, 33, {1}, result));
  EXPECT_EQ(channel.sent[0].timeoutOverrideMs, 2500u);
  EXPECT_EQ(channel.sent[1].timeoutOverrideMs, 2500u);
}

TEST(TransponderOperations, Type10WholeWriteKeepsKeyData) {
  for (uint16_t word : {kExtended, kLegacyPlain}) {
    ScriptedChannel channel(word);
    Bytes answer = kUntouched;
    ASSERT_TRUE(WriteWholeTransponder(channel, 10, {1, 2, 3}, answer));
    EXPECT_TRUE(channel.sent.empty());
    EXPECT_TRUE(answer.empty());
    EXPECT_EQ(channel.keyData, (Bytes{1, 2, 3}));
  }
}

TEST(TransponderOperations, LegacyMultiCommandOperationsStopAtTheFirstFailure) {
  ScriptedChannel read(kLegacyPlain);
  read.Answer({1, 2, 3, 4}).Fail(kStatusNoTransponder);
  Bytes result = kUntouched;
  EXPECT_FALSE(ReadBlocks(read, 4, 0, 12, result));
  EXPECT_EQ(read.sent.size(), 2u);
  EXPECT_EQ(read.error, kStatusNoTransponder);
  EXPECT_EQ(result, kUntouched);

  ScriptedChannel write(kLegacyPlain);
  write.Answer({}).Fail(kStatusNoTransponder);
  EXPECT_FALSE(WriteBlocks(write, 4, 0, Bytes(12, 0x77), 0));
  EXPECT_EQ(write.sent.size(), 2u);
  EXPECT_EQ(write.error, kStatusNoTransponder);
}

TEST(TransponderOperations, LegacyEmptyAnswersMoveOnButDoNotRunForever) {
  ScriptedChannel gap(kLegacyPlain);
  gap.Answer({}).Answer({1, 2, 3, 4});
  Bytes result;
  ASSERT_TRUE(ReadBlocks(gap, 4, 0, 4, result));
  EXPECT_EQ(gap.sent, (std::vector<Sent>{{0x42, {0}}, {0x42, {1}}}));
  EXPECT_EQ(result, (Bytes{1, 2, 3, 4}));

  ScriptedChannel silent(kLegacyPlain);  // answers every block empty
  result = kUntouched;
  EXPECT_FALSE(ReadBlocks(silent, 4, 0, 4, result));
  EXPECT_EQ(silent.error, kErrDataCount);
  EXPECT_EQ(silent.sent.size(), static_cast<size_t>(kMaxEmptyBlockAnswers));
  EXPECT_EQ(result, kUntouched);

  ScriptedChannel patchy(kLegacyPlain);  // data in between starts the count again
  for (int i = 0; i < kMaxEmptyBlockAnswers - 1; ++i)
    patchy.Answer({});
  patchy.Answer({1});
  for (int i = 0; i < kMaxEmptyBlockAnswers - 1; ++i)
    patchy.Answer({});
  patchy.Answer({2});
  ASSERT_TRUE(ReadBlocks(patchy, 33, 0, 2, result));
  EXPECT_EQ(result, (Bytes{1, 2}));
}

TEST(TransponderOperations, LegacyType9NeedsItsMarker) {
  ScriptedChannel good(kLegacyPlain);
  good.Answer({0xA0, 0xA1, 0x15, 0xE0}).Answer({0xB0, 0xB1, 0xB2, 0xB3});
  Bytes result;
  ASSERT_TRUE(ReadWholeTransponder(good, 9, result));
  EXPECT_EQ(good.sent, (std::vector<Sent>{{0x32, {9}}, {0x32, {10}}}));
  EXPECT_EQ(result, (Bytes{0xB0, 0xB1, 0xB2, 0xB3, 0xA0, 0xA1}));

  ScriptedChannel wrong(kLegacyPlain);
  wrong.Answer({0xA0, 0xA1, 0x15, 0xE1}).Answer({0xB0, 0xB1, 0xB2, 0xB3});
  result = kUntouched;
  EXPECT_FALSE(ReadWholeTransponder(wrong, 9, result));
  EXPECT_EQ(wrong.error, 0);
  EXPECT_EQ(result, kUntouched);
}

TEST(TransponderOperations, LegacyType3ReadsTheUniqueCode) {
  ScriptedChannel decodingReader(kLegacyPlain);
  decodingReader.Answer({}).Answer({1, 2, 3, 4, 5});
  Bytes result;
  ASSERT_TRUE(ReadWholeTransponder(decodingReader, 3, result));
  EXPECT_EQ(decodingReader.sent, (std::vector<Sent>{{0x39, {}}, {0x10, {}}}));
  EXPECT_EQ(result, (Bytes{1, 2, 3, 4, 5}));

  // header, rows 1 to A, column parity, stop bit: the value 12 3456 789A
  ScriptedChannel rawReader(kLegacyPacked);
  rawReader.Answer({}).Answer({0xFF, 0x8C, 0xA6, 0x4A, 0x98, 0xF8, 0xCA, 0x96});
  ASSERT_TRUE(ReadWholeTransponder(rawReader, 3, result));
  EXPECT_EQ(rawReader.sent, (std::vector<Sent>{{0x39, {}}, {0x34, {}}}));
  EXPECT_EQ(result, (Bytes{0x9A, 0x78, 0x56, 0x34, 0x12}));

  ScriptedChannel valueReader(kLegacyPacked);
  valueReader.Answer({}).Answer({5, 4, 3, 2, 1});
  ASSERT_TRUE(ReadWholeTransponder(valueReader, 3, result));
  EXPECT_EQ(result, (Bytes{5, 4, 3, 2, 1}));

  for (const Bytes& bad : {Bytes{1, 2, 3, 4, 5, 6}, Bytes(8, 0)}) {
    ScriptedChannel badReader(kLegacyPacked);
    badReader.Answer({}).Answer(bad);
    result = kUntouched;
    EXPECT_FALSE(ReadWholeTransponder(badReader, 3, result));
    EXPECT_EQ(badReader.error, 0);
    EXPECT_EQ(result, kUntouched);
  }

  ScriptedChannel noTransponder(kLegacyPacked);
  noTransponder.Fail(kStatusNoTransponder);
  EXPECT_FALSE(ReadWholeTransponder(noTransponder, 3, result));
  EXPECT_EQ(noTransponder.sent.size(), 1u);
  EXPECT_EQ(noTransponder.error, kStatusNoTransponder);
}

}  // namespace
}  // namespace kxlf
