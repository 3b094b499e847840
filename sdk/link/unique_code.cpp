#include "link/unique_code.h"

#include <bit>

namespace kxlf {
namespace {

constexpr int kHeaderBits = 9;
constexpr uint64_t kHeader = 0x1FF;
constexpr int kRows = 10;
// The header may sit anywhere in a code read from the air; this many left rotations are tried
// before the code counts as unreadable.
constexpr int kMaxRotations = 57;

uint8_t Parity4(uint8_t nibble) {
  return static_cast<uint8_t>(std::popcount(nibble) & 1);
}

}  // namespace

CUniqueDaten::CUniqueDaten(const uint8_t* bytes, size_t size) {
  if (size == kCodeSize) {
    for (size_t i = 0; i < kCodeSize; ++i)
      code_[i] = bytes[i];
  } else if (size == kValueSize) {
    Value value;
    for (size_t i = 0; i < kValueSize; ++i)
      value[i] = bytes[i];
    Encode(value);
  }
}

CUniqueDaten::CUniqueDaten(const Bytes& bytes) : CUniqueDaten(bytes.data(), bytes.size()) {}

void CUniqueDaten::Encode(const Value& value) {
  uint64_t v = 0;
  for (size_t i = 0; i < kValueSize; ++i)
    v |= static_cast<uint64_t>(value[i]) << (8 * i);

  uint64_t word = kHeader << 55;
  uint8_t columns = 0;
  for (int i = 0; i < kRows; ++i) {
    const uint8_t nibble = static_cast<uint8_t>((v >> (4 * i)) & 0xF);
    const uint64_t row = static_cast<uint64_t>((nibble << 1) | Parity4(nibble));
    word |= row << (5 * (i + 1));
    columns ^= nibble;
  }
  word |= static_cast<uint64_t>(columns) << 1;

  for (size_t i = 0; i < kCodeSize; ++i) {
    code_[i] = static_cast<uint8_t>(word >> (8 * (kCodeSize - 1 - i)));
  }
}

std::optional<CUniqueDaten::Value> CUniqueDaten::Decode() const {
  uint64_t word = 0;
  for (uint8_t byte : code_)
    word = (word << 8) | byte;

  // The check after the last rotation still counts, so positions 0 to 57 are tried.
  for (int rotations = 0; (word >> 55) != kHeader; ++rotations) {
    if (rotations == kMaxRotations)
      return std::nullopt;
    word = std::rotl(word, 1);
  }

  word <<= kHeaderBits;
  uint64_t v = 0;
  uint8_t columns = 0;
  for (int i = 0; i < kRows; ++i) {
    const uint8_t row = static_cast<uint8_t>(word >> 59);
    word <<= 5;
    const uint8_t nibble = row >> 1;
    if ((row & 1) != Parity4(nibble))
      return std::nullopt;
    columns ^= nibble;
    v |= static_cast<uint64_t>(nibble) << (36 - 4 * i);
  }
  const uint8_t trailer = static_cast<uint8_t>(word >> 59);
  if (trailer != static_cast<uint8_t>(columns << 1))
    return std::nullopt;

  Value value;
  for (size_t i = 0; i < kValueSize; ++i)
    value[i] = static_cast<uint8_t>(v >> (8 * i));
  return value;
}

}  // namespace kxlf
