#include "kxemu/request_stream.h"

#include <gtest/gtest.h>

#include <random>

namespace kxemu {
namespace {

using kxlf::BuildFrame;
using kxlf::Bytes;
using kxlf::FrameMode;

const Bytes kVersionXor = {0x02, 0x01, 0xF0, 0x00, 0xF1};
const Bytes kVersionCrc = {0x01, 0xF0, 0x00, 0x64, 0x00};

std::vector<Request> Feed(RequestStream& stream, const Bytes& bytes) {
  stream.Push(bytes.data(), bytes.size());
  std::vector<Request> requests;
  while (std::optional<Request> request = stream.Next())
    requests.push_back(*request);
  return requests;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(RequestStream, TellsTheFrameModesApart) {
  RequestStream stream;
  const std::vector<Request> requests = Feed(stream, Concat({kVersionXor, kVersionCrc}));
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].mode, FrameMode::kXor);
  EXPECT_EQ(requests[0].frame, kVersionXor);
  EXPECT_EQ(requests[1].mode, FrameMode::kCrc16);
  EXPECT_EQ(requests[1].frame, kVersionCrc);
  EXPECT_EQ(requests[1].decoded.code, 0xF0);
}

TEST(RequestStream, CrcFrameToAddressTwoIsNotMistakenForStartByte) {
  RequestStream stream;
  const Bytes frame = BuildFrame(FrameMode::kCrc16, 2, 0xC2, Bytes{33, 2, 2});
  const std::vector<Request> requests = Feed(stream, frame);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].mode, FrameMode::kCrc16);
  EXPECT_EQ(requests[0].decoded.address, 2);
}

TEST(RequestStream, WaitsForEveryByteOfASplitFrame) {
  const Bytes frame = BuildFrame(FrameMode::kXor, 1, 0xC3, Bytes{33, 1, 1, 2, 3, 4, 5, 6, 7, 8});
  for (size_t split = 1; split < frame.size(); ++split) {
    RequestStream stream;
    EXPECT_TRUE(Feed(stream, Bytes(frame.begin(), frame.begin() + split)).empty()) << split;
    const std::vector<Request> requests = Feed(stream, Bytes(frame.begin() + split, frame.end()));
    ASSERT_EQ(requests.size(), 1u) << split;
    EXPECT_EQ(requests[0].frame, frame);
  }
}

TEST(RequestStream, DropsNoiseAheadOfAFrame) {
  // Noise whose would-be length bytes announce long frames must not hold the real one back.
  for (const Bytes& noise : {Bytes{0x00, 0xFF}, Bytes{0xFF, 0xFF, 0xFF}, Bytes{0x02, 0x02, 0x02},
                             Bytes{0x02, 0x01, 0xF0, 0x00, 0x00}}) {
    RequestStream stream;
    const std::vector<Request> requests = Feed(stream, Concat({noise, kVersionXor}));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].frame, kVersionXor);
    EXPECT_EQ(stream.PendingBytes(), 0u);
  }
}

TEST(RequestStream, BadChecksumFrameIsSkipped) {
  Bytes broken = BuildFrame(FrameMode::kCrc16, 1, 0xF4, Bytes{1});
  broken.back() ^= 0x01;
  RequestStream stream;
  const std::vector<Request> requests = Feed(stream, Concat({broken, kVersionCrc}));
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].frame, kVersionCrc);
}

TEST(RequestStream, GarbageDoesNotPileUp) {
  std::mt19937 random(7);
  RequestStream stream;
  Bytes garbage(5000);
  for (uint8_t& byte : garbage)
    byte = static_cast<uint8_t>(random());
  Feed(stream, garbage);
  // Nothing older than the longest possible frame can still become one.
  EXPECT_LE(stream.PendingBytes(), kxlf::kMaxFrameData + kxlf::kFrameOverhead);
  const std::vector<Request> requests = Feed(stream, kVersionXor);
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().frame, kVersionXor);
}

}  // namespace
}  // namespace kxemu
