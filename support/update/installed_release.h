// The release that is running: the version it was built as and the date of the program file.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace kx::update {

struct InstalledRelease {
  std::string version;  // as InstalledVersionText gives it
  std::string build;    // "%Y-%m-%d" in local time
};

// The date as the version file writes builds: "%Y-%m-%d" in local time.
std::string BuildDateText(std::chrono::system_clock::time_point time);

// The project version of this build and the modification date of the running executable (empty
// when the file cannot be read).
InstalledRelease RunningRelease();

}  // namespace kx::update
