// Leading zeros of the write text, and the text's form after a successful write.
#pragma once

#include <string>
#include <string_view>

#include "convert/data_format.h"

namespace kx::convert {

// Removes "0" characters from the front; all zeros leave "0", an empty text stays empty.
std::string StripLeadingZeros(std::string_view text);

// Cuts the text to n characters, then pads it with "0" in front to n characters when
// leadingZeros is set, or strips its leading zeros otherwise. The handler of the check boxes
// "Führende Nullen" and "Zusatztext zulassen" in HexAscii and DecimalAscii.
std::string ApplyLeadingZeros(std::string_view text, int n, bool leadingZeros);

// Right after the blocks were written: a DecimalBinary text loses its leading zeros. The write
// log records the text in this form.
std::string TrimAfterWrite(DataFormat format, std::string_view text);

// After the log line and the beep: the binary formats are shown in upper case.
std::string UpperCaseAfterWrite(DataFormat format, std::string_view text);

}  // namespace kx::convert
