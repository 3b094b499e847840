// Letter-case-blind comparison of 8-bit texts in the Windows-1252 code page, the code page in
// which the Windows program writes INI files (German umlauts included).
#pragma once

#include <string_view>

namespace kx::ini {

bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace kx::ini
