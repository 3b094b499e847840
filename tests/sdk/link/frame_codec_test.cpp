#include "link/frame_codec.h"

#include <gtest/gtest.h>

namespace kxlf {
namespace {

TEST(FrameCodec, BuildsVersionCommandInBothModes) {
  EXPECT_EQ(BuildFrame(FrameMode::kXor, 1, 0xF0, Bytes{}), (Bytes{0x02, 0x01, 0xF0, 0x00, 0xF1}));
  EXPECT_EQ(BuildFrame(FrameMode::kCrc16, 1, 0xF0, Bytes{}), (Bytes{0x01, 0xF0, 0x00, 0x64, 0x00}));
}

TEST(FrameCodec, LengthByteCountsParameters) {
  const Bytes frame = BuildFrame(FrameMode::kXor, 1, 0xF4, Bytes{0x05});
  EXPECT_EQ(frame, (Bytes{0x02, 0x01, 0xF4, 0x01, 0x05, 0x01 ^ 0xF4 ^ 0x01 ^ 0x05}));
}

TEST(FrameCodec, CrcMatchesTheModbusCheckValue) {
  const char* text = "123456789";
  EXPECT_EQ(Crc16Modbus(reinterpret_cast<const uint8_t*>(text), 9), 0x4B37);
}

TEST(FrameCodec, DecodesAnswerAndChecksXor) {
  const Bytes good{0x02, 0x01, 0x00, 0x02, 0xAA, 0xBB, 0x12};
  DecodedFrame frame = DecodeFrame(FrameMode::kXor, good);
  ASSERT_EQ(frame.check, FrameCheck::kOk);
  EXPECT_EQ(frame.code, 0);
  EXPECT_EQ(frame.data, (Bytes{0xAA, 0xBB}));

  Bytes bad = good;
  bad.back() = 0x13;
  EXPECT_EQ(DecodeFrame(FrameMode::kXor, bad).check, FrameCheck::kBadChecksum);
}

TEST(FrameCodec, DecodesCrcFrameAndRejectsAFlippedBit) {
  const Bytes frame = BuildFrame(FrameMode::kCrc16, 7, 0x15, Bytes{1, 2, 3});
  DecodedFrame decoded = DecodeFrame(FrameMode::kCrc16, frame);
  ASSERT_EQ(decoded.check, FrameCheck::kOk);
  EXPECT_EQ(decoded.address, 7);
  EXPECT_EQ(decoded.code, 0x15);
  EXPECT_EQ(decoded.data, (Bytes{1, 2, 3}));
  for (size_t i = 0; i < frame.size(); ++i) {
    if (i == 2)
      continue;  // the length byte: a flip changes the frame's size instead
    Bytes flipped = frame;
    flipped[i] ^= 0x01;
    EXPECT_EQ(DecodeFrame(FrameMode::kCrc16, flipped).check, FrameCheck::kBadChecksum) << i;
  }
}

TEST(FrameCodec, ShortAndTruncatedFramesAreIncomplete) {
  EXPECT_EQ(DecodeFrame(FrameMode::kXor, Bytes{}).check, FrameCheck::kEmpty);
  EXPECT_EQ(DecodeFrame(FrameMode::kXor, Bytes{0x02, 0x01, 0x00, 0x00}).check,
            FrameCheck::kIncomplete);
  EXPECT_EQ(DecodeFrame(FrameMode::kXor, Bytes{0x02, 0x01, 0x00, 0x03, 0xAA, 0xBB, 0x00}).check,
            FrameCheck::kIncomplete);
}

TEST(FrameCodec, BytesAfterTheFrameAreNotPayload) {
  Bytes received = BuildFrame(FrameMode::kXor, 1, 0, Bytes{0x10, 0x20});
  received.insert(received.end(), {0x99, 0x98});
  DecodedFrame frame = DecodeFrame(FrameMode::kXor, received);
  ASSERT_EQ(frame.check, FrameCheck::kOk);
  EXPECT_EQ(frame.data, (Bytes{0x10, 0x20}));
  EXPECT_EQ(frame.frameSize, 7u);
}

TEST(FrameCodec, FullLengthFrameRoundTrips) {
  Bytes data(kMaxFrameData);
  for (size_t i = 0; i < data.size(); ++i)
    data[i] = static_cast<uint8_t>(i * 7);
  for (FrameMode mode : {FrameMode::kXor, FrameMode::kCrc16}) {
    const Bytes frame = BuildFrame(mode, 3, 0xC3, data);
    EXPECT_EQ(frame.size(), data.size() + kFrameOverhead);
    EXPECT_EQ(DecodeFrame(mode, frame).data, data);
  }
}

}  // namespace
}  // namespace kxlf
