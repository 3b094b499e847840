// The 64-bit unique code of a read-only transponder (EM4100 layout): 9 header ones, ten rows of
// four data bits each with an even parity bit, four column parity bits and a stop bit 0. The
// first bit on the air is the most significant bit of byte 0. The code carries a 40-bit value
// whose most significant nibble travels in the first row.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "link/frame_codec.h"

namespace kxlf {

// Common base of the data formats; it carries nothing itself.
class CFormat {};

class CUniqueDaten : public CFormat {
 public:
  static constexpr size_t kCodeSize = 8;
  static constexpr size_t kValueSize = 5;
  using Code = std::array<uint8_t, kCodeSize>;
  using Value = std::array<uint8_t, kValueSize>;  // least significant byte first

  CUniqueDaten() = default;
  // 8 bytes are the code itself, 5 bytes a value to encode; any other length gives the all-zero
  // code, which does not decode.
  CUniqueDaten(const uint8_t* bytes, size_t size);
  explicit CUniqueDaten(const Bytes& bytes);

  void Encode(const Value& value);
  // The value, or nothing when the code has no header, a row parity, a column parity or the
  // stop bit is wrong.
  std::optional<Value> Decode() const;

  const Code& code() const { return code_; }

 private:
  Code code_{};
};

}  // namespace kxlf
