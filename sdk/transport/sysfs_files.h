// Reading sysfs-style trees without exceptions: the SDK's list and check calls must not throw
// through the C entry points when a device vanishes while its folder is read.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace kxlf {

// The first line of an attribute file; empty when it cannot be read.
inline std::string FirstLine(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// The paths in a folder; none when it cannot be read.
inline std::vector<std::filesystem::path> FolderEntries(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> entries;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error))
    entries.push_back(it->path());
  return entries;
}

}  // namespace kxlf
