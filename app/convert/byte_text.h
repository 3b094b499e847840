// Hex digits and the two ways of turning bytes into text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "convert/data_format.h"

namespace kx::convert {

constexpr uint8_t kNotAHexDigit = 0xFF;

// 0..15 for "0".."9", "A".."F", "a".."f"; kNotAHexDigit for every other character.
uint8_t HexDigitValue(char character);
bool IsHexDigit(char character);
bool IsDecimalDigit(char character);

// The upper-case hex digit of the low four bits of value.
char HexDigitChar(unsigned value);

// The byte of two hex digits. A non-hex character keeps its value 0xFF: in the low position it
// makes the byte 0xFF, in the high position 0xF0 OR the low digit.
uint8_t HexPairValue(char high, char low);

enum class ByteTextMode {
  kHex,         // two upper-case hex digits per byte
  kCharacters,  // each byte as the character with that code
};

// Hex mode: the first min(count, size) bytes, separated by one blank when `separator` is set.
// Character mode: every byte as a character, then cut to the first count characters.
// A negative count counts as 0.
std::string FormatBytes(const Bytes& bytes, int count, ByteTextMode mode, bool separator = false);

Bytes ReverseBytes(Bytes buffer);

}  // namespace kx::convert
