// The legacy command set, with the differences that older readers' capability words bring.
#include <gtest/gtest.h>

#include "kxemu/reader_model.h"
#include "kxemu/status_codes.h"
#include "model_exchange.h"

namespace kxemu {
namespace {

using testing::Exchange;
using testing::ModelWith;

constexpr const char* kPlain = "0394";      // word 0x073
constexpr const char* kBitPacked = "0011";  // word 0x010
constexpr const char* kReversed = "0105";   // word 0
constexpr const char* kEmCode = "0206";     // word 0x001

Transponder WithBlock(int type, size_t block, Bytes data) {
  Transponder transponder = MakeTransponder(type);
  std::copy(data.begin(), data.end(), transponder.memory.begin() + block * BlockUnit(type));
  return transponder;
}

TEST(LegacyCommands, BlockCommandsPerTypeFamily) {
  struct Case {
    int type;
    uint8_t read;
  };
  for (const Case& c :
       {Case{2, 0x22}, Case{3, 0x32}, Case{9, 0x32}, Case{4, 0x42}, Case{12, 0x42}, Case{5, 0x52},
        Case{6, 0x62}, Case{7, 0x72}, Case{8, 0xA2}, Case{16, 0x02}, Case{13, 0x02}}) {
    ReaderModel model = ModelWith(MakeTransponder(c.type), kPlain);
    const uint8_t write = c.read - 1;
    EXPECT_EQ(Exchange(model, write, {1, 0x11, 0x22, 0x33, 0x44}).code, kStatusOk) << c.type;
    EXPECT_EQ(Exchange(model, c.read, {1}).data, (Bytes{0x11, 0x22, 0x33, 0x44})) << c.type;
  }
  // A transponder outside the command's family does not answer.
  ReaderModel model = ModelWith(MakeTransponder(4), kPlain);
  EXPECT_EQ(Exchange(model, 0x22, {1}).code, kStatusNoTransponder);
  EXPECT_EQ(Exchange(model, 0x02, {1}).code, kStatusNoTransponder);
  EXPECT_EQ(Exchange(model, 0x42, {200}).code, kStatusBlockRange);
}

TEST(LegacyCommands, PlainType3WriteCarriesTheLockBit) {
  ReaderModel model = ModelWith(MakeTransponder(3), kPlain);
  EXPECT_EQ(Exchange(model, 0x31, {0x85, 1, 2, 3, 4}).code, kStatusOk);
  EXPECT_TRUE(IsLocked(*model.CurrentTransponder(), 5));
  EXPECT_EQ(Exchange(model, 0x31, {0x05, 9, 9, 9, 9}).code, kStatusBlockLocked);
  EXPECT_EQ(Exchange(model, 0x32, {5}).data, (Bytes{1, 2, 3, 4}));
}

TEST(LegacyCommands, BitPackedType3Commands) {
  ReaderModel model = ModelWith(MakeTransponder(3), kBitPacked);
  EXPECT_EQ(Exchange(model, 0x31, {0x88, 0x86, 0x64, 0x42, 0x34}).code, kStatusOk);
  EXPECT_EQ(Exchange(model, 0x32, {0x94}).data, (Bytes{0x11, 0x22, 0x33, 0x44}));
  EXPECT_FALSE(IsLocked(*model.CurrentTransponder(), 5));
  // Lock request: (4 + 1) << 37 sets bit 0x20 of the first byte.
  EXPECT_EQ(Exchange(model, 0x31, {0xA8, 0x86, 0x64, 0x42, 0x38}).code, kStatusOk);
  EXPECT_TRUE(IsLocked(*model.CurrentTransponder(), 6));
  EXPECT_EQ(Exchange(model, 0x32, {5}).code, kStatusBadParameter);
}

TEST(LegacyCommands, WordZeroReaderSendsTypes2And3And6Reversed) {
  const auto read = [](Transponder transponder, const char* version, uint8_t command,
                       uint8_t param) {
    ReaderModel model = ModelWith(std::move(transponder), version);
    return Exchange(model, command, {param}).data;
  };
  const Bytes data = {1, 2, 3, 4};
  const Bytes reversed = {4, 3, 2, 1};
  EXPECT_EQ(read(WithBlock(2, 1, data), kReversed, 0x22, 1), reversed);
  EXPECT_EQ(read(WithBlock(6, 32, data), kReversed, 0x62, 32), reversed);
  EXPECT_EQ(read(WithBlock(3, 2, data), kReversed, 0x32, 0x88), reversed);
  EXPECT_EQ(read(WithBlock(4, 1, data), kReversed, 0x42, 1), data);
  EXPECT_EQ(read(WithBlock(2, 1, data), kPlain, 0x22, 1), data);

  ReaderModel model = ModelWith(MakeTransponder(2), kReversed);
  EXPECT_EQ(Exchange(model, 0x29, {1, 2, 3, 4, 5, 6, 7, 8}).data, (Bytes{8, 7, 6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(model.CurrentTransponder()->uid, (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(LegacyCommands, UniqueCodeOfType3) {
  Transponder transponder = MakeTransponder(3);
  transponder.uid = {0x9A, 0x78, 0x56, 0x34, 0x12, 0xEE, 0xEE, 0xEE};
  ReaderModel model = ModelWith(transponder, kEmCode);
  EXPECT_EQ(Exchange(model, 0x39, {}).code, kStatusOk);
  EXPECT_EQ(Exchange(model, 0x10, {}).data, (Bytes{0x9A, 0x78, 0x56, 0x34, 0x12}));
  // Header of nine ones, rows 1 to A with their parity, column parity, stop bit.
  EXPECT_EQ(Exchange(model, 0x34, {}).data,
            (Bytes{0xFF, 0x8C, 0xA6, 0x4A, 0x98, 0xF8, 0xCA, 0x96}));
  ReaderModel empty;
  EXPECT_EQ(Exchange(empty, 0x39, {}).code, kStatusNoTransponder);
}

TEST(LegacyCommands, WholeReadsAndWrites) {
  for (const auto& [type, read] :
       {std::pair{2, 0x28}, std::pair{4, 0x48}, std::pair{12, 0x48}, std::pair{5, 0x58}}) {
    ReaderModel model = ModelWith(MakeTransponder(type), kPlain);
    const uint8_t write = static_cast<uint8_t>(read + 1);
    EXPECT_EQ(Exchange(model, write, {5, 6, 7, 8, 9}).data, (Bytes{5, 6, 7, 8, 9})) << type;
    EXPECT_EQ(Exchange(model, static_cast<uint8_t>(read), {}).data, (Bytes{5, 6, 7, 8, 9})) << type;
    EXPECT_EQ(Exchange(model, write, {}).code, kStatusBadParameter) << type;
  }
}

TEST(LegacyCommands, Type10SubCommands) {
  Transponder transponder = MakeTransponder(10);
  transponder.configRecord = {0xC0, 0xF1};
  ReaderModel model = ModelWith(transponder, kPlain);
  EXPECT_EQ(Exchange(model, 0xB0, {0, 2}).data, transponder.uid);
  EXPECT_EQ(Exchange(model, 0xB0, {0, 20, 7, 1, 2, 3, 4}).code, kStatusOk);
  EXPECT_EQ(Exchange(model, 0xB0, {0, 20, 8, 5, 6, 7, 8}).code, kStatusOk);
  EXPECT_EQ(Exchange(model, 0xB0, {0, 18, 7, 1}).data, (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(Exchange(model, 0xB0, {0, 23}).data, (Bytes{0xC0, 0xF1}));
  EXPECT_EQ(Exchange(model, 0xB0, {0, 18, 0, 255}).code, kStatusBadParameter);  // 1024 bytes
  EXPECT_EQ(Exchange(model, 0xB0, {1, 2}).code, kStatusBadParameter);
}

TEST(LegacyCommands, SpecialBlockWrite) {
  ReaderModel model = ModelWith(MakeTransponder(8), kPlain);
  EXPECT_EQ(Exchange(model, 0xA8, {1, 2, 3, 4}).code, kStatusOk);
  EXPECT_EQ(Exchange(model, 0xA2, {14}).data, (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(Exchange(model, 0xA8, {1, 2, 3}).code, kStatusBadParameter);
}

TEST(LegacyCommands, PieceFillsBlocksOfOtherSizes) {
  ReaderModel model11 = ModelWith(MakeTransponder(11), kPlain);
  EXPECT_EQ(Exchange(model11, 0x01, {3, 0xAA, 0xBB, 0xCC, 0xDD}).code, kStatusOk);
  EXPECT_EQ(Exchange(model11, 0x02, {3}).data, (Bytes{0xAA}));
  EXPECT_EQ(Exchange(model11, 0x02, {4}).data, (Bytes{0x00}));
}

}  // namespace
}  // namespace kxemu
