// The automatic increment of the write text after a successful write.
#pragma once

#include <string>
#include <string_view>

#include "convert/data_format.h"

namespace kx::convert {

// With extra text allowed, only the digit run between the prefix and the suffix counts. Hex
// formats count up in hex within the run's length, decimal formats as a signed 64-bit number
// with wrap-around; the data formats stay as they are. leadingZerosTicked pads a DecimalAscii
// number with "0" so that the whole text has n characters.
std::string IncrementValue(std::string_view text, DataFormat format, int n, bool extraTextAllowed,
                           bool leadingZerosTicked);

// Counts the hex digits up by one; the run never grows ("FF" becomes "00"). A non-hex character
// becomes "F", or "0" when the carry reaches it (which ends the carry). The result is upper case.
// An empty run stays empty.
std::string IncrementHexDigits(std::string_view digits);

}  // namespace kx::convert
