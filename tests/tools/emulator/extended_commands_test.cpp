// The extended command set 0xC0 to 0xC4 against transponders in the field.
#include <gtest/gtest.h>

#include "kxemu/reader_model.h"
#include "kxemu/status_codes.h"
#include "model_exchange.h"

namespace kxemu {
namespace {

using testing::Exchange;
using testing::ModelWith;

Transponder Numbered(int type, size_t blocks = 0) {
  Transponder transponder = MakeTransponder(type, blocks);
  for (size_t i = 0; i < transponder.memory.size(); ++i) {
    transponder.memory[i] = static_cast<uint8_t>(i);
  }
  return transponder;
}

Bytes Range(size_t first, size_t count) {
  Bytes bytes;
  for (size_t i = first; i < first + count; ++i)
    bytes.push_back(static_cast<uint8_t>(i));
  return bytes;
}

TEST(ExtendedCommands, FieldAndTypeDecideWhoAnswers) {
  ReaderModel empty;
  EXPECT_EQ(Exchange(empty, 0xC0, {33, 0}).code, kStatusNoTransponder);
  EXPECT_EQ(Exchange(empty, 0xC2, {33, 0, 1}).code, kStatusNoTransponder);

  ReaderModel model = ModelWith(Numbered(33));
  const kxlf::DecodedFrame uid = Exchange(model, 0xC0, {33, 0});
  EXPECT_EQ(uid.code, kStatusOk);
  EXPECT_EQ(uid.data, model.CurrentTransponder()->uid);
  EXPECT_EQ(Exchange(model, 0xC0, {34, 0}).code, kStatusNoTransponder);
  EXPECT_EQ(Exchange(model, 0xC2, {38, 0, 1}).code, kStatusNoTransponder);
  EXPECT_EQ(Exchange(model, 0xC2, {33, 0}).code, kStatusBadParameter);
}

TEST(ExtendedCommands, BlockReadCountsInTheTypesUnit) {
  ReaderModel model33 = ModelWith(Numbered(33));
  EXPECT_EQ(Exchange(model33, 0xC2, {33, 2, 2}).data, Range(16, 16));
  ReaderModel model38 = ModelWith(Numbered(38));
  EXPECT_EQ(Exchange(model38, 0xC2, {38, 5, 4}).data, Range(20, 16));
  ReaderModel model11 = ModelWith(Numbered(11));
  EXPECT_EQ(Exchange(model11, 0xC2, {11, 0, 3}).data, Range(0, 3));

  EXPECT_EQ(Exchange(model38, 0xC2, {38, 15, 1}).code, kStatusOk);
  EXPECT_EQ(Exchange(model38, 0xC2, {38, 15, 2}).code, kStatusBlockRange);
  EXPECT_EQ(Exchange(model38, 0xC2, {38, 200, 1}).code, kStatusBlockRange);
  EXPECT_EQ(Exchange(model38, 0xC2, {38, 0, 0}).code, kStatusBadParameter);
  // 64 blocks of 4 bytes do not fit into one answer frame.
  ReaderModel large = ModelWith(Numbered(38, 64));
  EXPECT_EQ(Exchange(large, 0xC2, {38, 0, 64}).code, kStatusBadParameter);
}

TEST(ExtendedCommands, BlockWriteHonoursLocks) {
  ReaderModel model = ModelWith(MakeTransponder(9));
  // Type 9 carries the lock request in bit 0x80 of the block byte.
  EXPECT_EQ(Exchange(model, 0xC3, {9, 0x85, 1, 2, 3, 4}).code, kStatusOk);
  EXPECT_EQ(Exchange(model, 0xC2, {9, 5, 1}).data, (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(Exchange(model, 0xC3, {9, 4, 9, 9, 9, 9, 8, 8, 8, 8}).code, kStatusBlockLocked);
  EXPECT_EQ(Exchange(model, 0xC2, {9, 4, 2}).data, (Bytes{0, 0, 0, 0, 1, 2, 3, 4}));
  EXPECT_EQ(Exchange(model, 0xC3, {9, 6, 1, 2, 3}).code, kStatusBadParameter);

  // For type 33 the same bit is part of the block number.
  ReaderModel model33 = ModelWith(MakeTransponder(33, 200));
  EXPECT_EQ(Exchange(model33, 0xC3, {33, 0x85, 1, 2, 3, 4, 5, 6, 7, 8}).code, kStatusOk);
  EXPECT_FALSE(IsLocked(*model33.CurrentTransponder(), 0x85));
  EXPECT_EQ(Exchange(model33, 0xC2, {33, 0x85, 1}).data, (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(ExtendedCommands, WholeWriteSelectsOrReplacesTheIdentity) {
  ReaderModel sic = ModelWith(MakeTransponder(38));
  const Bytes uid = sic.CurrentTransponder()->uid;
  Bytes select = {38};
  select.insert(select.end(), uid.begin(), uid.end());
  const kxlf::DecodedFrame selected = Exchange(sic, 0xC1, select);
  EXPECT_EQ(selected.code, kStatusOk);
  EXPECT_TRUE(selected.data.empty());
  select.back() ^= 1;
  EXPECT_EQ(Exchange(sic, 0xC1, select).code, kStatusNoTransponder);

  ReaderModel ti = ModelWith(MakeTransponder(33));
  const Bytes identity = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(Exchange(ti, 0xC1, {33, 1, 2, 3, 4, 5, 6, 7, 8}).data, identity);
  EXPECT_EQ(Exchange(ti, 0xC0, {33, 0}).data, identity);
}

TEST(ExtendedCommands, LongBlockNumbersOfType15) {
  ReaderModel model = ModelWith(Numbered(15));
  // 2-byte blocks: block 200 starts at byte 400.
  Bytes expected;
  for (size_t i = 400; i < 408; ++i)
    expected.push_back(static_cast<uint8_t>(i));
  EXPECT_EQ(Exchange(model, 0xC4, {15, 2, 0xC8, 0x00, 4, 0}).data, expected);
  EXPECT_EQ(Exchange(model, 0xC4, {15, 13, 0x2C, 0x01}).data,
            (Bytes{static_cast<uint8_t>(600), static_cast<uint8_t>(601)}));
  EXPECT_EQ(Exchange(model, 0xC2, {15, 100, 4}).data.size(), 8u);
  EXPECT_EQ(Exchange(model, 0xC4, {15, 14, 0x7F, 0x02, 0xAB, 0xCD}).code, kStatusOk);
  EXPECT_EQ(Exchange(model, 0xC4, {15, 13, 0x7F, 0x02}).data, (Bytes{0xAB, 0xCD}));
  EXPECT_EQ(Exchange(model, 0xC4, {15, 13, 0x80, 0x02}).code, kStatusBlockRange);
  EXPECT_EQ(Exchange(model, 0xC4, {15, 99}).code, kStatusBadParameter);
}

TEST(ExtendedCommands, SpecialBlockOfTypes8And16) {
  Transponder transponder = MakeTransponder(16);
  ReaderModel model = ModelWith(transponder);
  EXPECT_EQ(Exchange(model, 0xC4, {16, 3, 0xA1, 0xA2, 0xA3, 0xA4}).code, kStatusOk);
  EXPECT_EQ(Exchange(model, 0xC2, {16, 14, 1}).data, (Bytes{0xA1, 0xA2, 0xA3, 0xA4}));
  EXPECT_EQ(Exchange(model, 0xC4, {16, 3, 1, 2, 3}).code, kStatusBadParameter);
  transponder.locked[14] = true;
  model.SetTransponder(transponder);
  EXPECT_EQ(Exchange(model, 0xC4, {16, 3, 1, 2, 3, 4}).code, kStatusBlockLocked);
}

TEST(ExtendedCommands, ConfigurationRecordsAndChipByte) {
  Transponder type10 = MakeTransponder(10);
  type10.configRecord = {9, 8, 7};
  ReaderModel model10 = ModelWith(type10);
  EXPECT_EQ(Exchange(model10, 0xC4, {10, 23, 0}).data, (Bytes{9, 8, 7}));

  Transponder sic = MakeTransponder(38);
  sic.ctune = 77;
  ReaderModel sicModel = ModelWith(sic);
  const kxlf::DecodedFrame record = Exchange(sicModel, 0xC4, {38, 2});
  ASSERT_GE(record.data.size(), 9u);
  EXPECT_EQ(record.data[8], 77);

  // Codes 35 and 37 reach the same configuration byte of an HDX+ chip.
  ReaderModel hdx = ModelWith(MakeTransponder(35));
  EXPECT_EQ(Exchange(hdx, 0xC4, {35, 1}).data, (Bytes{0}));
  EXPECT_EQ(Exchange(hdx, 0xC4, {35, 2, 0xA5}).code, kStatusOk);
  EXPECT_EQ(Exchange(hdx, 0xC4, {37, 1}).data, (Bytes{0xA5}));
  EXPECT_EQ(Exchange(hdx, 0xC4, {36, 1}).code, kStatusBadParameter);
  EXPECT_EQ(Exchange(model10, 0xC4, {35, 1}).code, kStatusNoTransponder);
}

double MeasuredHz(ReaderModel& model, uint8_t ctune, uint8_t apply, uint8_t setting) {
  const kxlf::DecodedFrame answer = Exchange(model, 0xC4, {38, 1, ctune, apply, setting, 0});
  EXPECT_EQ(answer.code, kStatusOk);
  if (answer.data.size() != 2)
    return 0;
  return 2048000000.0 / (answer.data[0] | (answer.data[1] << 8));
}

TEST(ExtendedCommands, FrequencyFollowsCtuneAndSetting) {
  ReaderModel model = ModelWith(MakeTransponder(38));
  double previous = MeasuredHz(model, 0, 1, 0);
  for (int ctune = 8; ctune <= 128; ctune += 8) {
    const double frequency = MeasuredHz(model, static_cast<uint8_t>(ctune), 1, 0);
    EXPECT_LT(frequency, previous) << ctune;
    EXPECT_LT(MeasuredHz(model, static_cast<uint8_t>(ctune), 1, 1), frequency) << ctune;
    previous = frequency;
  }
  // Applying stores the value in the chip; without apply the chip's own value is measured.
  EXPECT_EQ(model.CurrentTransponder()->ctune, 128);
  EXPECT_DOUBLE_EQ(MeasuredHz(model, 5, 0, 0), previous);
  EXPECT_EQ(Exchange(model, 0xC4, {38, 1, 50, 1, 2, 0}).code, kStatusBadParameter);

  // The default chip can be tuned into both target windows of the tuning tool at one value.
  const double at61 = MeasuredHz(model, 61, 1, 0);
  EXPECT_GE(at61, 134400);
  EXPECT_LE(at61, 134800);
  const double at61Setting1 = MeasuredHz(model, 61, 1, 1);
  EXPECT_GE(at61Setting1, 122200);
  EXPECT_LE(at61Setting1, 126200);
}

// Chips that the tuning tool cannot tune: a detuned coil, a measurement that wobbles, and
// measurements that fail on request.
TEST(ExtendedCommands, MeasurementsMisbehaveAsAsked) {
  Transponder detuned = MakeTransponder(38);
  detuned.circuit.frequencyScale = 1.05;
  ReaderModel typical = ModelWith(MakeTransponder(38));
  ReaderModel high = ModelWith(detuned);
  EXPECT_NEAR(MeasuredHz(high, 61, 1, 0) / MeasuredHz(typical, 61, 1, 0), 1.05, 0.001);

  Transponder unsteady = MakeTransponder(38);
  unsteady.measurementFaults.unsteadyHz = 60;
  ReaderModel wobbling = ModelWith(unsteady);
  const double first = MeasuredHz(wobbling, 61, 1, 0);
  const double second = MeasuredHz(wobbling, 61, 1, 0);
  EXPECT_NEAR(first - second, 120, 20);
  EXPECT_NEAR(MeasuredHz(wobbling, 61, 1, 0), first, 1);

  Transponder failing = MakeTransponder(38);
  failing.measurementFaults.failures = 2;
  ReaderModel model = ModelWith(failing);
  EXPECT_EQ(Exchange(model, 0xC4, {38, 1, 70, 1, 0, 0}).code, kStatusNoTransponder);
  EXPECT_EQ(Exchange(model, 0xC4, {38, 1, 70, 1, 0, 0}).code, kStatusNoTransponder);
  EXPECT_EQ(model.CurrentTransponder()->ctune, 64) << "a failed measurement sends nothing";
  EXPECT_GT(MeasuredHz(model, 70, 1, 0), 130000);
  EXPECT_EQ(model.CurrentTransponder()->ctune, 70);

  Transponder silent = MakeTransponder(38);
  silent.measurementFaults.withoutFrequency = true;
  ReaderModel noFrequency = ModelWith(silent);
  const kxlf::DecodedFrame answer = Exchange(noFrequency, 0xC4, {38, 1, 80, 1, 0, 0});
  EXPECT_EQ(answer.code, kStatusOk);
  EXPECT_EQ(answer.data.size(), 1u);
  EXPECT_EQ(noFrequency.CurrentTransponder()->ctune, 80);
}

}  // namespace
}  // namespace kxemu
