// The output format of the SDK's list calls: each entry followed by a NUL byte, one more NUL
// byte after the last entry.
#pragma once

#include <string>
#include <vector>

namespace kxlf {

// Writes the entries in order while each one still leaves room for its own NUL and the final
// one (length + 2); the first entry that does not fit ends the list. Returns the bytes written,
// final NUL included, so an empty list gives 1. A null buffer or a size below 1 has no room
// even for the final NUL: nothing is written and the result is 0.
int WriteStringList(const std::vector<std::string>& entries, char* buffer, int bufferSize);

}  // namespace kxlf
