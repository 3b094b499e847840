// Signed 64-bit decimal numbers in the write text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kx::convert {

// Leading white space and one sign are accepted; parsing stops at the first non-digit; a text
// without digits gives 0; overflow saturates at the signed 64-bit limits.
int64_t ParseDecimal(std::string_view text);

std::string FormatDecimal(int64_t value);

// Whether v fits into n bytes as an unsigned number. Negative values always pass (they are sent
// in two's complement), and so does every value for n >= 8.
bool ValueFitsBytes(int64_t value, int n);

}  // namespace kx::convert
