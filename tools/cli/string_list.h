// The string lists of the SDK's list calls, taken apart.
#pragma once

#include <string>
#include <vector>

namespace kx::cli {

// Calls `entryPoint` with the interface dialog's buffer size; its entries in order.
std::vector<std::string> ReadStringList(int (*entryPoint)(char*, int));

}  // namespace kx::cli
