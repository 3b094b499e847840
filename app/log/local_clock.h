// Where the time stamps of log lines come from. The program uses the system's local time; tests
// and tools may pass a clock of their own.
#pragma once

#include <ctime>
#include <functional>

namespace kx::log {

using LocalClock = std::function<std::tm()>;

// The current local date and time of the system.
std::tm SystemLocalTime();

}  // namespace kx::log
