#include "unique_code.h"

#include <bit>

namespace kxemu::detail {

std::array<uint8_t, 8> EncodeUniqueCode(const std::array<uint8_t, 5>& data) {
  uint64_t value = 0;
  for (int i = 4; i >= 0; --i)
    value = (value << 8) | data[i];

  uint64_t word = uint64_t{0x1FF} << 55;
  uint64_t columns = 0;
  for (int row = 0; row < 10; ++row) {
    const uint64_t nibble = (value >> (4 * row)) & 0xF;
    const uint64_t parity = std::popcount(nibble) & 1;
    word |= ((nibble << 1) | parity) << (5 * (row + 1));
    columns ^= nibble;
  }
  word |= columns << 1;

  std::array<uint8_t, 8> code{};
  for (int i = 0; i < 8; ++i)
    code[i] = static_cast<uint8_t>(word >> (56 - 8 * i));
  return code;
}

}  // namespace kxemu::detail
