// Diagnostic texts of the SDK. They go to standard error only when the environment variable
// KXLF_DEBUG is set (to anything but "0"), so a user can send a trace without a debug build.
#pragma once

#include <string>

namespace kxlf {

void DebugLog(const std::string& text);

}  // namespace kxlf
