// Version numbers of the version file and of the installed program, and how they compare.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kx::update {

// Major and minor number joined by the first "." (when it is not the first character):
// major * 1000 + minor, each from its leading digits (none count 0). Without such a "." the whole
// text is the major number. So "1.13" is 1013 and newer than "1.2", which is 1002.
uint64_t VersionNumber(std::string_view text);

// The installed version as the check shows and compares it: "-.--" for a missing version or one
// of 20 characters or more; one blank appended to one shorter than 4 characters.
std::string InstalledVersionText(std::string_view productVersion);

}  // namespace kx::update
