// The names by which the command line picks a transponder type and a data format.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "convert/data_format.h"

namespace kx::cli {

// A short name ("ti-multipage"), the main window's button label ("TI Multi Page") in any letter
// case, or the index 0..7.
std::optional<int> ParseTransponderType(std::string_view text);
// A short name ("hex-binary"), the main window's label ("Hexadezimalzahl binär") in any letter
// case, or the index 0..5.
std::optional<convert::DataFormat> ParseDataFormat(std::string_view text);

std::string_view TypeName(int typeIndex);
// A reader's type code as three upper-case hex digits ("054").
std::string TypeCodeText(int typeCode);
std::string_view FormatName(convert::DataFormat format);

}  // namespace kx::cli
