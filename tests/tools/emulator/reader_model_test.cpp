// The reader-level commands, addressing, frame modes and the injected faults.
#include "kxemu/reader_model.h"

#include <gtest/gtest.h>

#include "kxemu/hid_reports.h"
#include "kxemu/status_codes.h"
#include "model_exchange.h"

namespace kxemu {
namespace {

using namespace std::chrono_literals;
using kxlf::FrameCheck;
using kxlf::FrameMode;
using testing::Exchange;
using testing::Joined;
using testing::Send;

const Bytes kVersionXor = {0x02, 0x01, 0xF0, 0x00, 0xF1};
const Bytes kVersionCrc = {0x01, 0xF0, 0x00, 0x64, 0x00};

TEST(ReaderModel, VersionAnswerInTheRequestsMode) {
  ReaderModel model;
  EXPECT_EQ(Joined(Send(model, kVersionXor)), (Bytes{0x02, 0x01, 0x00, 0x04, '0', '5', '4', 'A',
                                                     0x01 ^ 0x04 ^ '0' ^ '5' ^ '4' ^ 'A'}));
  EXPECT_EQ(Joined(Send(model, kVersionCrc)),
            kxlf::BuildFrame(FrameMode::kCrc16, 1, 0, Bytes{'0', '5', '4', 'A'}));
  model.SetVersionText("2310");
  EXPECT_EQ(Exchange(model, 0xF0, {}).data, (Bytes{'2', '3', '1', '0'}));
}

TEST(ReaderModel, ReaderCommandsCheckTheirParameters) {
  ReaderModel model;
  for (uint8_t mode : {0, 1, 2, 3, 128, 129, 131}) {
    EXPECT_EQ(Exchange(model, 0xF4, {mode}).code, kStatusOk) << int{mode};
    EXPECT_EQ(model.ReaderMode(), mode);
  }
  for (uint8_t mode : {4, 127, 130, 255}) {
    EXPECT_EQ(Exchange(model, 0xF4, {mode}).code, kStatusBadParameter) << int{mode};
  }
  EXPECT_EQ(model.ReaderMode(), 131);
  EXPECT_EQ(Exchange(model, 0xF4, {}).code, kStatusBadParameter);
  EXPECT_EQ(Exchange(model, 0xFF, {1}).code, kStatusOk);
  EXPECT_EQ(Exchange(model, 0xFF, {2}).code, kStatusOk);
  EXPECT_EQ(Exchange(model, 0xFF, {3}).code, kStatusBadParameter);
  EXPECT_EQ(Exchange(model, 0xF6, {0, 0}).code, kStatusOk);
  EXPECT_EQ(Exchange(model, 0xF6, {0}).code, kStatusBadParameter);
  EXPECT_EQ(Exchange(model, 0x77, {}).code, kStatusUnknownCommand);
}

TEST(ReaderModel, UsbPersonalitySwitchesOnlyWithF6AfterAValidChoice) {
  ReaderModel model;
  Exchange(model, 0xF6, {0, 0});
  EXPECT_FALSE(model.TakePersonalitySwitch()) << "nothing chosen";
  Exchange(model, 0xFF, {3});
  Exchange(model, 0xF6, {0, 0});
  EXPECT_FALSE(model.TakePersonalitySwitch()) << "3 is refused";
  Exchange(model, 0xFF, {1});
  EXPECT_FALSE(model.TakePersonalitySwitch()) << "not before 0xF6";
  Exchange(model, 0xF6, {0, 0});
  EXPECT_EQ(model.TakePersonalitySwitch(), UsbPersonality::kHid);
  EXPECT_FALSE(model.TakePersonalitySwitch()) << "taken once";
  Exchange(model, 0xFF, {2});
  Exchange(model, 0xF6, {0, 0});
  EXPECT_EQ(model.WaitPersonalitySwitch(), UsbPersonality::kVirtualCom);
  model.InterruptPersonalityWait();
  EXPECT_FALSE(model.WaitPersonalitySwitch());
}

TEST(HidReports, FramesTravelInCountedReports) {
  const Bytes frame{1, 2, 3, 4, 5, 6, 7, 8, 9};
  const std::vector<Bytes> reports = InputReports(frame, 9);
  EXPECT_EQ(reports, (std::vector<Bytes>{{7, 1, 2, 3, 4, 5, 6, 7}, {2, 8, 9, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(InputReports(frame, 9, 5)[1][0], 7) << "a count byte that claims more";
  const uint8_t data[9] = {0, 3, 0xAA, 0xBB, 0xCC, 0, 0, 0, 0};
  EXPECT_EQ(ParseOutputReport(data, 9, 9).data, (Bytes{0xAA, 0xBB, 0xCC}));
  EXPECT_EQ(ParseOutputReport(data, 8, 9).kind, OutputReport::Kind::kInvalid) << "short";
  const uint8_t numbered[9] = {1, 3, 0xAA, 0xBB, 0xCC, 0, 0, 0, 0};
  EXPECT_EQ(ParseOutputReport(numbered, 9, 9).kind, OutputReport::Kind::kInvalid);
  const uint8_t control[9] = {0, 0x82, 0x10, 1, 0, 0, 0, 0, 0};
  const OutputReport parsed = ParseOutputReport(control, 9, 9);
  EXPECT_EQ(parsed.kind, OutputReport::Kind::kControl);
  EXPECT_EQ(parsed.controlValue, 1);
  HidIdentity identity;
  identity.serial = "5391-0001";
  identity.inputLength = 33;
  const std::optional<HidIdentity> back = ParseHidIdentity(FormatHidIdentity(identity));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->serial, identity.serial);
  EXPECT_EQ(back->inputLength, 33);
  EXPECT_EQ(back->productId, 0x0C5C);
  EXPECT_FALSE(ParseHidIdentity("vendor=6A7B\n")) << "incomplete";
}

TEST(ReaderModel, OnlyItsOwnAddressIsAnswered) {
  ReaderModel model;
  EXPECT_EQ(Exchange(model, 0xF0, {}, FrameMode::kXor, 2).check, FrameCheck::kEmpty);
  model.SetAddress(2);
  const kxlf::DecodedFrame answer = Exchange(model, 0xF0, {}, FrameMode::kCrc16, 2);
  EXPECT_EQ(answer.check, FrameCheck::kOk);
  EXPECT_EQ(answer.address, 2);
  // Unanswered requests are still on record: tests check what the host sent.
  EXPECT_EQ(model.ReceivedRequests().size(), 2u);
  model.ClearReceivedRequests();
  EXPECT_TRUE(model.ReceivedRequests().empty());
}

TEST(ReaderModel, CrcOnlyReaderIgnoresStartByteRequests) {
  ReaderConfig config;
  config.answersOnlyInCrcMode = true;
  ReaderModel model(config);
  EXPECT_TRUE(Send(model, kVersionXor).empty());
  EXPECT_EQ(kxlf::DecodeFrame(FrameMode::kCrc16, Joined(Send(model, kVersionCrc))).check,
            FrameCheck::kOk);
  EXPECT_EQ(model.ReceivedRequests(), (std::vector<Bytes>{kVersionXor, kVersionCrc}));
}

TEST(ReaderModel, RequestsInOneChunkAreAnsweredInOrder) {
  ReaderModel model;
  Bytes both = kxlf::BuildFrame(FrameMode::kXor, 1, 0xF4, Bytes{9});
  both.insert(both.end(), kVersionCrc.begin(), kVersionCrc.end());
  const Bytes wire = Joined(Send(model, both));
  const kxlf::DecodedFrame first = kxlf::DecodeFrame(FrameMode::kXor, wire);
  ASSERT_EQ(first.check, FrameCheck::kOk);
  EXPECT_EQ(first.code, kStatusBadParameter);
  EXPECT_EQ(kxlf::DecodeFrame(FrameMode::kCrc16, wire.data() + first.frameSize,
                              wire.size() - first.frameSize)
                .data,
            (Bytes{'0', '5', '4', 'A'}));
}

class ReaderModelFaults : public ::testing::Test {
 protected:
  Bytes Clean() {
    model_.SetFaults({});
    return Joined(Send(model_, kVersionXor));
  }
  std::vector<AnswerPiece> With(const Faults& faults) {
    model_.SetFaults(faults);
    return Send(model_, kVersionXor);
  }
  ReaderModel model_;
};

TEST_F(ReaderModelFaults, DelayAndPiecesComeBackWithTheirPauses) {
  const Bytes clean = Clean();
  Faults faults;
  faults.answerDelay = 40ms;
  faults.pieceSize = 4;
  faults.piecePause = 7ms;
  const std::vector<AnswerPiece> pieces = With(faults);
  ASSERT_EQ(pieces.size(), 3u);  // 9 bytes
  EXPECT_EQ(pieces[0].pauseBefore, 40ms);
  EXPECT_EQ(pieces[1].pauseBefore, 7ms);
  EXPECT_EQ(pieces[2].bytes.size(), 1u);
  EXPECT_EQ(Joined(pieces), clean);
}

TEST_F(ReaderModelFaults, FrameIsBentAsAsked) {
  const Bytes clean = Clean();
  Faults faults;
  faults.bytesBeforeFrame = {0x00, 0xFF};
  faults.bytesAfterFrame = {0xEE};
  Bytes expected = {0x00, 0xFF};
  expected.insert(expected.end(), clean.begin(), clean.end());
  expected.push_back(0xEE);
  EXPECT_EQ(Joined(With(faults)), expected);

  faults = {};
  faults.wrongChecksum = true;
  EXPECT_EQ(kxlf::DecodeFrame(FrameMode::kXor, Joined(With(faults))).check,
            FrameCheck::kBadChecksum);

  faults = {};
  faults.truncateTo = 4;
  EXPECT_EQ(Joined(With(faults)), Bytes(clean.begin(), clean.begin() + 4));

  faults = {};
  faults.lengthByteOffset = 1;
  Bytes longer = clean;
  longer[3] = 5;
  EXPECT_EQ(Joined(With(faults)), longer);

  faults = {};
  faults.statusOverride = 21;
  faults.emptyPayloads = true;
  const kxlf::DecodedFrame answer = kxlf::DecodeFrame(FrameMode::kXor, Joined(With(faults)));
  EXPECT_EQ(answer.code, 21);
  EXPECT_TRUE(answer.data.empty());
}

TEST_F(ReaderModelFaults, ForcedPayloadRidesOnEveryAnswerWithItsOwnStatus) {
  Faults faults;
  faults.payloadOverride = Bytes{0x00, 0x00};
  faults.emptyPayloads = true;
  model_.SetFaults(faults);
  for (FrameMode mode : {FrameMode::kXor, FrameMode::kCrc16}) {
    const kxlf::DecodedFrame version = Exchange(model_, 0xF0, {}, mode);
    ASSERT_EQ(version.check, FrameCheck::kOk);
    EXPECT_EQ(version.code, kStatusOk);
    EXPECT_EQ(version.data, (Bytes{0x00, 0x00}));
    const kxlf::DecodedFrame unknown = Exchange(model_, 0x77, {}, mode);
    EXPECT_EQ(unknown.code, kStatusUnknownCommand);
    EXPECT_EQ(unknown.data, (Bytes{0x00, 0x00}));
  }
  // The command still acts; only what it answers is replaced.
  EXPECT_EQ(Exchange(model_, 0xF4, {3}).data, (Bytes{0x00, 0x00}));
  EXPECT_EQ(model_.ReaderMode(), 3);

  faults.payloadOverride = Bytes{};
  faults.emptyPayloads = false;
  model_.SetFaults(faults);
  EXPECT_TRUE(Exchange(model_, 0xF0, {}).data.empty());

  faults.payloadOverride = Bytes(kxlf::kMaxFrameData + 10, 0xA5);
  model_.SetFaults(faults);
  const kxlf::DecodedFrame longest = Exchange(model_, 0xF0, {}, FrameMode::kCrc16);
  ASSERT_EQ(longest.check, FrameCheck::kOk);
  EXPECT_EQ(longest.data, Bytes(kxlf::kMaxFrameData, 0xA5));

  model_.SetFaults({});
  EXPECT_EQ(Exchange(model_, 0xF0, {}).data, (Bytes{'0', '5', '4', 'A'}));
}

TEST_F(ReaderModelFaults, SwallowedRequestsAreNeitherAnsweredNorActedOn) {
  Faults faults;
  faults.silent = true;
  model_.SetFaults(faults);
  EXPECT_TRUE(Send(model_, kxlf::BuildFrame(FrameMode::kXor, 1, 0xF4, Bytes{3})).empty());
  EXPECT_EQ(model_.ReaderMode(), 0);
  EXPECT_EQ(model_.ReceivedRequests().size(), 1u);

  faults = {};
  faults.swallowNext = 2;
  model_.SetFaults(faults);
  EXPECT_TRUE(Send(model_, kVersionXor).empty());
  EXPECT_TRUE(Send(model_, kVersionXor).empty());
  EXPECT_FALSE(Send(model_, kVersionXor).empty());
}

}  // namespace
}  // namespace kxemu
