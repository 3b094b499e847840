// Status bytes that the emulated reader puts into its answers. Reader status values share their
// number space with the host library's own error codes, so the emulator's refusals stay below
// the range those codes use and can be told apart in tests. The host library names the "no
// transponder" status itself, so its number comes from there.
#pragma once

#include <cstdint>

#include "link/error_codes.h"

namespace kxemu {

constexpr uint8_t kStatusOk = 0;
constexpr uint8_t kStatusUnknownCommand = 1;
constexpr uint8_t kStatusBadParameter = 2;  // wrong parameter count or value
constexpr uint8_t kStatusBlockLocked = 3;   // a write touched a locked block; nothing written
constexpr uint8_t kStatusBlockRange = 4;    // blocks beyond the transponder's memory
// None in the field, or not of the asked type.
constexpr uint8_t kStatusNoTransponder = kxlf::kStatusNoTransponder;

}  // namespace kxemu
