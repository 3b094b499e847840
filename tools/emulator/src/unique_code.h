// The 64-bit unique code of an EM4100-style read-only transponder, as older readers deliver it.
#pragma once

#include <array>
#include <cstdint>

namespace kxemu::detail {

// Encodes 5 data bytes (least significant first) into the 8 code bytes: 9 header ones, ten rows
// of a nibble and its even parity (most significant nibble first), four column parity bits and
// a stop bit 0, first transmitted bit as the top bit of byte 0.
std::array<uint8_t, 8> EncodeUniqueCode(const std::array<uint8_t, 5>& data);

}  // namespace kxemu::detail
