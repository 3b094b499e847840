#include "link/unique_code.h"

#include <gtest/gtest.h>

#include <bit>
#include <string>

namespace kxlf {
namespace {

// Builds a code from its bits as they travel, written independently of the encoder.
CUniqueDaten::Code CodeFromBits(const std::string& bits) {
  CUniqueDaten::Code code{};
  size_t i = 0;
  for (char bit : bits) {
    if (bit == ' ')
      continue;
    if (bit == '1')
      code[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
    ++i;
  }
  EXPECT_EQ(i, 64u);
  return code;
}

// Header, rows 1 to A with even parity, column parity 1011 (XOR of 1..A), stop bit.
const std::string kBits12345678 =
    "111111111 00011 00101 00110 01001 01010 01100 01111 10001 10010 10100 1011 0";

Bytes Bits(const std::string& bits) {
  const auto code = CodeFromBits(bits);
  return Bytes(code.begin(), code.end());
}

uint64_t Word(const CUniqueDaten::Code& code) {
  uint64_t word = 0;
  for (uint8_t b : code)
    word = (word << 8) | b;
  return word;
}

Bytes FromWord(uint64_t word) {
  Bytes bytes;
  for (int shift = 56; shift >= 0; shift -= 8)
    bytes.push_back(static_cast<uint8_t>(word >> shift));
  return bytes;
}

TEST(UniqueCode, DecodesTheDigitsOneToA) {
  const auto value = CUniqueDaten(Bits(kBits12345678)).Decode();
  ASSERT_TRUE(value);
  EXPECT_EQ(*value, (CUniqueDaten::Value{0x9A, 0x78, 0x56, 0x34, 0x12}));
}

TEST(UniqueCode, EncodesFiveBytesIntoTheSameLayout) {
  const CUniqueDaten encoded(Bytes{0x9A, 0x78, 0x56, 0x34, 0x12});
  EXPECT_EQ(encoded.code(), CodeFromBits(kBits12345678));
}

TEST(UniqueCode, EncodingAndDecodingAreInverse) {
  for (const Bytes& value :
       {Bytes{0, 0, 0, 0, 0}, Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
        Bytes{0x01, 0x80, 0x7F, 0xFE, 0x10}, Bytes{0xF0, 0x0F, 0xA5, 0x5A, 0xC3}}) {
    const auto decoded = CUniqueDaten(value).Decode();
    ASSERT_TRUE(decoded);
    EXPECT_EQ(Bytes(decoded->begin(), decoded->end()), value);
  }
}

TEST(UniqueCode, OnlyEightOrFiveBytesMakeACode) {
  const Bytes code = Bits(kBits12345678);
  const CUniqueDaten taken(code);
  EXPECT_EQ(Bytes(taken.code().begin(), taken.code().end()), code);
  for (size_t size : {0u, 1u, 4u, 6u, 7u, 9u, 16u}) {
    const CUniqueDaten unique(Bytes(size, 0xFF));
    EXPECT_EQ(unique.code(), CUniqueDaten::Code{}) << size;
    EXPECT_FALSE(unique.Decode()) << size;
  }
}

TEST(UniqueCode, FindsTheHeaderWithinFiftySevenRotations) {
  const uint64_t word = Word(CodeFromBits(kBits12345678));
  for (int shift = 1; shift <= 57; ++shift) {
    EXPECT_TRUE(CUniqueDaten(FromWord(std::rotr(word, shift))).Decode()) << shift;
  }
  for (int shift = 58; shift <= 63; ++shift) {
    EXPECT_FALSE(CUniqueDaten(FromWord(std::rotr(word, shift))).Decode()) << shift;
  }
}

TEST(UniqueCode, RejectsDamagedCodes) {
  const uint64_t word = Word(CodeFromBits(kBits12345678));
  const struct {
    const char* what;
    int bit;  // counted from the most significant bit, as transmitted
  } damages[] = {
      {"data bit of the first row", 9},
      {"parity bit of the first row", 13},
      {"data bit of the last row", 54},
      {"parity bit of the last row", 58},
      {"first column parity bit", 59},
      {"last column parity bit", 62},
      {"stop bit", 63},
  };
  for (const auto& damage : damages) {
    const uint64_t damaged = word ^ (uint64_t{1} << (63 - damage.bit));
    EXPECT_FALSE(CUniqueDaten(FromWord(damaged)).Decode()) << damage.what;
  }
  EXPECT_FALSE(CUniqueDaten(Bytes(8, 0xFF)).Decode());
  EXPECT_FALSE(CUniqueDaten().Decode());
}

}  // namespace
}  // namespace kxlf
